// Damaged and hostile inputs for the core's files: binary garbage and NUL
// bytes, a 100 MB line, a million lines, and saves into folders that are
// read-only, gone, not folders at all, or on a full disk. Whatever comes in,
// the program goes on, says what happened, and never damages a file it had.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "deals/DealCollection.h"
#include "deals/PbnFile.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "language/Grammar.h"
#include "support/DealInto.h"
#include "support/FileBytes.h"
#include "support/HostileMounts.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"
#include "text/FileError.h"

namespace {

namespace fs = std::filesystem;

const std::string Header = "This is Deals File of Tavex's Bridge Generator";

// Big files go to memory where the system has such a folder: the disk is slow.
fs::path ScratchRoot() {
    std::error_code error;
    if (fs::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) return "/dev/shm";
    return fs::temp_directory_path();
}

// Bytes 0..255 from a fixed seed, NULs and line breaks among them.
std::string Garbage(std::size_t size, uint32_t seed) {
    std::mt19937 engine(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(engine() & 0xFF);
    return bytes;
}

// A folder of its own per test, removed afterwards; mounts made in it are
// detached first.
class HostileFiles : public ::testing::Test {
protected:
    bool MountSmallDisk(const std::string& leaf, int kilobytes) {
        return mounts_.MountSmallDisk(folder_ / leaf, kilobytes);
    }
    bool MakeReadOnly(const std::string& leaf) {
        return THostileMounts::MakeReadOnly(folder_ / leaf);
    }
    static void FillUp(const fs::path& folder) { ASSERT_TRUE(THostileMounts::FillUp(folder)); }

    TTempFolder temp_{ScratchRoot()};
    const fs::path folder_ = temp_.Path();
    THostileMounts mounts_;  // unmounted before the folder goes
    TRecordingSink sink_;
};

// ---- Reading garbage -------------------------------------------------------

struct TGarbageCase {
    const char* name;
    std::string bytes;
    int32_t deals;  // deals added, or -1 when the file must be refused
};

std::vector<TGarbageCase> DealsFileGarbage() {
    const std::string garbage = Garbage(64 * 1024, 7);
    int32_t garbageLines = 1;
    for (char c : garbage) garbageLines += c == '\n';
    if (garbage.back() == '\n') --garbageLines;
    std::string nulHeader = Header;
    nulHeader[4] = '\0';
    return {
        {"EmptyFile", "", -1},
        {"OnlyNuls", std::string(4096, '\0'), -1},
        {"GarbageFromTheStart", garbage, -1},
        {"NulInsideTheHeader", nulHeader + "\r\n", -1},
        {"NulAfterTheHeader", Header + std::string(1, '\0') + "\r\n", -1},
        {"HeaderEndedByALoneCarriageReturn", Header + "\r" + std::string(108, '1'), -1},
        {"HeaderInUtf16", "\xFF\xFE" + std::string("T\0h\0i\0s\0", 8), -1},
        {"GarbageAfterTheHeader", Header + "\r\n" + garbage, garbageLines},
        {"NulLines", Header + "\r\n" + std::string(108, '\0') + "\r\n" + std::string(3, '\0'), 2},
        {"HighBytesAndSigns",
         Header + "\r\n" + std::string(200, '\x98') + "\n" + std::string(108, '-') +
             "\n-9-9-9-9\n99999999\n",
         4},
        {"CardsOutOfRange",
         Header + "\r\n" +
             [] {
                 std::string line;
                 for (int j = 0; j < 52; ++j) line += j % 3 == 0 ? "99" : j % 3 == 1 ? "-9" : "0 ";
                 return line;
             }(),
         1},
    };
}

void PrintTo(const TGarbageCase& c, std::ostream* out) { *out << c.name; }

class DealsFileGarbageTest : public HostileFiles,
                             public ::testing::WithParamInterface<TGarbageCase> {};

TEST_P(DealsFileGarbageTest, LoadsOrRefusesAndEveryFigureStaysInRange) {
    const TGarbageCase& c = GetParam();
    const fs::path path = folder_ / "garbage.dls";
    WriteBytes(path, c.bytes);
    TDeals deals;
    DealInto(deals, 3, 2);  // deals held before: loading appends
    deals.LoadFromFile(path.string());
    if (c.deals < 0) {
        ASSERT_EQ(sink_.messages.size(), 1u);
        EXPECT_EQ(sink_.messages[0].text, "Файл " + path.string() + " не содержит раздачи");
        EXPECT_EQ(deals.Count(), 2);
        return;
    }
    EXPECT_TRUE(sink_.messages.empty());
    ASSERT_EQ(deals.Count(), 2 + c.deals);

    // Every later use of a damaged deal stays inside its arrays.
    deals.ComputeStatistics();
    for (int seat = 1; seat <= 4; ++seat) {
        int32_t counted = 0;
        for (int32_t points : deals.HcpCount[seat]) counted += points;
        EXPECT_LE(counted, deals.Count());
        int32_t shapes = 0;
        for (int32_t n : deals.ShapeCount[seat]) shapes += n;
        EXPECT_EQ(shapes, deals.Count());
    }
    for (int32_t i = 0; i < deals.Count(); ++i) {
        TDeal* deal = deals.GetDeal(i);
        EXPECT_EQ(deal->ToText().size(), 108u);
        for (int seat = 1; seat <= 4; ++seat) {
            EXPECT_GE(deal->HCP(seat, -1), 0);
            EXPECT_LE(deal->HCP(seat, -1), 52);
            EXPECT_FALSE(PbnDealValue(*deal, seat).empty());
        }
    }
    // Saved again, the damaged deals read back as they were.
    const fs::path copy = folder_ / "copy.dls";
    deals.SaveToFile(copy.string());
    TDeals again;
    again.LoadFromFile(copy.string());
    ASSERT_EQ(again.Count(), deals.Count());
    for (int32_t i = 0; i < deals.Count(); ++i)
        EXPECT_EQ(again.GetDeal(i)->ToText(), deals.GetDeal(i)->ToText()) << i;
}

INSTANTIATE_TEST_SUITE_P(Table, DealsFileGarbageTest, ::testing::ValuesIn(DealsFileGarbage()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostileFiles, ConditionsOfEveryFunctionOnDamagedDealsStayInRange) {
    const fs::path path = folder_ / "damaged.dls";
    std::string text = Header + "\r\n";
    const char* fields[] = {"99", "-9", "0 ", "52", "53", "1 ", "-1", "xx"};
    for (int line = 0; line < 64; ++line) {
        for (int j = 0; j < 52; ++j) {
            text += fields[(line * 7 + j * (line % 5 + 1)) % 8];
            if (j % 13 == 12) text += ';';
        }
        text += "\r\n";
    }
    WriteBytes(path, text);
    TDeals deals;
    deals.LoadFromFile(path.string());
    ASSERT_EQ(deals.Count(), 64);

    const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    const char* conditions[] = {
        "(HCP(N) + HCP(E, SP) + SuitLength(S, H) + SuitByLength(W, 1) + SuitByLength(N, 4)) > 3",
        "Balanced(N) OR Balanced(E, 12, 14) OR Polish1c(S) OR Unbal1d(W)",
        "Prec1d(N, 11, 14) OR Prec1h(E) OR Prec1s(S) OR Prec2c(W) OR Multy(N, 5, 11, 1, 9, 8, 7)",
        "Suits(N, 1, 5, -1, -1, -1) OR Suits(E, 4, 0, 13, 5, 5)",
    };
    for (const char* condition : conditions) {
        TCompiledCondition compiled;
        ASSERT_TRUE(compiled.Prepare(condition, *rules)) << condition;
        int32_t kept = 0;
        for (int32_t i = 0; i < deals.Count(); ++i) kept += compiled.Matches(*deals.GetDeal(i));
        EXPECT_LE(kept, deals.Count());
    }
    EXPECT_TRUE(sink_.messages.empty());
}

// ---- Very long lines and very many lines ------------------------------------

TEST_F(HostileFiles, AHundredMegabyteLineIsOneDeal) {
    const fs::path path = folder_ / "long.dls";
    {
        std::ofstream file(path, std::ios::binary);
        file << Header << "\r\n";
        const std::string chunk(1 << 20, '7');
        for (int i = 0; i < 100; ++i) file << chunk;
        file << "\r\n" << std::string(108, ' ') << "\r\n";
        ASSERT_TRUE(file.good());
    }
    TDeals deals;
    deals.LoadFromFile(path.string());
    ASSERT_EQ(deals.Count(), 2);
    EXPECT_EQ(deals.GetDeal(0)->ToText().substr(0, 27), "77777777777777777777777777;");
    EXPECT_EQ(deals.GetDeal(1)->ToText().substr(0, 27), "0 0 0 0 0 0 0 0 0 0 0 0 0 ;");
    EXPECT_TRUE(sink_.messages.empty());
}

TEST_F(HostileFiles, AMillionDealLinesLoadAndSaveBackByteForByte) {
    constexpr int32_t Million = 1000000;
    TDeals dealt;
    DealInto(dealt, 12345, 1000);
    std::string block;
    for (int32_t i = 0; i < dealt.Count(); ++i) block += dealt.GetDeal(i)->ToText() + "\r\n";
    const fs::path path = folder_ / "million.dls";
    {
        std::ofstream file(path, std::ios::binary);
        file << Header << "\r\n";
        for (int32_t i = 0; i < Million / dealt.Count(); ++i) file << block;
        ASSERT_TRUE(file.good());
    }
    TDeals deals;
    deals.LoadFromFile(path.string());
    ASSERT_EQ(deals.Count(), Million);
    EXPECT_EQ(deals.GetDeal(Million - 1)->ToText(), dealt.GetDeal(999)->ToText());
    deals.ComputeStatistics();
    EXPECT_EQ(deals.HcpSum[1] + deals.HcpSum[2] + deals.HcpSum[3] + deals.HcpSum[4], 40 * Million);

    const fs::path copy = folder_ / "copy.dls";
    deals.SaveToFile(copy.string());
    EXPECT_EQ(fs::file_size(copy), fs::file_size(path));
    EXPECT_TRUE(ReadBytes(copy) == ReadBytes(path));
    ASSERT_EQ(sink_.messages.size(), 1u);
    EXPECT_EQ(sink_.messages[0].text, "1000000 раздач(и) сохранены в файле " + copy.string());
}

// ---- PBN garbage -------------------------------------------------------------

struct TPbnGarbageCase {
    const char* name;
    std::function<std::string()> bytes;
    int32_t loaded;
};

std::string ValidPbnGame() {
    TDeals one;
    DealInto(one, 1, 1);
    return "[Event \"\"]\r\n[Deal \"" + PbnDealValue(*one.GetDeal(0), 1) + "\"]\r\n\r\n";
}

std::vector<TPbnGarbageCase> PbnGarbage() {
    return {
        {"Garbage", [] { return Garbage(256 * 1024, 11); }, 0},
        {"OnlyNuls", [] { return std::string(100000, '\0'); }, 0},
        {"NulInsideTheDealTag",
         [] {
             std::string game = ValidPbnGame();
             game[game.find("Deal") + 10] = '\0';
             return game + ValidPbnGame();
         },
         1},
        {"GarbageBetweenGames",
         [] {
             // Without "{", which would open a comment running to the end.
             std::string garbage = Garbage(4096, 5);
             for (char& c : garbage)
                 if (c == '{') c = '\0';
             return ValidPbnGame() + garbage + "\r\n\r\n" + ValidPbnGame();
         },
         2},
        {"UnclosedCommentOfTenMegabytes",
         [] { return ValidPbnGame() + "{" + std::string(10 << 20, 'c') + "\r\n" + ValidPbnGame(); },
         1},
        {"UnclosedTagOfTenMegabytes",
         [] {
             return ValidPbnGame() + "[Deal \"N:" + std::string(10 << 20, 'A') + "\r\n\r\n" +
                    ValidPbnGame();
         },
         2},
        {"OneLineOfAHundredMegabytes", [] { return ValidPbnGame() + std::string(100 << 20, '['); },
         1},
    };
}

void PrintTo(const TPbnGarbageCase& c, std::ostream* out) { *out << c.name; }

class PbnGarbageTest : public HostileFiles,
                       public ::testing::WithParamInterface<TPbnGarbageCase> {};

TEST_P(PbnGarbageTest, LoadsTheWholeGamesOrRefusesTheFile) {
    const TPbnGarbageCase& c = GetParam();
    const fs::path path = folder_ / "garbage.pbn";
    WriteBytes(path, c.bytes());
    TDeals deals;
    const TPbnLoadResult result = LoadPbnFile(path.string(), deals);
    EXPECT_TRUE(result.Found);
    ASSERT_EQ(sink_.messages.size(), 1u);
    if (c.loaded == 0) {
        EXPECT_TRUE(result.Refused);
        EXPECT_EQ(sink_.messages[0].text, "Файл " + path.string() + " не содержит раздачи");
    } else {
        EXPECT_FALSE(result.Refused);
        EXPECT_EQ(sink_.messages[0].text, PbnLoadedMessage(path.string(), result.Counts));
    }
    ASSERT_EQ(deals.Count(), c.loaded);
    for (int32_t i = 0; i < deals.Count(); ++i)
        EXPECT_EQ(deals.GetDeal(i)->ToText(), [] {
            TDeals one;
            DealInto(one, 1, 1);
            return one.GetDeal(0)->ToText();
        }());
}

INSTANTIATE_TEST_SUITE_P(Table, PbnGarbageTest, ::testing::ValuesIn(PbnGarbage()),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Conditions that are not plain text --------------------------------------

TEST(HostileConditions, NulsGarbageAndForeignEncodingsGiveOneMessageOrAValidCondition) {
    const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    TDeals deals;
    DealInto(deals, 1, 4);
    const std::vector<std::string> texts = {
        std::string("HCP(N)\0> 12", 11),
        std::string("\0", 1),
        std::string(1000, '\0'),
        "HCP(N) > 12\x98",
        "\x98\x98\x98",
        "HCP(\xD0\xA1) > 1",                         // UTF-8 Cyrillic for the seat
        "\xD1\x81\xD0\xB5\xD0\xB2\xD0\xB5\xD1\x80",  // UTF-8 "север"
        "HCP(\xF1) > 1",                             // a Windows-1251 letter alone
        "HCP(N) > 99999999999999999999",
        "HCP(N) > -2147483649",
        "Shape(N, 4294967297, 4294967296, 0, 0)",
        "Range(N, 2147483647, 2147483648)",
        Garbage(4096, 3),
        std::string(100000, '('),
    };
    for (const std::string& text : texts) {
        TRecordingSink sink;
        TCompiledCondition condition;
        const bool ready = condition.Prepare(text, *rules);
        if (ready) {
            EXPECT_TRUE(sink.messages.empty());
            for (int32_t i = 0; i < deals.Count(); ++i) condition.Matches(*deals.GetDeal(i));
        } else if (!sink.messages.empty()) {
            EXPECT_EQ(sink.messages.size(), 1u);
            EXPECT_FALSE(sink.messages[0].text.empty());
            EXPECT_GE(condition.ErrorPosition(), 0);
            EXPECT_LE(condition.ErrorPosition(), static_cast<int32_t>(text.size()));
        }
    }
}

// ---- Saving where nothing can be saved -----------------------------------------

enum class TOutcome { Silent, FileError };

struct TDestinationCase {
    const char* name;
    // Prepares the destination in the test's folder; returns the file name to
    // save to, or an empty text to skip (the system does not allow the setup).
    std::function<std::string(HostileFiles&, const fs::path&)> prepare;
    TOutcome outcome;
};

struct TWriterCase {
    const char* name;
    std::function<void(const TDeals&, const std::string&)> save;
};

void PrintTo(const TWriterCase& c, std::ostream* out) { *out << c.name; }

const TWriterCase Writers[] = {
    {"Deals", [](const TDeals& deals, const std::string& name) { deals.SaveToFile(name); }},
    {"Pbn", [](const TDeals& deals, const std::string& name) { SavePbnFile(name, deals, 7); }},
};

// Friend access for the destination table.
class HostileSaves
    : public HostileFiles,
      public ::testing::WithParamInterface<std::tuple<TDestinationCase, TWriterCase>> {
public:
    bool Small(const std::string& leaf, int kilobytes) { return MountSmallDisk(leaf, kilobytes); }
    bool ReadOnly(const std::string& leaf) { return MakeReadOnly(leaf); }
    static void Fill(const fs::path& folder) { FillUp(folder); }
};

void PrintTo(const TDestinationCase& c, std::ostream* out) { *out << c.name; }

const std::string OldContent = Header + "\r\n" + std::string(108, '1') + "\r\n";

const TDestinationCase Destinations[] = {
    {"VanishedFolder",
     [](HostileFiles&, const fs::path& folder) {
         fs::create_directories(folder / "gone");
         fs::remove(folder / "gone");
         return (folder / "gone" / "deals.dls").string();
     },
     TOutcome::Silent},
    {"ParentIsAFile",
     [](HostileFiles&, const fs::path& folder) {
         WriteBytes(folder / "plain.txt", "text");
         return (folder / "plain.txt" / "deals.dls").string();
     },
     TOutcome::Silent},
    {"NameIsAFolder",
     [](HostileFiles&, const fs::path& folder) {
         fs::create_directories(folder / "taken.dls");
         return (folder / "taken.dls").string();
     },
     TOutcome::FileError},
    {"ProcFolder",
     [](HostileFiles&, const fs::path&) {
         return fs::is_directory("/proc/self") ? std::string("/proc/self/korvana.dls")
                                               : std::string();
     },
     TOutcome::FileError},
    {"ReadOnlyFolderWithAnOldFile",
     [](HostileFiles& self, const fs::path& folder) {
         auto& test = static_cast<HostileSaves&>(self);
         if (!test.Small("ro", 256)) return std::string();
         WriteBytes(folder / "ro" / "old.dls", OldContent);
         if (!test.ReadOnly("ro")) return std::string();
         return (folder / "ro" / "old.dls").string();
     },
     TOutcome::FileError},
    {"FullDiskWithAnOldFile",
     [](HostileFiles& self, const fs::path& folder) {
         auto& test = static_cast<HostileSaves&>(self);
         if (!test.Small("full", 64)) return std::string();
         WriteBytes(folder / "full" / "old.dls", OldContent);
         HostileSaves::Fill(folder / "full");
         return (folder / "full" / "old.dls").string();
     },
     TOutcome::FileError},
    {"FullDiskNewFile",
     [](HostileFiles& self, const fs::path& folder) {
         auto& test = static_cast<HostileSaves&>(self);
         if (!test.Small("full", 64)) return std::string();
         HostileSaves::Fill(folder / "full");
         return (folder / "full" / "new.dls").string();
     },
     TOutcome::FileError},
};

// Every file of a folder tree with its bytes (folders as "<folder>").
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[entry.path().string()] =
            entry.is_regular_file() ? ReadBytes(entry.path()) : "<folder>";
    return files;
}

// The names of the files that were added, removed or changed; empty when none.
std::string Changes(const std::map<std::string, std::string>& before,
                    const std::map<std::string, std::string>& after) {
    std::string changes;
    for (const auto& [name, bytes] : before) {
        auto found = after.find(name);
        if (found == after.end())
            changes += " removed " + name;
        else if (found->second != bytes)
            changes += " changed " + name + " (" + std::to_string(bytes.size()) + " -> " +
                       std::to_string(found->second.size()) + " bytes)";
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name))
            changes += " added " + name + " (" + std::to_string(bytes.size()) + " bytes)";
    return changes;
}

TEST_P(HostileSaves, FailsCleanlyAndLeavesEveryFileAsItWas) {
    const auto& [destination, writer] = GetParam();
    const std::string name = destination.prepare(*this, folder_);
    if (name.empty()) GTEST_SKIP() << "the system does not allow this destination here";

    TDeals deals;
    DealInto(deals, 9, 200);  // some 22 KB: more than the full disk can take
    const auto before = Snapshot(folder_);
    if (destination.outcome == TOutcome::Silent) {
        EXPECT_NO_THROW(writer.save(deals, name));
    } else {
        try {
            writer.save(deals, name);
            ADD_FAILURE() << "the save did not fail";
        } catch (const TFileError& error) {
            EXPECT_EQ(error.FileName(), name);
            EXPECT_NE(error.ErrorNumber(), 0);
            EXPECT_NE(std::string(error.what()).find(name), std::string::npos) << error.what();
        }
    }
    EXPECT_TRUE(sink_.messages.empty());
    EXPECT_EQ(Changes(before, Snapshot(folder_)), "");  // no file changed, none added
    EXPECT_EQ(deals.Count(), 200);

    // The program goes on: the same deals save where saving is possible.
    const fs::path good = folder_ / "good.dls";
    writer.save(deals, good.string());
    EXPECT_TRUE(fs::exists(good));
    EXPECT_EQ(sink_.messages.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Table, HostileSaves,
                         ::testing::Combine(::testing::ValuesIn(Destinations),
                                            ::testing::ValuesIn(Writers)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::get<1>(info.param).name;
                         });

TEST_F(HostileFiles, ASaveOverAnOldFileOnAFullDiskKeepsTheOldFileAndWorksOnceThereIsRoom) {
    if (!MountSmallDisk("full", 64)) GTEST_SKIP() << "mounting a small file system is refused";
    const fs::path disk = folder_ / "full";
    TDeals old;
    DealInto(old, 2, 3);
    const std::string name = (disk / "deals.dls").string();
    old.SaveToFile(name);
    const std::string oldBytes = ReadBytes(name);
    FillUp(disk);

    TDeals bigger;
    DealInto(bigger, 4, 300);
    EXPECT_THROW(bigger.SaveToFile(name), TFileError);
    EXPECT_TRUE(ReadBytes(name) == oldBytes) << "the old file was damaged";
    TDeals reread;
    reread.LoadFromFile(name);
    EXPECT_EQ(reread.Count(), 3);

    THostileMounts::MakeRoom(disk);
    bigger.SaveToFile(name);
    TDeals saved;
    saved.LoadFromFile(name);
    ASSERT_EQ(saved.Count(), 300);
    EXPECT_EQ(saved.GetDeal(299)->ToText(), bigger.GetDeal(299)->ToText());
}

}  // namespace
