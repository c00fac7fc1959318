#include "texts/trigrams.h"

namespace {

// The reference text has always shown one blank after the last element of 兑.
const std::array<TrigramRow, TrigramCount> trigramRows{{
    {u"乾", u"111", u"天", u"父", u"马", u"首", u"健", u"金", u""},
    {u"坤", u"000", u"地", u"母", u"牛", u"腹", u"顺", u"土", u""},
    {u"震", u"100", u"雷", u"长男", u"龙", u"足", u"动", u"木", u""},
    {u"巽", u"011", u"风", u"长女", u"鸡", u"股", u"入", u"木", u""},
    {u"坎", u"010", u"水", u"中男", u"豕", u"耳", u"陷", u"水", u""},
    {u"离", u"101", u"火", u"中女", u"雉", u"目", u"丽", u"火", u""},
    {u"艮", u"001", u"山", u"少男", u"狗", u"手", u"止", u"土", u""},
    {u"兑", u"110", u"泽", u"少女", u"羊", u"口", u"说", u"金", u" "},
}};

const TrigramArrangement earlierHeaven{
    u"先天八卦图", {u"乾", u"巽", u"坎", u"艮", u"坤", u"震", u"离", u"兑"}};
const TrigramArrangement laterHeaven{
    u"后天八卦图", {u"离", u"坤", u"兑", u"乾", u"坎", u"艮", u"震", u"巽"}};

const std::array<const char16_t *, 4> compassWords{u"南", u"西", u"北", u"东"};

constexpr char16_t ideographicSpace = u'\u3000';

} // namespace

const std::array<TrigramRow, TrigramCount> &TrigramTable()
{
    return trigramRows;
}

const TrigramRow *TrigramNamed(QStringView name)
{
    for (const TrigramRow &row : trigramRows) {
        if (name == QStringView(row.name))
            return &row;
    }
    return nullptr;
}

QString TrigramAttributeLine(const TrigramRow &row)
{
    QString family = QString::fromUtf16(row.family);
    if (family.size() == 1)
        family += ideographicSpace;
    const QString separator = QStringLiteral("、");
    return QString::fromUtf16(row.name) + QStringLiteral("：") + QString::fromUtf16(row.nature)
        + separator + family + separator + QString::fromUtf16(row.animal) + separator
        + QString::fromUtf16(row.body) + separator + QString::fromUtf16(row.quality) + separator
        + QString::fromUtf16(row.element) + QString::fromUtf16(row.lineEnd);
}

QString TrigramAttributeText()
{
    QString text;
    for (const TrigramRow &row : trigramRows)
        text += TrigramAttributeLine(row) + QStringLiteral("\r\n\r\n");
    return text;
}

const TrigramArrangement &EarlierHeavenArrangement()
{
    return earlierHeaven;
}

const TrigramArrangement &LaterHeavenArrangement()
{
    return laterHeaven;
}

const std::array<const char16_t *, 4> &ArrangementCompassWords()
{
    return compassWords;
}
