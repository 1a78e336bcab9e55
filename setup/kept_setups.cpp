#include "setup/kept_setups.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>

#include "platform/file_error.h"
#include "platform/file_io.h"
#include "platform/folder.h"
#include "setup/setup_file.h"

namespace inkrun::setup {

namespace {

constexpr std::string_view kDatedPrefix = "Setup.unsaved_";
constexpr std::string_view kDatedSuffix = ".txt";
constexpr std::size_t kStampLength = 19;  // 2026-12-03_14-05-22

using Seconds = std::chrono::sys_seconds;  // the person's local time, counted as if it were UTC

std::string stampText(Seconds moment) {
    using namespace std::chrono;
    const sys_days day = floor<days>(moment);
    const year_month_day date{day};
    const hh_mm_ss time{moment - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u_%02d-%02d-%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

Seconds secondsOf(const platform::LocalTime& t) {
    using namespace std::chrono;
    const sys_days day = year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                                        std::chrono::day{static_cast<unsigned>(t.day)}};
    return day + hours{t.hour} + minutes{t.minute} + seconds{t.second};
}

// The moment a dated name holds; nullopt for any other name.
std::optional<Seconds> momentOf(std::string_view name) {
    if (name.size() != kDatedPrefix.size() + kStampLength + kDatedSuffix.size() || !name.starts_with(kDatedPrefix) ||
        !name.ends_with(kDatedSuffix))
        return std::nullopt;
    const std::string_view stamp = name.substr(kDatedPrefix.size(), kStampLength);
    int parts[6] = {};
    const std::size_t starts[6] = {0, 5, 8, 11, 14, 17}, lengths[6] = {4, 2, 2, 2, 2, 2};
    for (int i = 0; i < 6; ++i) {
        const char* first = stamp.data() + starts[i];
        const auto [end, error] = std::from_chars(first, first + lengths[i], parts[i]);
        if (error != std::errc() || end != first + lengths[i]) return std::nullopt;
    }
    const platform::LocalTime time{parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
    if (stampText(secondsOf(time)) != stamp) return std::nullopt;  // no such moment, or another spelling
    return secondsOf(time);
}

bool isKeptSetupName(std::string_view name) { return name == kFirstKeptSetupName || momentOf(name).has_value(); }

// The kept setups of a folder, oldest first: "Setup.unsaved.txt" sorts before every dated name.
std::vector<std::string> keptSetupsIn(const platform::Folder& folder) {
    std::vector<std::string> names = folder.ordinaryFiles();
    std::erase_if(names, [](const std::string& name) { return !isKeptSetupName(name); });
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<ToldSetup> toldIn(const platform::Folder& folder) {
    try {
        return toldSetupsIn(platform::readWholeFile(folder, kToldRecordName));
    } catch (const platform::FileError&) {
        return {};  // none yet, or unreadable: then nothing counts as told, and nothing is dropped
    }
}

const ToldSetup* toldAbout(const std::vector<ToldSetup>& told, const std::string& name) {
    const auto found = std::find_if(told.begin(), told.end(), [&](const ToldSetup& t) { return t.name == name; });
    return found == told.end() ? nullptr : &*found;
}

// A name for a setup kept now: after every kept setup, and never one the record still names (the
// person was told about that file, not this one).
std::string nameForNew(const std::vector<std::string>& kept, const std::vector<ToldSetup>& told,
                       const platform::LocalTime& now) {
    if (kept.empty() && !toldAbout(told, kFirstKeptSetupName)) return kFirstKeptSetupName;
    Seconds moment = secondsOf(now);
    const auto takeAfter = [&](const std::string& name) {
        if (const auto earlier = momentOf(name); earlier && *earlier >= moment)
            moment = *earlier + std::chrono::seconds(1);
    };
    for (const std::string& name : kept) takeAfter(name);
    for (const ToldSetup& t : told) takeAfter(t.name);
    return std::string(kDatedPrefix) + stampText(moment) + std::string(kDatedSuffix);
}

ToldSetup toldNow(const platform::Folder& folder, const std::string& name) {
    const auto stamp = folder.stampOf(name);
    return stamp ? ToldSetup{name, stamp->size, stamp->modified} : ToldSetup{name};
}

}  // namespace

std::string keepSetup(const std::string& folderPath, const std::string& text, const platform::LocalTime& now,
                      bool makeFolder) {
    // Whatever fails before the write is said of the file that was to be written.
    const auto failure = [&](const platform::FileError& error) {
        return platform::FileError("write", platform::joinPath(folderPath, kFirstKeptSetupName), error.reason());
    };
    std::optional<platform::Folder> opened;
    std::vector<std::string> kept;
    try {
        opened.emplace(makeFolder ? platform::Folder::openMaking(folderPath, "write")
                                  : platform::Folder::open(folderPath, "write"));
        kept = keptSetupsIn(*opened);
    } catch (const platform::FileError& error) {
        throw failure(error);
    }
    const platform::Folder& folder = *opened;
    const std::vector<ToldSetup> told = toldIn(folder);
    const std::string name = nameForNew(kept, told, now);
    writeSetupFile(folder, name, text, UnencodableText::KeepAsUtf8);

    // Room for the new one: the oldest that the person was told about and that is still as it was.
    std::size_t count = kept.size() + 1;
    for (const std::string& old : kept) {
        if (count <= kMostKeptSetups) break;
        const ToldSetup* was = toldAbout(told, old);
        if (!was || !(toldNow(folder, old) == *was)) continue;
        try {
            folder.removeFile(old);
            --count;
        } catch (const platform::FileError&) {
        }
    }
    return folder.pathOf(name);
}

std::vector<std::string> keptSetupsToTell(const std::string& folderPath) {
    std::vector<std::string> untold;
    try {
        const std::optional<platform::Folder> folder = platform::Folder::openIfThere(folderPath, "read");
        if (!folder) return untold;
        const std::vector<std::string> kept = keptSetupsIn(*folder);
        const std::vector<ToldSetup> told = toldIn(*folder);
        std::vector<ToldSetup> record;
        for (const std::string& name : kept) {
            if (const ToldSetup* was = toldAbout(told, name)) {
                record.push_back(*was);
            } else {
                record.push_back(toldNow(*folder, name));
                untold.push_back(folder->pathOf(name));
            }
        }
        if (untold.empty()) return untold;
        platform::AtomicFileWriter writer(*folder, kToldRecordName);
        writer.write(toldRecordText(record));
        writer.commit();
    } catch (const platform::FileError&) {
        // Not recorded: the person is told again at the next start, rather than never.
    } catch (const platform::WrittenWithWarning&) {
    }
    return untold;
}

std::string toldRecordText(const std::vector<ToldSetup>& told) {
    std::string text;
    for (const ToldSetup& t : told)
        text += std::to_string(t.size) + ' ' + std::to_string(t.modified) + ' ' + t.name + "\r\n";
    return text;
}

std::vector<ToldSetup> toldSetupsIn(std::string_view text) {
    std::vector<ToldSetup> told;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.ends_with('\r')) line.remove_suffix(1);
        ToldSetup t;
        const char* at = line.data();
        const char* last = line.data() + line.size();
        auto [afterSize, sizeError] = std::from_chars(at, last, t.size);
        if (sizeError != std::errc() || afterSize == last || *afterSize != ' ') continue;
        auto [afterTime, timeError] = std::from_chars(afterSize + 1, last, t.modified);
        if (timeError != std::errc() || afterTime == last || *afterTime != ' ') continue;
        t.name.assign(afterTime + 1, last);
        if (isKeptSetupName(t.name)) told.push_back(std::move(t));
    }
    return told;
}

}  // namespace inkrun::setup
