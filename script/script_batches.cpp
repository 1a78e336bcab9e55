#include "script/script_batches.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/file_lookup.h"
#include "script/script_builder.h"

namespace inkrun::script {

namespace {

// The name before its extension, and the extension with its dot.
std::pair<std::string_view, std::string_view> stemAndExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

}  // namespace

std::string numberedScriptName(std::string_view scriptFileName, std::size_t number) {
    const auto [stem, extension] = stemAndExtension(scriptFileName);
    char digits[24];
    std::snprintf(digits, sizeof digits, "_%03zu", number);
    return std::string(stem) + digits + std::string(extension);
}

bool isNumberedScriptOf(std::string_view name, std::string_view scriptFileName) {
    const auto [stem, extension] = stemAndExtension(scriptFileName);
    if (name.size() < stem.size() + extension.size() + 2) return false;
    const std::string_view number = name.substr(stem.size() + 1, name.size() - stem.size() - extension.size() - 1);
    return platform::equalsIgnoringCase(name.substr(0, stem.size()), stem) && name[stem.size()] == '_' &&
           platform::equalsIgnoringCase(name.substr(name.size() - extension.size()), extension) &&
           std::all_of(number.begin(), number.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::vector<ScriptBatch> cutIntoBatches(std::size_t drawings, std::size_t size, const std::string& scriptFileName,
                                        const std::function<std::string(const std::string&)>& reachedAs) {
    if (size == 0 || size > drawings) size = std::max<std::size_t>(drawings, 1);
    const std::size_t count = (drawings + size - 1) / size;
    if (count > kMostScripts)
        throw ScriptRefused("Cannot build: " + std::to_string(drawings) + " drawings in batches of " +
                            std::to_string(size) + " make " + std::to_string(count) + " scripts, more than the " +
                            std::to_string(kMostScripts) + " one run writes; take batches of at least " +
                            std::to_string((drawings + kMostScripts - 1) / kMostScripts) + ". Nothing was written.");
    std::vector<ScriptBatch> batches;
    for (std::size_t i = 0; i < count; ++i) {
        ScriptBatch batch;
        batch.name = i == 0 ? scriptFileName : numberedScriptName(scriptFileName, i + 1);
        batch.first = i * size;
        batch.count = std::min(size, drawings - batch.first);
        batches.push_back(std::move(batch));
    }
    if (reachedAs)
        for (std::size_t i = 0; i + 1 < count; ++i) {
            batches[i].next = reachedAs(batches[i + 1].name);
            checkQuotedPath(*batches[i].next, "the next script's path");
        }
    return batches;
}

}  // namespace inkrun::script
