// Load cost per entry against the bare reading of the same sources.
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

#include "LiveBytes.h"
#include "Workload.h"
#include "platform/memory/MemoryPlatform.h"
#include "scanners/SectionLoading.h"

namespace lsu::bench {
namespace {

// Counts the files looked for, most of them for the Exists cells.
class CountingPlatform : public MemoryPlatform {
public:
    bool fileExists(const std::string& path) override {
        ++probes;
        return MemoryPlatform::fileExists(path);
    }
    std::size_t probes = 0;
};

CountingPlatform& crowded(std::size_t entries) {
    static std::map<std::size_t, std::unique_ptr<CountingPlatform>> machines;
    auto& machine = machines[entries];
    if (!machine) {
        machine = std::make_unique<CountingPlatform>();
        seedCrowd(*machine, Crowd::Mixed, entries);
    }
    return *machine;
}

void LoadAllPrograms(benchmark::State& state) {
    auto& platform = crowded(static_cast<std::size_t>(state.range(0)));
    std::size_t rows = 0, probes = 0;
    for (auto _ : state) {
        const std::size_t before = platform.probes;
        auto load = loadSection(platform, SectionId::AllPrograms);
        rows = load.rows.size();
        probes = platform.probes - before;
        benchmark::DoNotOptimize(load);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["probes_per_row"] = rows ? static_cast<double>(probes) / static_cast<double>(rows) : 0;
    const std::size_t before = liveHeapBytes();
    auto held = loadSection(platform, SectionId::AllPrograms);
    state.counters["bytes_per_row"] =
        rows ? static_cast<double>(liveHeapBytes() - before) / static_cast<double>(rows) : 0;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows));
}

void BareRead(benchmark::State& state) {
    auto& platform = crowded(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(readThroughPlatform(platform));
}

MemoryPlatform& packaged(std::size_t packages) {
    static std::map<std::size_t, std::unique_ptr<MemoryPlatform>> machines;
    auto& machine = machines[packages];
    if (!machine) {
        machine = std::make_unique<MemoryPlatform>();
        seedPackages(*machine, packages);
    }
    return *machine;
}

// The Apps leaf: each package's registration, manifest and task switch.
void LoadApps(benchmark::State& state) {
    auto& platform = packaged(static_cast<std::size_t>(state.range(0)));
    std::size_t rows = 0;
    for (auto _ : state) {
        auto load = loadSection(platform, SectionId::PackagedApps);
        rows = load.rows.size();
        benchmark::DoNotOptimize(load);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows));
}

void BareReadApps(benchmark::State& state) {
    auto& platform = packaged(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(readPackagesThroughPlatform(platform));
}

BENCHMARK(LoadAllPrograms)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareRead)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadApps)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareReadApps)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lsu::bench

BENCHMARK_MAIN();
