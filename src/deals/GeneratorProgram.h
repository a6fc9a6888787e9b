#pragma once
// The compiled form of a checked condition, which the generator evaluates in
// place of the tree. Types never depend on the deal, so once the check has
// passed every node's operation is known: the program holds integers and truth
// values instead of texts, and gives each deal the same keep/reject decision as
// binding the tree to it and reading the root's value.
#include <cstdint>
#include <vector>

class TDeal;
class TNonTerminal;

class TConditionProgram {
public:
    // Compiles the root of a tree that passed the check with a Boolean result.
    // False when the tree holds a form the program does not cover (or is deeper
    // than MaxDepth); the caller then evaluates the tree itself.
    bool Compile(TNonTerminal& root);
    bool IsCompiled() const { return result_ >= 0; }

    // Whether the deal is kept: the root's value is not 0. Allocates nothing.
    bool Matches(TDeal& deal);

    static constexpr int32_t MaxDepth = 1000;

    // What one step computes into its register.
    enum class TOp : uint8_t {
        Add, Subtract,  // wrap around in 32 bits
        Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual,
        Or, And, Not,
        Hcp, SuitLength, SuitByLength,
        Range, Balanced, Polish1c, Prec1d, Unbal1d, Prec1h, Prec1s, Prec2c, Multy, Suits, Shape,
    };

private:
    struct TStep {
        TOp Op = TOp::Add;
        int32_t Target = 0;        // the register written
        int32_t Operands[7] = {};  // registers: binary operands, or the seat and the arguments of a call
    };

    // Emits the steps of a subtree; the register holding its value, or -1.
    int32_t CompileExpression(const TNonTerminal& node, int32_t depth);
    int32_t CompilePrimary(const TNonTerminal& expression, int32_t depth);
    int32_t CompileCall(const TNonTerminal& call, int32_t depth);
    int32_t Emit(TStep step);
    // A register that holds the value from the start; no step computes it.
    int32_t Constant(int32_t value);

    std::vector<TStep> steps_;
    std::vector<int32_t> registers_;  // constants first filled by Compile
    int32_t result_ = -1;             // the root's register
};
