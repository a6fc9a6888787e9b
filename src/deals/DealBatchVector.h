#pragma once
// The AVX2 path of DealBatch, compiled for that instruction set alone and only
// called where the processor has it.
#include <cstdint>

struct TDealBatch;

// Whether the processor (and the system) runs AVX2 instructions; always false
// where the program is not built for x86.
bool VectorDealingSupported();
// Eight deals side by side; only where VectorDealingSupported().
void DealBatchVector(uint32_t seed, TDealBatch& batch);
