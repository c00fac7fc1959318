#pragma once

#include "core/yarrow_stalks.h"

#include <QList>

#include <array>
#include <memory>

// The draw that makes the left heap of a split of `stalks` hold `left`.
inline double DrawForLeftHeap(int left, int stalks)
{
    return (left - 4 + 0.5) / (stalks - 8);
}

// A random source that splits the stalks so the lines come out as
// `lineValues` says, line after line, and from the first value again after
// the last. It counts the stalks in play itself, as the procedure does.
inline RandomSource LineScriptSource(const QList<int> &lineValues)
{
    // Left heaps that give each line value: the stalks carried after the
    // three changes are 24, 28, 32 or 36 (four times the value).
    static constexpr std::array<std::array<int, 3>, 4> LeftHeapsOfValue{{
        {4, 4, 4}, // 6: 49 → 40 → 32 → 24
        {4, 4, 5}, // 7: 49 → 40 → 32 → 28
        {4, 5, 5}, // 8: 49 → 40 → 36 → 32
        {5, 5, 5}, // 9: 49 → 44 → 40 → 36
    }};
    struct State {
        qsizetype change = 0;
        int stalks = StalksPerLine;
    };
    auto state = std::make_shared<State>();
    return [lineValues, state] {
        const int value = lineValues[state->change / 3 % lineValues.size()];
        const int left = LeftHeapsOfValue[value - 6][state->change % 3];
        const double draw = DrawForLeftHeap(left, state->stalks);
        // The hung stalk and the remainders of both heaps (1 … 4 each) leave play.
        const auto remainder = [](int heap) { return (heap - 1) % StalksPerGroup + 1; };
        state->stalks -= 1 + remainder(left) + remainder(state->stalks - left - 1);
        if (++state->change % 3 == 0)
            state->stalks = StalksPerLine;
        return draw;
    };
}
