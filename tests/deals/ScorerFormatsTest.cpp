#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "deals/Board.h"
#include "deals/DealCollection.h"
#include "deals/DealFormats.h"
#include "support/DealInto.h"
#include "support/FileBytes.h"
#include "support/RecordingSink.h"
#include "support/TempFolder.h"
#include "text/OutputBuffer.h"

namespace {

// Sets written by the standard tournament generator, each in several formats
// at once: r0512 is the board range 5-12.
const std::string ReferenceSets = KORVANA_LANGUAGE_CASES_DIR "/../../deals/reference-sets/";

struct TReferenceFile {
    const char* Set;
    int64_t FirstBoard;
    const char* Word;
};

// The file read as the format its name and content tell, boards numbered from `first`.
TDealsReadCounts ReadBoards(const std::string& path, std::vector<TBoard>& boards, int64_t first = 1,
                            const TDealFormat** format = nullptr) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    EXPECT_TRUE(file) << path;
    TDealsInput in(file.get(), path);
    TDeals deals;
    const TDealsLoadResult result = ReadDeals(in, deals, &boards);
    NumberBoards(boards, first);
    if (format != nullptr) *format = result.Format;
    return result.Counts;
}

std::string Written(const TDealFormat& format, const TBoards& boards) {
    std::string bytes;
    TOutputBuffer out([&bytes](std::string_view chunk) { bytes += chunk; });
    WriteBoards(out, format, boards);
    return bytes;
}

class ScorerFormat : public ::testing::TestWithParam<TReferenceFile> {};

// The set's PBN written in the format gives the reference's bytes (a text's
// line ends aside); the reference reads back to the PBN's boards; a bare
// file cut short is refused as damaged.
TEST_P(ScorerFormat, WritesTheReferenceAndReadsItBack) {
    const TReferenceFile& reference = GetParam();
    const TDealFormat& format = *DealFormatOfWord(reference.Word);
    const std::string path = ReferenceSets + reference.Set + std::string(format.Extension);
    std::vector<TBoard> pbn;
    ReadBoards(ReferenceSets + reference.Set + ".pbn", pbn);
    std::string expected = ReadBytes(path);
    if (format.Probe != nullptr) std::erase(expected, '\r');
    EXPECT_EQ(Written(format, TBoardList(pbn)), expected);

    std::vector<TBoard> boards;
    const TDealFormat* read = nullptr;
    ReadBoards(path, boards, reference.FirstBoard, &read);
    EXPECT_EQ(read, &format);
    ASSERT_EQ(boards.size(), pbn.size());
    for (std::size_t i = 0; i < boards.size(); ++i) {
        EXPECT_EQ(boards[i].Number, pbn[i].Number);
        EXPECT_EQ(boards[i].Dealer, pbn[i].Dealer);
        EXPECT_EQ(boards[i].Vulnerability, pbn[i].Vulnerability);
        EXPECT_EQ(boards[i].Deal.ToText(), pbn[i].Deal.ToText()) << "board " << pbn[i].Number;
    }

    if (format.Probe != nullptr) return;
    TTempFolder folder;
    const std::string cut = folder.File(std::string("cut") + std::string(format.Extension));
    WriteBytes(cut, expected.substr(0, expected.size() - 1));
    boards.clear();
    const TDealsReadCounts counts = ReadBoards(cut, boards);
    EXPECT_TRUE(counts.Refused);
    EXPECT_EQ(counts.Damaged, 1);
    EXPECT_TRUE(boards.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sets, ScorerFormat,
    ::testing::Values(TReferenceFile{"a24", 1, "ber"}, TReferenceFile{"a24", 1, "csv"},
                      TReferenceFile{"a24", 1, "bhg"}, TReferenceFile{"a24", 1, "rzd"},
                      TReferenceFile{"r0512", 5, "ber"}, TReferenceFile{"r0512", 5, "csv"},
                      TReferenceFile{"r0512", 5, "bhg"}, TReferenceFile{"r0512", 5, "rzd"},
                      TReferenceFile{"b16", 1, "cds"}));

// A set beyond a format's limit is refused before a byte is written, naming
// the limit; boards whose number or seating the file loses are named.
TEST(ScorerFormats, RefuseWhatTheyCannotHoldAndNameWhatTheyLose) {
    struct TCase {
        const char* Word;
        int32_t Count;
        int64_t FirstBoard;
        int32_t Dealer;             // 0: by the rotation
        const char* Vulnerability;  // "": by the rotation
        std::string Refusal;        // empty: written
        std::string Message;        // empty: none
    };
    const TCase cases[] = {
        {"cds", 7, 250, 0, "", "номера сдач от 1 до 255, а у сдачи номер 256", ""},
        {"rzd", 65536, 1, 0, "", "не больше 65535 сдач", ""},
        {"rzd", 3, 7, 0, "", "", ""},
        {"bhg", 3, 2, 3, "", "", "у сдач 2, 4 они не те"},
        {"ber", 3, 1, 0, "All", "", "у сдач 1, 2, 3 они не те"},
        {"cds", 3, 1, 1, "None", "", "у сдач 2, 3 они не те"},
        {"csv", 3, 1, 2, "NS", "", ""},
    };
    TDeals deals;
    DealInto(deals, 4, 65536);
    for (const TCase& c : cases) {
        TDeals set;
        for (int32_t i = 0; i < c.Count; ++i) set.Add(*deals.GetDeal(i));
        TSeatingChoice seating;
        if (c.Dealer != 0) seating.Dealer = c.Dealer;
        if (*c.Vulnerability != '\0') seating.Vulnerability = c.Vulnerability;
        TRecordingSink sink;
        std::string bytes, refusal;
        try {
            bytes = Written(*DealFormatOfWord(c.Word),
                            TDealsAsBoards(set).FirstBoard(c.FirstBoard).Seating(seating));
        } catch (const TFormatLimitError& limit) {
            refusal = limit.what();
        }
        EXPECT_NE(refusal.find(c.Refusal), std::string::npos) << c.Word << ": " << refusal;
        EXPECT_EQ(refusal.empty(), c.Refusal.empty()) << c.Word;
        EXPECT_EQ(bytes.empty(), !c.Refusal.empty()) << c.Word;
        ASSERT_EQ(sink.messages.size(), c.Message.empty() ? 0u : 1u) << c.Word;
        if (!c.Message.empty()) {
            EXPECT_NE(sink.messages[0].text.find(c.Message), std::string::npos)
                << sink.messages[0].text;
        }
    }
}

}  // namespace
