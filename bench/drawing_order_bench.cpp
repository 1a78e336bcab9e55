// Ordering the drawing list: 10,000 and 100,000 names, handed over in no order, sorted as the
// list shows them. Numbered names share long beginnings; drawing numbers with words mix hyphens,
// underscores, spaces and accented letters.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "drawings/drawing_list.h"

namespace {

std::vector<std::string> numberedNames(long count) {
    std::vector<std::string> names;
    for (long i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "drawing%06ld.dwg", i);
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> drawingNumbersWithWords(long count) {
    static const char* const kParts[] = {"A", "a", "S", "T", "E"};
    static const char* const kWords[] = {
        "Grundriss EG",   "\u00DCbersicht",   "Schnitt_A-A", "\u00C9l\u00E9vation Nord",
        "Detail Fenster", "Ansicht S\u00FCd", "plan-masse",  "coupe 2"};
    static const char* const kSeparators[] = {"-", "_", " ", ""};
    std::vector<std::string> names;
    for (long i = 0; i < count; ++i) {
        char name[96];
        std::snprintf(name, sizeof name, "%s%s%03ld%s%02ld %s.dwg", kParts[i % 5], kSeparators[i % 4], (i / 7) % 1000,
                      kSeparators[(i / 3) % 4], i % 97, kWords[(i / 11) % 8]);
        names.emplace_back(name);
    }
    return names;
}

void sortNames(benchmark::State& run, std::vector<std::string> (*make)(long)) {
    std::vector<std::string> names = make(run.range(0));
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    for (auto _ : run) {
        run.PauseTiming();
        std::vector<std::string> list = names;
        run.ResumeTiming();
        inkrun::drawings::sortDrawingNames(list);
        benchmark::DoNotOptimize(list.data());
    }
}

void BM_SortNumberedNames(benchmark::State& run) { sortNames(run, numberedNames); }
void BM_SortDrawingNumbersWithWords(benchmark::State& run) { sortNames(run, drawingNumbersWithWords); }

BENCHMARK(BM_SortNumberedNames)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortDrawingNumbersWithWords)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
