// Open Drawing Files at scale: 10,000 drawings picked in a directory of 100,000. Each run
// re-reads the directory, marks the picks and rewrites DefaultFile.txt.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawings/drawing_selection.h"
#include "model/plain_window_state.h"
#include "model/program_settings.h"
#include "model/user_dialogs.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDrawings = 100'000;
constexpr int kPickEvery = 10;

std::string drawingName(int i) {
    char name[32];
    std::snprintf(name, sizeof name, "drawing%06d.dwg", i);
    return name;
}

// Built once for the whole run: creating 100,000 files dominates otherwise.
struct Fixture {
    std::string root;
    std::string drawings;
    std::string settingsDirectory;
    std::vector<std::string> answer;  // the directory, then the picked names

    Fixture() {
        std::string pattern = (fs::temp_directory_path() / "inkrun-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        root = pattern;
        drawings = root + "/drawings";
        settingsDirectory = root + "/settings";
        fs::create_directory(drawings);
        fs::create_directory(settingsDirectory);
        for (int i = 0; i < kDrawings; ++i) std::ofstream(drawings + "/" + drawingName(i));

        answer.push_back(drawings);
        // The dialog lists its picks in its own order, not the list's.
        for (int i = kDrawings - 1; i >= 0; i -= kPickEvery) answer.push_back(drawingName(i));
    }
    ~Fixture() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Fixture& fixture() {
    static Fixture instance;
    return instance;
}

class FixedAnswer : public inkrun::UserDialogs {
public:
    explicit FixedAnswer(std::vector<std::string> parts) : parts_(std::move(parts)) {}
    void showMessage(const std::string&, const std::string&, inkrun::MessageIcon) override {}
    std::optional<std::vector<std::string>> askOpenFiles(const inkrun::FileDialogOptions&) override { return parts_; }
    std::optional<std::string> askOpenFile(const inkrun::FileDialogOptions&) override { return std::nullopt; }
    std::optional<std::string> askSaveFile(const inkrun::FileDialogOptions&) override { return std::nullopt; }

private:
    std::vector<std::string> parts_;
};

void BM_OpenDrawingFiles(benchmark::State& run) {
    Fixture& f = fixture();
    inkrun::ProgramSettings settings;
    settings.scriptSettingsDirectory = f.settingsDirectory;
    FixedAnswer dialogs(f.answer);
    inkrun::PlainWindowState state;

    for (auto _ : run) {
        inkrun::drawings::openDrawingFiles(state, dialogs, settings);
        benchmark::ClobberMemory();
    }

    const std::size_t marked = state.selectedDrawings().size();
    if (marked != f.answer.size() - 1) run.SkipWithError("wrong number of drawings marked");
    run.counters["entries"] = static_cast<double>(state.drawingListEntries().size());
    run.counters["marked"] = static_cast<double>(marked);
}
BENCHMARK(BM_OpenDrawingFiles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
