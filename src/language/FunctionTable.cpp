#include "language/FunctionTable.h"

#include <algorithm>
#include <array>

#include "analysis/DoubleDummy.h"
#include "deals/BridgeTerms.h"
#include "deals/Deal.h"

namespace {

// The object and the number of arguments after the seat of a hand function of
// TDeal or TCardSets.
template <typename>
struct TMethodTraits;
template <typename TResult, typename TClass, typename... TArguments>
struct TMethodTraits<TResult (TClass::*)(int32_t, TArguments...)> {
    using TObject = TClass;
    static constexpr std::size_t Count = sizeof...(TArguments);
};
template <typename TResult, typename TClass, typename... TArguments>
struct TMethodTraits<TResult (TClass::*)(int32_t, TArguments...) const> {
    using TObject = const TClass;
    static constexpr std::size_t Count = sizeof...(TArguments);
};

// Each row's hand function: the deal's own, given the row's arguments.
template <auto Method, std::size_t... I>
int32_t Ask(typename TMethodTraits<decltype(Method)>::TObject& deal, int32_t seat, const int32_t* a,
            std::index_sequence<I...>) {
    return static_cast<int32_t>((deal.*Method)(seat, a[I]...));
}
template <auto Method>
int32_t Call(typename TMethodTraits<decltype(Method)>::TObject& deal, int32_t seat,
             const int32_t* arguments) {
    constexpr std::size_t count = TMethodTraits<decltype(Method)>::Count;
    static_assert(count <= MaxFunctionArguments);
    return Ask<Method>(deal, seat, arguments, std::make_index_sequence<count>());
}

// Double-dummy tricks of the seat as declarer in a suit 1..4, or notrump for
// -1 (the suit not written); -1 for a damaged deal or another suit.
// The solver's strain of a suit argument: -1 for a suit it does not know.
int32_t TricksStrain(int32_t suit) {
    if (suit == -1) return NoTrump;
    return suit >= Clubs && suit <= Spades ? suit : -1;
}

int32_t SolvedTricks(TDeal& deal, int32_t seat, const int32_t* arguments) {
    const int32_t strain = TricksStrain(arguments[0]);
    return strain < 0 ? -1 : DoubleDummyTricks(deal, seat, strain);
}

// SolvedTricks(...) >= least, as a question with a target.
bool SolvedAtLeast(TDeal& deal, int32_t seat, const int32_t* arguments, int32_t least) {
    const int32_t strain = TricksStrain(arguments[0]);
    if (strain < 0) return least <= -1;
    return DoubleDummyAtLeast(deal, seat, strain, least);
}

using M = TMissingArgument;
constexpr TFunctionRow Functions[] = {
    // Counts.
    {"HCP",
     vtInteger,
     "s",
     M::Default,
     Call<&TDeal::HCP>,
     Call<&TCardSets::HCP>,
     TCallCode::Hcp,
     0,
     {"HCP(позиция[, масть])",
      "Пункты (туз 4, король 3, дама 2, валет 1): всей руки или, если задана масть, одной масти.",
      "HCP(N) >= 12"}},
    {"SuitLength",
     vtInteger,
     "s",
     M::Reported,
     Call<&TDeal::SuitLength>,
     Call<&TCardSets::SuitLength>,
     TCallCode::SuitLength,
     0,
     {"SuitLength(позиция, масть)", "Длина масти.", "SuitLength(S, Spades) >= 5"}},
    {"SuitByLength",
     vtInteger,
     "i",
     M::Silent,
     Call<&TDeal::SuitByLength>,
     Call<&TCardSets::SuitByLength>,
     TCallCode::Generic,
     0,
     {"SuitByLength(позиция, n)",
      "Длина n-й по длине масти руки: 1 — самой длинной, 4 — самой короткой; при другом n — 0.",
      "SuitByLength(E, 1) >= 6"}},
    // Points and shapes.
    {"Range",
     vtBoolean,
     "ii",
     M::Reported,
     Call<&TDeal::Range>,
     Call<&TCardSets::Range>,
     TCallCode::Generic,
     1,
     {"Range(позиция, от, до)", "Истина, если пунктов у руки от «от» до «до» включительно.",
      "Range(N, 15, 17)"}},
    {"Suits",
     vtBoolean,
     "iiiii",
     M::Reported,
     Call<&TDeal::Suits>,
     Call<&TCardSets::Suits>,
     TCallCode::Generic,
     1,
     {"Suits(позиция, режим, пики, червы, бубны, трефы)",
      "Длины мастей в порядке пики, червы, бубны, трефы: при режиме меньше нуля длина не больше "
      "заданной, при нуле — ровно такая, при режиме больше нуля — не меньше; отрицательная длина — "
      "о масти ничего не сказано.",
      "Suits(S, 1, 5, 4, -1, -1)"}},
    {"Shape",
     vtBoolean,
     "iiiii",
     M::Reported,
     Call<&TDeal::Shape>,
     Call<&TCardSets::Shape>,
     TCallCode::Generic,
     1,
     {"Shape(позиция, режим, l1, l2, l3, l4)",
      "То же для длин мастей по убыванию, какие бы масти это ни были: Shape(N, 0, 5, 3, 3, 2) — "
      "любая рука 5-3-3-2.",
      "Shape(N, 0, 4, 4, 3, 2)"}},
    // Openings.
    {"Balanced",
     vtBoolean,
     "ii",
     M::Default,
     Call<&TDeal::Balanced>,
     Call<&TCardSets::Balanced>,
     TCallCode::Generic,
     2,
     {"Balanced(позиция[, от, до])",
      "Равномерная рука: 4-3-3-3, 4-4-3-2 или 5-3-3-2 с пятёркой в миноре; «от» и «до» "
      "ограничивают пункты, пропущенные — без предела.",
      "Balanced(N, 15, 17)"}},
    {"Polish1c",
     vtBoolean,
     "iiii",
     M::Default,
     Call<&TDeal::Polish1c>,
     Call<&TCardSets::Polish1c>,
     TCallCode::Generic,
     2,
     {"Polish1c(позиция[, a1, a2, a3, a4])",
      "Открытие 1♣ «Берёзки»: равномерная рука с a1–a2 (12–14) или от a4 (18) пунктов, "
      "неравномерная — от a3 (16) пунктов.",
      "Polish1c(N)"}},
    {"Unbal1d",
     vtBoolean,
     "ii",
     M::Default,
     Call<&TDeal::Unbal1d>,
     Call<&TCardSets::Unbal1d>,
     TCallCode::Generic,
     2,
     {"Unbal1d(позиция[, от, до])",
      "Неравномерная рука с «от»–«до» (11–15) пунктами, бубнами от четырёх и мажорами не длиннее "
      "четырёх.",
      "Unbal1d(S)"}},
    {"Prec1d",
     vtBoolean,
     "iiii",
     M::Default,
     Call<&TDeal::Prec1d>,
     Call<&TCardSets::Prec1d>,
     TCallCode::Generic,
     2,
     {"Prec1d(позиция[, a1, a2, a3, a4])",
      "Открытие 1♦ «Прецижн»: равномерная рука с a1–a2 (11–14) пунктами или неравномерная с a3–a4 "
      "(11–15), бубнами от четырёх и мажорами не длиннее четырёх.",
      "Prec1d(N)"}},
    {"Prec1h",
     vtBoolean,
     "ii",
     M::Default,
     Call<&TDeal::Prec1h>,
     Call<&TCardSets::Prec1h>,
     TCallCode::Generic,
     2,
     {"Prec1h(позиция[, от, до])",
      "Открытие 1♥: «от»–«до» (11–15) пунктов, червы от пяти и длиннее пик хотя бы на две карты.",
      "Prec1h(N)"}},
    {"Prec1s",
     vtBoolean,
     "ii",
     M::Default,
     Call<&TDeal::Prec1s>,
     Call<&TCardSets::Prec1s>,
     TCallCode::Generic,
     2,
     {"Prec1s(позиция[, от, до])",
      "Открытие 1♠: «от»–«до» (11–15) пунктов, пики от пяти, червы не длиннее пик больше чем на "
      "карту.",
      "Prec1s(N)"}},
    {"Prec2c",
     vtBoolean,
     "ii",
     M::Default,
     Call<&TDeal::Prec2c>,
     Call<&TCardSets::Prec2c>,
     TCallCode::Generic,
     2,
     {"Prec2c(позиция[, от, до])",
      "Открытие 2♣: «от»–«до» (11–15) пунктов, пять треф с четвёркой в мажоре или от шести треф "
      "без второй пятёрки.",
      "Prec2c(N)"}},
    {"Multy",
     vtBoolean,
     "iiiiii",
     M::Default,
     Call<&TDeal::Multy>,
     Call<&TCardSets::Multy>,
     TCallCode::Generic,
     2,
     {"Multy(позиция[, a1, a2, a3, a4, a5, a6])",
      "Слабое открытие в мажоре (блок): шесть или семь карт в мажоре и a1–a2 (6–10) пунктов; a3 — "
      "наименьшее число пунктов в шестёрке (0), a4 — наибольшее в семёрке (10), a5 и a6 — "
      "наибольшее в боковой четвёрке и пятёрке (10).",
      "Multy(N, 6, 10, 4)"}},
    // Hand evaluation.
    {"Losers",
     vtInteger,
     "s",
     M::Default,
     Call<&TDeal::Losers>,
     Call<&TCardSets::Losers>,
     TCallCode::Generic,
     3,
     {"Losers(позиция[, масть])",
      "Проигрышки: в каждой масти недостающие туз, король и дама среди первых min(длина, 3) карт; "
      "всей руки или одной масти.",
      "Losers(N) <= 7"}},
    {"Controls",
     vtInteger,
     "s",
     M::Default,
     Call<&TDeal::Controls>,
     Call<&TCardSets::Controls>,
     TCallCode::Generic,
     3,
     {"Controls(позиция[, масть])", "Контроли: туз — 2, король — 1; всей руки или одной масти.",
      "Controls(N) >= 5"}},
    {"TopHonours",
     vtInteger,
     "si",
     M::Reported,
     Call<&TDeal::TopHonours>,
     Call<&TCardSets::TopHonours>,
     TCallCode::Generic,
     3,
     {"TopHonours(позиция, масть, n)", "Сколько из n старших карт масти у руки.",
      "TopHonours(S, Hearts, 3) >= 2"}},
    {"HasCard",
     vtBoolean,
     "si",
     M::Reported,
     Call<&TDeal::HasCard>,
     Call<&TCardSets::HasCard>,
     TCallCode::Generic,
     3,
     {"HasCard(позиция, масть, ранг)",
      "Есть ли у руки карта: ранг 2–10, 11 — валет, 12 — дама, 13 — король, 14 — туз.",
      "HasCard(W, Spades, 14)"}},
    // Double-dummy tricks of a declarer; the suit left out asks for notrump.
    {"Tricks",
     vtInteger,
     "s",
     M::Default,
     SolvedTricks,
     nullptr,
     TCallCode::Generic,
     4,
     {"Tricks(позиция[, масть])",
      "Взятки, которые берёт разыгрывающий с этой позиции в открытую (двойной болван), с козырем в "
      "масти или без масти — в бескозырном. Считается медленно: ставьте его последним через AND, "
      "после быстрых условий.",
      "Balanced(N, 15, 17) AND (Tricks(N) >= 9)"},
     1,
     SolvedAtLeast},
};
static_assert(std::ranges::all_of(Functions, [](const TFunctionRow& row) {
    return row.ArgumentCount() <= MaxFunctionArguments &&
           row.Signature.find_first_not_of("si") == std::string_view::npos;
}));

constexpr TOperatorRow Operators[] = {
    {"OR", TOperatorCode::Or, vtBoolean, vtBoolean},
    {"AND", TOperatorCode::And, vtBoolean, vtBoolean},
    {"=", TOperatorCode::Equal, vtInteger, vtBoolean},
    {">=", TOperatorCode::GreaterOrEqual, vtInteger, vtBoolean},
    {">", TOperatorCode::Greater, vtInteger, vtBoolean},
    {"<=", TOperatorCode::LessOrEqual, vtInteger, vtBoolean},
    {"<", TOperatorCode::Less, vtInteger, vtBoolean},
    {"<>", TOperatorCode::NotEqual, vtInteger, vtBoolean},
    {"+", TOperatorCode::Plus, vtInteger, vtInteger},
    {"-", TOperatorCode::Minus, vtInteger, vtInteger},
};

// The word, already upper case, against a name in any case (names are ASCII).
bool SameWord(std::string_view word, std::string_view name) {
    return std::ranges::equal(word, name, [](char w, char n) {
        return w == (n >= 'a' && n <= 'z' ? static_cast<char>(n - 'a' + 'A') : n);
    });
}

}  // namespace

