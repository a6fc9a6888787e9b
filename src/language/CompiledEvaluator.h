#pragma once
// A checked condition tree compiled for the per-deal loop. Types never depend
// on the deal, so once the check has passed every node's operation is known:
// the tree becomes a flat program over 32-bit slots (integers, and truth values
// as 0 or 1) that gives every deal the same keep/reject decision as binding
// and evaluating the tree, without any text conversion.
//
// Differences that cannot change a decision: AND and OR skip their right
// operand once the left one decides, parts without a call are folded at
// compile time, and parameters beyond a function's signature are left out
// (the hand functions have no effect besides filling the hand's caches).
#include <array>
#include <cstdint>
#include <vector>

#include "deals/CardSets.h"
#include "deals/Deal.h"
#include "language/FunctionTable.h"

class TLexem;
class TNonTerminal;

class TCompiledEvaluator {
public:
    // Deeper trees are left to the tree's own evaluation, which does not recurse.
    static constexpr int32_t MaxDepth = 200;

    // Compiles a tree that passed the type check with a Boolean result. False,
    // leaving nothing compiled, for a tree nested deeper than MaxDepth or of a
    // shape the compiler does not know; the caller then evaluates the tree.
    bool Compile(const TNonTerminal& root);
    void Clear();
    bool IsCompiled() const { return compiled_; }

    // Whether the deal is kept; only after a successful Compile. Allocates
    // nothing. One evaluator serves one thread at a time (it owns its slots).
    bool Matches(TDeal& deal);
    // The same decision for a dealt deal held as card sets; a call without a
    // card-set form (double-dummy tricks) is asked of the deal the sets make.
    bool Matches(const TCardSets& deal);

    // The number of instructions run for a deal at most (0 for a constant condition).
    int32_t InstructionCount() const { return static_cast<int32_t>(program_.size()); }

    // How many comparisons are asked as questions (Compare instructions).
    int32_t QuestionCount() const;

    // The summed costs (TFunctionRow::Cost) of the calls in a part of a tree:
    // 0 when nothing in it solves deals.
    static int32_t CostOf(const TLexem& part);

    enum class TOpCode : uint8_t {
        Operator,  // an integer operator of the operator table on slots a0 and a1
        Not,
        Copy,
        SkipIfFalse,  // when slot a0 is 0: result 0 and skip the next a1 instructions
        SkipIfTrue,   // when slot a0 is not 0: result 1 and skip the next a1 instructions
        Hcp,          // the calls every condition uses, without the function table
        SuitLength,
        Call,  // the row's hand function, on the slots of its arguments
        // The row's value compared with the constant Bound by Operator, asked
        // as one or two questions "is the value at least k?" (the row's AtLeast)
        Compare,
    };

    struct TInstruction {
        TOpCode Op = TOpCode::Copy;
        TOperatorCode Operator = TOperatorCode::Plus;  // Operator: which one
        int32_t Seat = 0;                              // calls: the seat code
        int32_t Suit = 0;  // HCP and SUITLENGTH: the suit code (-1: the whole hand)
        int32_t Result = 0;
        THandFunction Function = nullptr;                  // Call: the row's hand function
        TCardSetFunction OnCardSets = nullptr;             // Call: the same on card sets, if any
        TAtLeastFunction AtLeast = nullptr;                // Compare: the row's question
        int32_t Bound = 0;                                 // Compare: the constant
        std::array<int32_t, MaxFunctionArguments> Args{};  // operand slots
    };

private:
    struct TOperand;
    class TCompiler;
    class TOnDeal;
    class TOnCardSets;

    // Runs the program, asking `deal` for the calls' values.
    template <class TAsk>
    bool Run(TAsk& deal);

    static constexpr std::size_t SlotPadding = 64 / sizeof(int32_t);

    std::vector<TInstruction> program_;
    std::vector<int32_t> slots_;
    int32_t resultSlot_ = 0;
    bool compiled_ = false;
    TDeal fromCardSets_;  // the deal of the card sets, for calls without a card-set form
};
