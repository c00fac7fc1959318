#include "core/changing_line_rules.h"

namespace {

constexpr std::array<const char16_t *, ChangingLineRuleCount> rules{
    u"凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。",
    u"变1爻：则以本卦变爻辞占。",
    u"变2爻：则以本卦二变爻辞占，仍以上爻为主。",
    u"变3爻：则占本卦及之卦之彖辞，而以本卦为贞，之卦为悔。前十卦主贞，后十卦主悔。",
    u"变4爻：则以之卦二不变爻占，仍以下爻为主。",
    u"变5爻：则以之卦不变爻占。",
    u"变6爻：则《乾》、《坤》占“二用”，余卦占之卦彖辞。",
};

struct HelpTopicRow {
    const char16_t *labelStart;
    int topic;
};

constexpr std::array<HelpTopicRow, ChangingLineRuleCount> helpTopics{{
    {u"凡卦", 920},
    {u"变1", 921},
    {u"变2", 922},
    {u"变3", 923},
    {u"变4", 924},
    {u"变5", 925},
    {u"变6", 926},
}};

bool IsChangingCount(int count)
{
    return count >= 1 && count < ChangingLineRuleCount;
}

} // namespace

const std::array<const char16_t *, ChangingLineRuleCount> &ChangingLineRules()
{
    return rules;
}

QString ChangingLineRule(int changingLineCount)
{
    return QString::fromUtf16(rules[IsChangingCount(changingLineCount) ? changingLineCount : 0]);
}

QString ChangingLineField(int changingLineCount)
{
    if (!IsChangingCount(changingLineCount))
        return QStringLiteral("未变爻");
    return QStringLiteral("变") + QString::number(changingLineCount) + QStringLiteral("爻");
}

QString ChangingLineRuleOfField(QStringView field)
{
    for (int count = 1; count < ChangingLineRuleCount; ++count) {
        if (field == ChangingLineField(count))
            return ChangingLineRule(count);
    }
    return ChangingLineRule(0);
}

std::optional<int> ChangingLineRuleHelpTopic(QStringView ruleLabel)
{
    const QStringView start = ruleLabel.left(2);
    for (const HelpTopicRow &row : helpTopics) {
        if (start == QStringView(row.labelStart))
            return row.topic;
    }
    return std::nullopt;
}
