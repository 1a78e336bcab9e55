#include "frontends/cli/dry_run.h"

#include <cstdio>

#include "frontends/cli/script_delivery.h"
#include "platform/ansi_codec.h"
#include "script/script_lines.h"

namespace inkrun::cli {

namespace {

// The path of the drawing at `place` in the order the scripts open them, as they write it.
std::string writtenPath(const script::PreparedScript& script, std::size_t place) {
    const script::ScriptJob& job = script.job();
    const std::string& drawing = script.drawingAt(place);
    return job.fullPaths ? drawing : platform::joinPath(job.directory, drawing, job.separator);
}

bool chained(const DryRun& dryRun) { return dryRun.batches.front().next.has_value(); }

void printReport(const DryRun& dryRun, std::ostream& out) {
    const BuildSources& sources = dryRun.sources;
    out << "Setup: " << sources.setup.description << '\n';
    if (sources.preamble) out << "Preamble: " << sources.preamble->path << '\n';
    if (sources.epilogue) out << "Epilogue: " << sources.epilogue->path << '\n';
    const std::size_t scripts = dryRun.batches.size();
    if (dryRun.batchSize == 0) {
        out << "Script: " << dryRun.scripts.front() << '\n';
    } else {
        out << "Scripts, " << scripts << " of at most " << dryRun.batchSize << " drawings"
            << (scripts == 1      ? ""
                : chained(dryRun) ? ", each starting the next"
                                  : ", each started by hand")
            << ":\n";
        for (std::size_t i = 0; i < scripts; ++i)
            out << dryRun.scripts[i] << ": drawings " << dryRun.batches[i].first + 1 << " to "
                << dryRun.batches[i].first + dryRun.batches[i].count << '\n';
    }
    for (const std::string& path : dryRun.removes) out << "Removes, left by an earlier run: " << path << '\n';
    const std::size_t count = dryRun.script.drawingCount();
    out << "Drawings, " << (dryRun.script.job().descending ? "dsc" : "asc") << ", " << count;
    if (dryRun.leftOut) out << " after " << dryRun.startAfter << " (" << dryRun.leftOut << " left out)";
    out << (scripts == 1 ? " in the order the script opens them:\n" : " in the order the scripts open them:\n");
    for (std::size_t place = 0; place < count; ++place) out << writtenPath(dryRun.script, place) << '\n';
}

// Every line of each script as the CAD program receives it, after a heading naming the script.
void printBlocks(const DryRun& dryRun, std::ostream& out) {
    const auto printLines = [&](std::string_view bytes) {
        script::forEachLine(bytes, [&](std::size_t, std::string_view line) {
            out << script::withInvisiblesMarked(platform::decodeAnsi(line)) << '\n';
        });
    };
    for (std::size_t i = 0; i < dryRun.batches.size(); ++i) {
        out << "\n==> " << dryRun.scripts[i] << " <==\n";
        std::string pending;
        dryRun.script.write(dryRun.batches[i], [&](std::span<const std::string_view> pieces) {
            for (const std::string_view piece : pieces) pending.append(piece);
            // Whole lines only: a CR at the end may have its LF in the next piece.
            const std::size_t end = pending.rfind('\n');
            if (end == std::string::npos) return;
            printLines(std::string_view(pending).substr(0, end + 1));
            pending.erase(0, end + 1);
        });
        printLines(pending);
    }
}

std::string json(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                quoted += escaped;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

std::string jsonOrNull(const std::string& text) { return text.empty() ? "null" : json(text); }

// A JSON array, one element a line.
template <typename Each>
void printArray(std::ostream& out, const char* name, std::size_t count, Each element, bool last = false) {
    out << "  \"" << name << "\": [";
    for (std::size_t i = 0; i < count; ++i) out << (i ? ",\n    " : "\n    ") << element(i);
    out << (count ? "\n  ]" : "]") << (last ? "\n" : ",\n");
}

void printJson(const DryRun& dryRun, std::ostream& out) {
    const BuildSources& sources = dryRun.sources;
    const script::ScriptJob& job = dryRun.script.job();
    const auto scriptPath = [&](std::size_t i) { return json(dryRun.standardOutput ? "-" : dryRun.scripts[i]); };
    const char* setupSource = sources.setup.source == SetupSource::Slot   ? "slot"
                              : sources.setup.source == SetupSource::File ? "file"
                                                                          : "template";
    out << "{\n"
        << "  \"format\": \"inkrun-build dry run\",\n"
        << "  \"version\": 1,\n"
        << "  \"target\": " << scriptPath(0) << ",\n"
        << "  \"setup\": {\"source\": \"" << setupSource
        << "\", \"slot\": " << (sources.setup.source == SetupSource::Slot ? std::to_string(sources.setup.slot) : "null")
        << ", \"file\": " << jsonOrNull(sources.setup.file.value_or("")) << "},\n"
        << "  \"preamble\": " << jsonOrNull(sources.preamble ? sources.preamble->path : "") << ",\n"
        << "  \"epilogue\": " << jsonOrNull(sources.epilogue ? sources.epilogue->path : "") << ",\n"
        << "  \"order\": \"" << (job.descending ? "dsc" : "asc") << "\",\n"
        << "  \"expand\": " << (job.expand ? "true" : "false") << ",\n"
        << "  \"start_after\": "
        << (dryRun.leftOut
                ? "{\"drawing\": " + json(dryRun.startAfter) + ", \"left_out\": " + std::to_string(dryRun.leftOut) + "}"
                : "null")
        << ",\n";
    printArray(out, "drawings", dryRun.script.drawingCount(),
               [&](std::size_t place) { return json(writtenPath(dryRun.script, place)); });
    printArray(out, "batches", dryRun.batches.size(), [&](std::size_t i) {
        const script::ScriptBatch& batch = dryRun.batches[i];
        return "{\"script\": " + scriptPath(i) + ", \"first\": " + std::to_string(batch.first + 1) +
               ", \"last\": " + std::to_string(batch.first + batch.count) +
               ", \"next\": " + jsonOrNull(batch.next.value_or("")) + "}";
    });
    printArray(out, "removes", dryRun.removes.size(), [&](std::size_t i) { return json(dryRun.removes[i]); });
    printArray(
        out, "warnings", dryRun.warnings.size(),
        [&](std::size_t i) {
            const BuildWarning& warning = dryRun.warnings[i];
            return "{\"kind\": " + json(warning.kind) + ", \"message\": " + json(warning.message) +
                   ", \"path\": " + jsonOrNull(warning.path) +
                   ", \"line\": " + (warning.line ? std::to_string(warning.line) : "null") + "}";
        },
        true);
    out << "}\n";
}

}  // namespace

void printDryRun(const DryRun& dryRun, DryRunFormat format, std::ostream& out) {
    if (format == DryRunFormat::Json) {
        printJson(dryRun, out);
        return;
    }
    printReport(dryRun, out);
    if (format == DryRunFormat::Blocks) printBlocks(dryRun, out);
}

}  // namespace inkrun::cli
