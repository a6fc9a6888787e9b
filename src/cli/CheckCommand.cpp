// korvana-cli check: the check a generator run makes before it starts, alone.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ConditionOptions.h"
#include "deals/DealCollection.h"
#include "deals/RandomSource.h"
#include "engine/Generator.h"
#include "language/Grammar.h"

namespace {

// Nothing runs, so nothing is ever asked of the owner.
class TNoOwner : public TGeneratorOwner {
public:
    void ReportProgress(int32_t, int64_t) override {}
    void ShowDeal(int32_t) override {}
    void GenerationFinished(int32_t, int32_t) override {}
};

constexpr TOptionRow kCheckOptions[] = {ConditionOption(TAlternative::ExactlyOne),
                                        kConditionFileOption};

}  // namespace

int RunCheck(const TArguments& arguments);

const TCommand kCheckCommand = {
    .Name = "check",
    .Summary = "проверяет условие, как прогон: ok или первая ошибка и её позиция",
    .Options = kCheckOptions,
    .Run = RunCheck};

int RunCheck(const TArguments& arguments) {
    const TConditionSource source = ConditionSource(arguments);
    TGeneratorInputs inputs;
    if (!ReadConditionLines(source, inputs.ConditionLines)) return ExitFileFailed;
    std::unique_ptr<TRuleList> rules = CreateConditionRules();
    inputs.Rules = rules.get();
    TRandomSource random;
    inputs.Source = &random;
    TDeals deals;
    TNoOwner owner;
    TGenerator generator(owner, deals, inputs);
    if (!PrepareConditionOrReport(generator, inputs.ConditionLines)) return ExitConditionError;
    std::puts("ok");
    return std::fflush(stdout) == 0 ? ExitDone : ExitOutputFailed;
}
