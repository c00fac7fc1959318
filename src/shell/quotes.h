#pragma once

#include <array>

// One saying of the banner and its source.
struct QuoteRow {
    const char16_t *saying;
    const char16_t *source;
};

inline constexpr int QuoteCount = 31;

// The sayings of the quotes banner, rows 1..31 at indices 0..30. Row 31
// repeats row 1, so that saying comes up twice as often as the others.
const std::array<QuoteRow, QuoteCount> &QuoteTable();

// The row drawn by `random`, a number uniform in [0, 1): row ⌊31 × random⌋ + 1.
const QuoteRow &PickQuote(double random);