std::span<const TFunctionRow> FunctionTable() { return Functions; }

const TFunctionRow* FindFunction(std::string_view word) {
    for (const TFunctionRow& row : Functions)
        if (SameWord(word, row.Name)) return &row;
    return nullptr;
}

bool IsFunctionName(std::string_view word) { return FindFunction(word) != nullptr; }

std::span<const TOperatorRow> OperatorTable() { return Operators; }

const TOperatorRow* FindOperator(std::string_view word) {
    for (const TOperatorRow& row : Operators)
        if (row.Word == word) return &row;
    return nullptr;
}

bool IsOperator(std::string_view word) { return word == "NOT" || FindOperator(word) != nullptr; }

int32_t ApplyOperator(TOperatorCode code, int32_t a, int32_t b) {
    switch (code) {
        case TOperatorCode::Plus:
            return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
        case TOperatorCode::Minus:
            return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
        case TOperatorCode::Less:
            return a < b;
        case TOperatorCode::LessOrEqual:
            return a <= b;
        case TOperatorCode::Greater:
            return a > b;
        case TOperatorCode::GreaterOrEqual:
            return a >= b;
        case TOperatorCode::Equal:
            return a == b;
        case TOperatorCode::NotEqual:
            return a != b;
        case TOperatorCode::Or:
            return a != 0 || b != 0;
        case TOperatorCode::And:
            return a != 0 && b != 0;
    }
    return 0;
}
