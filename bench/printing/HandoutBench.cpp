// The time to write a 1,000-deal handout with the table and par under every
// deal, and the PDF's size (the "bytes" counter). The analysis is taken as
// done: the tables are filled in without the solver, which is not measured here.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "deals/RandomSource.h"
#include "printing/HandoutPainter.h"

namespace {

std::vector<TBoard> AnalysedBoards(int32_t count) {
    TRandomSource source;
    source.SetSeed(11);
    std::vector<TBoard> boards(static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        TBoard& board = boards[static_cast<std::size_t>(i)];
        board.Deal.DealRandom(source);
        board.SetPosition(i + 1);
        TDealAnalysis analysis;
        analysis.Solved = true;
        for (int32_t strain = 0; strain < 5; ++strain)
            for (int32_t seat = 0; seat < 4; ++seat)
                analysis.Table
                    .Tricks[static_cast<std::size_t>(strain)][static_cast<std::size_t>(seat)] =
                    static_cast<int8_t>((i + strain * 3 + seat * 5) % 14);
        analysis.Par = TParResult{420, {{4, 4, "NS", 0, 0}, {4, 3, "N", 0, 0}}};
        board.Analysis = analysis;
    }
    return boards;
}

void BM_HandoutPdf(benchmark::State& state) {
    const std::vector<TBoard> boards = AnalysedBoards(static_cast<int32_t>(state.range(0)));
    THandoutOptions options;
    options.Analysis = true;
    options.Title = "Турнир пар, 8 декабря";
    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("handout.pdf"));
    for (auto _ : state) {
        if (!WriteHandoutPdf(pdf, boards, options).isEmpty()) state.SkipWithError("not written");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_HandoutPdf)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
