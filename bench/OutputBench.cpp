// Writing kept deals, in deals per second: a million deal lines and readable
// lines the way korvana-cli prints them (a batch of deals a lock, lines
// written straight into a large buffer) against one deal, one lock and one
// string at a time; a deals file saved and loaded.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "deals/DealCollection.h"
#include "deals/ReadableLine.h"
#include "text/MessageSink.h"
#include "text/OutputBuffer.h"

namespace {

constexpr int32_t Million = 1000000;

const TDeals& MillionDeals() {
    static const TDeals* deals = [] {
        auto* made = new TDeals;
        TRandomSource source(1);
        TDeal deal;
        for (int32_t i = 0; i < Million; ++i) {
            deal.DealRandom(source);
            made->Add(deal);
        }
        return made;
    }();
    return *deals;
}

// The chunks go nowhere; their sizes are summed so nothing is optimised away.
struct TNullSink {
    std::size_t bytes = 0;
    void operator()(std::string_view chunk) { bytes += chunk.size(); }
};

void BM_DealLinesPerDeal(benchmark::State& state) {
    const TDeals& deals = MillionDeals();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string line;
        for (int32_t i = 0; i < deals.Count(); ++i) {
            line.clear();
            deals.GetDeal(i)->AppendText(line);
            line += '\n';
            bytes += line.size();
            benchmark::DoNotOptimize(line.data());
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * Million);
}
BENCHMARK(BM_DealLinesPerDeal)->Unit(benchmark::kMillisecond);

// The million deals written a batch at a time into one buffer: `write` puts
// one deal's line into at most `room` bytes and gives its end.
template <typename TWrite>
void WriteBatched(benchmark::State& state, std::size_t room, TWrite write) {
    const TDeals& deals = MillionDeals();
    TNullSink sink;
    for (auto _ : state) {
        TOutputBuffer out(std::ref(sink));
        deals.ForEachBatch([&](std::span<const TDeal> batch) {
            for (const TDeal& deal : batch) {
                char* end = write(deal, out.Room(room + 1));
                *end++ = '\n';
                out.Advance(end);
            }
            return true;
        });
        out.Flush();
    }
    benchmark::DoNotOptimize(sink.bytes);
    state.SetItemsProcessed(state.iterations() * Million);
}

void BM_DealLinesBatched(benchmark::State& state) {
    WriteBatched(state, TDeal::MaxLineLength,
                 [](const TDeal& deal, char* room) { return deal.WriteText(room); });
}
BENCHMARK(BM_DealLinesBatched)->Unit(benchmark::kMillisecond);

void BM_ReadableLinesPerDeal(benchmark::State& state) {
    const TDeals& deals = MillionDeals();
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (int32_t i = 0; i < deals.Count(); ++i) {
            std::string line = ReadableLine(*deals.GetDeal(i));
            line += '\n';
            bytes += line.size();
        }
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * Million);
}
BENCHMARK(BM_ReadableLinesPerDeal)->Unit(benchmark::kMillisecond);

void BM_ReadableLinesBatched(benchmark::State& state) {
    WriteBatched(state, ReadableLineRoom,
                 [](const TDeal& deal, char* room) { return WriteReadableLine(deal, room); });
}
BENCHMARK(BM_ReadableLinesBatched)->Unit(benchmark::kMillisecond);

// A silent sink for the "saved" message.
class TQuietSink : public TInstalledSink {
public:
    void Show(const std::string&, int32_t) override {}
};

std::string BenchFile() {
    return (std::filesystem::temp_directory_path() /
            ("korvana-outputbench-" + std::to_string(::getpid()) + ".dls"))
        .string();
}

// The whole save: lines, writes and the sync that puts the file on the disk.
void BM_SaveMillionDealsFile(benchmark::State& state) {
    const TDeals& deals = MillionDeals();
    TQuietSink quiet;
    const std::string name = BenchFile();
    for (auto _ : state) deals.SaveToFile(name);
    std::filesystem::remove(name);
    state.SetItemsProcessed(state.iterations() * Million);
}
BENCHMARK(BM_SaveMillionDealsFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadMillionDealsFile(benchmark::State& state) {
    TQuietSink quiet;
    const std::string name = BenchFile();
    MillionDeals().SaveToFile(name);
    for (auto _ : state) {
        TDeals deals;
        deals.LoadFromFile(name);
        benchmark::DoNotOptimize(deals.Count());
    }
    std::filesystem::remove(name);
    state.SetItemsProcessed(state.iterations() * Million);
}
BENCHMARK(BM_LoadMillionDealsFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
