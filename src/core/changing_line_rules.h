#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// How a cast is read, by its number of changing lines 0..6. The texts are
// advice for the reader; the program does not act on them.
inline constexpr int ChangingLineRuleCount = 7;
const std::array<const char16_t *, ChangingLineRuleCount> &ChangingLineRules();

// The rule for `changingLineCount` lines; any count outside 1..6 gives row 0.
QString ChangingLineRule(int changingLineCount);

// The changing-line field of a record and of the casting window:
// "变1爻" … "变6爻", or "未变爻" when no line changes.
QString ChangingLineField(int changingLineCount);

// The rule for a stored changing-line field: "变1爻" … "变6爻" choose their
// row, anything else row 0.
QString ChangingLineRuleOfField(QStringView field);

// Help topics: one for the rules in general, and one per rule, chosen by the
// first two characters of the rule label. A label that matches no rule (such
// as the caption shown before the first cast) has no topic of its own.
inline constexpr int ChangingLineRulesHelpTopic = 902;
std::optional<int> ChangingLineRuleHelpTopic(QStringView ruleLabel);
