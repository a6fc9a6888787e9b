// The function table against the rest of the language: its words belong to no
// other class, and the type check asks of each call exactly what its row says.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "ConditionTestSupport.h"
#include "deals/Deal.h"
#include "language/ConditionCheck.h"
#include "language/FunctionTable.h"
#include "support/RecordingSink.h"

namespace {

std::string UpperCase(std::string_view word) {
    std::string upper(word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

// A call of the function with every parameter written: "SP" for a suit, "1"
// for an integer; parameter `wrong` (1-based, 0 for none) gets the other type.
std::string CallWith(const TFunctionRow& function, int32_t wrong, int32_t& wrongPosition) {
    std::string text = std::string(function.Name) + "(N";
    for (int32_t k = 1; k <= function.ArgumentCount(); ++k) {
        text += ", ";
        if (k == wrong) wrongPosition = static_cast<int32_t>(text.size());
        const bool suit = (function.ArgumentType(k) == vtSuit) != (k == wrong);
        text += suit ? "SP" : "1";
    }
    text += ")";
    return function.Result == vtInteger ? text + " >= 0" : text;
}

TEST(FunctionTable, NamesAreUniqueAndBelongToNoOtherClass) {
    std::set<std::string> names;
    for (const TFunctionRow& function : FunctionTable()) {
        const std::string word = UpperCase(function.Name);
        EXPECT_TRUE(names.insert(word).second) << word;
        EXPECT_EQ(FindFunction(word), &function) << word;
        EXPECT_FALSE(IsValue(word) || IsOperator(word) || IsSeparator(word)) << word;
        EXPECT_TRUE(function.Result == vtInteger || function.Result == vtBoolean) << word;
        EXPECT_NE(function.Call, nullptr) << word;
    }
    for (const TOperatorRow& op : OperatorTable()) EXPECT_EQ(FindOperator(op.Word), &op);
}

TEST(FunctionTable, TheTypeCheckAsksOfEachCallWhatItsRowSays) {
    for (const TFunctionRow& function : FunctionTable()) {
        SCOPED_TRACE(std::string(function.Name));
        int32_t unused = 0;
        {
            TRecordingSink sink;
            TCompiledCondition condition;
            EXPECT_TRUE(condition.Prepare(CallWith(function, 0, unused), TestRules()));
            EXPECT_TRUE(sink.messages.empty());
        }
        for (int32_t wrong = 1; wrong <= function.ArgumentCount(); ++wrong) {
            TRecordingSink sink;
            TCompiledCondition condition;
            int32_t position = -1;
            const std::string text = CallWith(function, wrong, position);
            EXPECT_FALSE(condition.Prepare(text, TestRules())) << text;
            if (function.Missing == TMissingArgument::Silent) continue;  // the final check reports
            ASSERT_EQ(sink.messages.size(), 1u) << text;
            EXPECT_NE(sink.messages[0].text.find(TypeName(function.ArgumentType(wrong))),
                      std::string::npos)
                << text << ": " << sink.messages[0].text;
            EXPECT_EQ(sink.messages[0].position, position) << text;
        }
    }
}

// Every function's card-set form gives what the deal's own gives, for every
// seat (the ones outside 1..4 too) and arguments around and beyond the limits
// of suits, ranks, lengths and points.
TEST(FunctionTable, CardSetFormsGiveWhatTheDealGives) {
    std::mt19937 random(8122026u);
    auto argument = [&](char type) {
        if (type == 's') return static_cast<int32_t>(random() % 7) - 1;  // -1 (left out) .. 5
        switch (random() % 4) {
            case 0:
                return -1;
            case 1:
                return static_cast<int32_t>(random() % 16) - 2;  // lengths, ranks, counts
            case 2:
                return static_cast<int32_t>(random() % 42) - 2;  // points
            default:
                return static_cast<int32_t>(random()) % 100;
        }
    };
    uint32_t seed = 4242u;
    TDeal deal;
    int compared = 0;
    for (int d = 0; d < 2000; ++d) {
        deal.DealFromSeed(seed);
        const TCardSets sets = deal.CardSets();
        for (const TFunctionRow& function : FunctionTable()) {
            if (function.CallOnCardSets == nullptr) {
                EXPECT_GT(function.Cost, 0) << function.Name;  // only solving functions go without
                continue;
            }
            for (int k = 0; k < 8; ++k) {
                const int32_t seat = static_cast<int32_t>(random() % 7) - 1;
                int32_t arguments[MaxFunctionArguments] = {};
                for (std::size_t a = 0; a < function.Signature.size(); ++a)
                    arguments[a] = argument(function.Signature[a]);
                TDeal copy = deal;
                ASSERT_EQ(function.CallOnCardSets(sets, seat, arguments),
                          function.Call(copy, seat, arguments))
                    << function.Name << " seat " << seat << " deal " << deal.ToText();
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 200000);
}

}  // namespace
