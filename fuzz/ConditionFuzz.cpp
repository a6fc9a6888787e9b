// Condition text of any content through lexing, parsing, the type check and
// evaluation against a few dealt deals. Every text either prepares or is
// refused with one message; nothing crashes, overflows the stack or leaks.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "deals/Deal.h"
#include "deals/RandomSource.h"
#include "language/ConditionCheck.h"
#include "language/Grammar.h"
#include "text/MessageSink.h"

namespace {

// Counts the messages of one Prepare: at most one may be shown.
class TCountingSink : public TMessageSink {
public:
    void Show(const std::string&, int32_t) override { ++count; }
    int count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::unique_ptr<TRuleList> rules = CreateConditionRules();
    static TCountingSink sink;
    SetMessageSink(&sink);
    sink.count = 0;

    std::string_view text(reinterpret_cast<const char*>(data), size);
    TCompiledCondition condition;
    bool ready = condition.Prepare(text, *rules);
    if (sink.count > 1) __builtin_trap();
    if (ready && sink.count != 0) __builtin_trap();
    if (!ready) return 0;

    uint32_t seed = 12345;
    TDeal deal;
    for (int i = 0; i < 4; ++i) {
        deal.DealFromSeed(seed);
        condition.Matches(deal);
    }
    return 0;
}
