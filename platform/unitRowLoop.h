#pragma once
// Marks a loop over a row of pixels to be built twice, plain and for AVX2, the processor's
// own choosing between them when the program starts.

// Clang before 16 leaves a cloned function that its own unit does not call without a symbol.
#if defined(__clang__) && __clang_major__ < 16
#define PELBROOK_ROW_LOOP
#else
#define PELBROOK_ROW_LOOP __attribute__((target_clones("avx2", "default")))
#endif
