#pragma once

#include <functional>

// The arithmetic of one change of the yarrow-stalk procedure.

// Uniform numbers in [0, 1), one per change.
using RandomSource = std::function<double()>;

// A generator seeded once from the operating system's entropy source.
RandomSource SystemRandomSource();
// The same generator with a fixed seed, for repeatable casts.
RandomSource SeededRandomSource(unsigned long long seed);

inline constexpr int StalksPerLine = 49;
inline constexpr int StalksPerGroup = 4;

// The left heap of a split of `stalks`: floor(r × (stalks − 8) + 4), uniform
// over 4 … stalks − 5 so both heaps keep at least four stalks. The result
// always stays inside that range.
int LeftHeapOfSplit(int stalks, double r);

// One counting tick on a heap: while the heap holds more than four, four are
// taken from it and added to `counted`. Returns false when the heap is down to
// its remainder 1 … 4 and nothing was counted.
bool CountOffGroup(int &heap, int &counted);
