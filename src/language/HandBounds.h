#pragma once
// The bounds every hand of a deal that satisfies a condition meets, found by
// interval reasoning over the checked tree: each Boolean part gives the
// bounds of the deals where it is true and of those where it is false, each
// integer part a sum of hand figures (lengths, points, the n-th longest
// suit) with factors. AND meets the bounds, OR takes the smallest bounds
// around both, NOT swaps them; a comparison of such sums bounds each figure
// by the others' widest values. The hand functions whose answer depends only
// on lengths and points give what their rules allow; any other part bounds
// nothing. The bounds are never tighter than the condition: a deal that
// meets the condition always meets them.
#include <array>

#include "deals/DirectedDraw.h"

class TNonTerminal;

// Seat 1..4's bounds at index seat - 1; all four empty when no deal can
// satisfy the condition. A tree that is not a checked Boolean condition, or
// one deeper than the reasoning goes, bounds nothing.
std::array<THandBounds, 4> ConditionBounds(const TNonTerminal& root);
