#pragma once
// The condition language's hand functions and binary operators, one row each.
// The lexer's word classes, the type check, the tree evaluator, the compiler,
// the function menu and the dialog catalogue all read these rows: a new
// function is one row here, its hand function in the deal layer and its dialog.
#include <cstdint>
#include <span>
#include <string_view>

#include "text/StringFunctions.h"

class TDeal;
struct TCardSets;

// A hand function of a seat (1..4) and the arguments after it: suit codes or
// integers, -1 for an argument not written.
inline constexpr int32_t MaxFunctionArguments = 6;
using THandFunction = int32_t (*)(TDeal& deal, int32_t seat, const int32_t* arguments);
// The same function on a dealt deal held as card sets (the generator's loop).
using TCardSetFunction = int32_t (*)(const TCardSets& deal, int32_t seat, const int32_t* arguments);
// Whether the function's value is at least `least`, answered without
// computing the value where that is cheaper (double-dummy tricks).
using TAtLeastFunction = bool (*)(TDeal& deal, int32_t seat, const int32_t* arguments,
                                  int32_t least);

// How a call treats a parameter after the seat that is not written.
enum class TMissingArgument : uint8_t {
    Default,   // passed as -1; a written one must have the argument type
    Reported,  // reported as missing (code 8, the type's name) after the parameter before it
    Silent,    // the call has no type and no message of its own: the enclosing
               // operator or the final check reports; a written one must already
               // have the argument type
};

// What the compiled evaluator runs for a call: its own instruction for the
// calls every condition uses, the row's hand function for the rest.
enum class TCallCode : uint8_t { Hcp, SuitLength, Generic };

// What the help says of a function, in Russian.
struct TFunctionHelp {
    std::string_view Usage;  // the call with its parameters named: "HCP(позиция[, масть])"
    std::string_view Meaning;  // what the value is and what the parameters mean
    std::string_view Example;  // a whole condition that uses it
};

struct TFunctionRow {
    std::string_view Name;  // as menus and dialogs write it; the lexer matches it upper-cased
    TValueType Result;      // vtInteger or vtBoolean
    // The parameters after the seat that the function reads, a letter each:
    // 's' a suit, 'i' an integer.
    std::string_view Signature;
    TMissingArgument Missing;
    THandFunction Call;
    // The same on card sets; nullptr when the function needs the whole deal
    // (the compiled evaluator then makes one from the sets).
    TCardSetFunction CallOnCardSets;
    TCallCode Code;
    int32_t MenuGroup;  // the function menu puts a separator between groups
    TFunctionHelp Help;
    // 0 for a function that reads the hand's figures; more for one that solves
    // (double-dummy tricks): AND and OR evaluate their cheaper operand first.
    int32_t Cost = 0;
    // Comparisons of the value with a constant ask this instead, when given.
    TAtLeastFunction AtLeast = nullptr;

    constexpr int32_t ArgumentCount() const { return static_cast<int32_t>(Signature.size()); }
    // The type of parameter k (1: the one after the seat).
    constexpr TValueType ArgumentType(int32_t k) const {
        return Signature[static_cast<std::size_t>(k - 1)] == 's' ? vtSuit : vtInteger;
    }
};

// Every function, in the order of the function menu.
std::span<const TFunctionRow> FunctionTable();
// The row of an upper-case word, or nullptr when it names no function.
const TFunctionRow* FindFunction(std::string_view word);
bool IsFunctionName(std::string_view word);

enum class TOperatorCode : uint8_t {
    Or,
    And,
    Equal,
    GreaterOrEqual,
    Greater,
    LessOrEqual,
    Less,
    NotEqual,
    Plus,
    Minus,
};

struct TOperatorRow {
    std::string_view Word;
    TOperatorCode Code;
    TValueType OperandType;  // both operands: comparisons take integers only
    TValueType Result;
};

// The binary operators, in the order of the language's operator words.
std::span<const TOperatorRow> OperatorTable();
// The row of an upper-case word, or nullptr.
const TOperatorRow* FindOperator(std::string_view word);
// "NOT" or a binary operator's word.
bool IsOperator(std::string_view word);

// An integer operator (arithmetic or comparison) on two values: sums and
// differences wrap around in 32 bits, comparisons give 0 or 1. AND and OR,
// whose operands are truth values 0 or 1, give 0 or 1 as well.
int32_t ApplyOperator(TOperatorCode code, int32_t a, int32_t b);
