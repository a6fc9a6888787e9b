#pragma once
// The AVX2 path of DealBatch, compiled for that instruction set alone and only
// called where the processor has it.
#include <cstdint>

struct TDealBatch;
struct TCardSets;

// Whether the processor (and the system) runs AVX2 instructions; always false
// where the program is not built for x86.
bool VectorDealingSupported();
// Eight deals side by side; only where VectorDealingSupported().
void DealBatchVector(uint32_t seed, TDealBatch& batch);

// Places the cards of eight deals whose draws are given: draws[card - 1][j]
// is deal j's number below 53 - card, for cards 1..51; each card goes to the
// seat whose free places that number falls in, as DealBatch places them, and
// the ace of spades to the place left. Only where VectorDealingSupported().
void PlaceDrawsVector(const uint32_t (*draws)[8], TCardSets* deals);
