// Script builder throughput: 1,000 to 100,000 drawings with the built-in setup, streamed into a
// sink that only counts (the builder alone) and saved as a real file (builder, write and sync).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "script/script_builder.h"
#include "setup/default_template.h"

namespace {

namespace fs = std::filesystem;

inkrun::script::ScriptJob templateJob(const std::string& directory, long drawings) {
    inkrun::script::ScriptJob job;
    job.directory = directory;
    job.setupText = inkrun::setup::defaultSetupTemplate();
    job.drawings.reserve(static_cast<std::size_t>(drawings));
    for (long i = 0; i < drawings; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "drawing%06ld.dwg", i);
        job.drawings.emplace_back(name);
    }
    return job;
}

class ScratchDirectory {
public:
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "inkrun-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

void BM_WriteScriptToCountingSink(benchmark::State& run) {
    const auto job = templateJob("/srv/cad/jobs/tower", run.range(0));
    std::size_t bytes = 0;
    for (auto _ : run) {
        run.PauseTiming();  // the builder takes its job over: a copy for each run, not timed
        auto copy = job;
        run.ResumeTiming();
        bytes = 0;
        inkrun::script::writeScript(std::move(copy), [&](std::string_view block) { bytes += block.size(); });
        benchmark::DoNotOptimize(bytes);
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(bytes) * run.iterations());
    run.SetItemsProcessed(run.range(0) * run.iterations());
    run.counters["script_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_WriteScriptToCountingSink)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_SaveScriptToFile(benchmark::State& run) {
    ScratchDirectory directory;
    const auto job = templateJob(directory.path(), run.range(0));
    for (auto _ : run) {
        run.PauseTiming();
        auto copy = job;
        run.ResumeTiming();
        inkrun::script::saveScript(std::move(copy), "Inkrun.scr");
    }
    const auto bytes = fs::file_size(directory.path() + "/Inkrun.scr");
    run.SetBytesProcessed(static_cast<std::int64_t>(bytes) * run.iterations());
    run.SetItemsProcessed(run.range(0) * run.iterations());
    run.counters["script_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SaveScriptToFile)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
