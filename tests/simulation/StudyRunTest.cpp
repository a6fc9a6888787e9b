// A study run on the solver's threads: a stop lets no new solver call start,
// and what was counted stays whole and in order.
#include <gtest/gtest.h>

#include <thread>

#include "analysis/DoubleDummy.h"
#include "analysis/LeadSolver.h"
#include "deals/BridgeTerms.h"
#include "deals/FixedCards.h"
#include "simulation/Contract.h"
#include "simulation/LeadStudy.h"

namespace {

TEST(StudyRun, NoSolverCallStartsAfterStop) {
    constexpr int32_t Threads = 2, Deals = 40;
    SetAnalysisThreads(Threads);
    const TFixedCards fixed = ReadFixedCards("W:KQJ52.84.Q73.K95").Cards;
    std::vector<TDeal> deals(Deals);
    uint32_t seed = 3u;
    for (TDeal& deal : deals) deal.DealFromSeed(seed, fixed);

    TLeadStudy study;
    ASSERT_TRUE(study.Prepare(*ReadContract("3NT S").Contract, TVulnerability::None, fixed).IsOk());
    std::vector<int64_t> boards;
    TStudyRun run(study, Threads, [&](const std::vector<std::string>& rows) {
        boards.push_back(std::stoll(rows.at(0)));
        EXPECT_EQ(rows.size(), 13u);
    });
    const int64_t before = LeadSolveCount();
    std::thread pusher([&] {
        for (int32_t i = 0; i < Deals; ++i)
            if (!run.Push(i + 1, deals[static_cast<std::size_t>(i)])) break;
    });
    while (run.Done() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    run.Stop();
    const int64_t atStop = LeadSolveCount();
    pusher.join();
    const int64_t counted = run.Finish();

    // At most the calls already past their check of the stop were made.
    EXPECT_LE(LeadSolveCount() - atStop, Threads);
    EXPECT_LT(counted, Deals);
    EXPECT_EQ(study.Counted(), counted);
    EXPECT_LE(counted, atStop - before);
    ASSERT_EQ(boards.size(), static_cast<std::size_t>(counted));
    for (std::size_t i = 0; i < boards.size(); ++i)
        EXPECT_EQ(boards[i], static_cast<int64_t>(i) + 1);
    EXPECT_NE(study.ReportLines().at(0).find("раздач " + std::to_string(counted)),
              std::string::npos);
}

}  // namespace
