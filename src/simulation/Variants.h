#pragma once
// Variants for comparison: a name and an ordered list of rules; a rule is an
// optional condition in the condition language and a contract with its
// declarer. On a deal the first rule whose condition holds gives the
// variant's contract; the last rule has no condition.
//
// The text of the --variants file and of the window's editor:
//
//     Стейман:
//     SuitLength(N,HE) >= 4 => 4H N
//     3NT N
//
// A line "NAME:" starts a variant; every other non-blank line is a rule,
// "CONDITION => CONTRACT DECLARER" or "CONTRACT DECLARER". The one-line form
// of --variant is "NAME: CONDITION => CONTRACT DECLARER; ...; CONTRACT DECLARER".
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "simulation/Scoring.h"
#include "text/Status.h"

struct TVariantRule {
    std::string Condition;       // empty: the rule always holds
    int32_t ConditionStart = 0;  // the character offset of the condition in the text read
    int32_t Line = 0;            // the 1-based line of the rule in a variants text, else 0
    TContract Contract;
};

struct TVariant {
    std::string Name;
    std::vector<TVariantRule> Rules;
};

inline constexpr int32_t MinVariants = 2;
inline constexpr int32_t MaxVariants = 8;

// Reads the variants text (UTF-8, LF or CR LF line ends) and appends its
// variants. Contracts and the form are checked here; conditions are checked
// when a comparison is prepared. A refusal is a Usage status (Text the
// whole text, Line and Position at the fault) and appends nothing.
TStatus ReadVariantsText(std::string_view text, std::vector<TVariant>& variants);

// Reads the one-line form of --variant and appends its variant; as above.
TStatus ReadVariantLine(std::string_view text, std::vector<TVariant>& variants);

// The variants text of the variants, one rule a line, which reads back to them.
std::string VariantsText(const std::vector<TVariant>& variants);
