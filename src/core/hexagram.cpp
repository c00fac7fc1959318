#include "core/hexagram.h"

namespace {

constexpr std::array<HexagramRow, HexagramCount> table{{
    {1, u"乾", u"111111"},   {2, u"坤", u"000000"},   {3, u"屯", u"100010"},
    {4, u"蒙", u"010001"},   {5, u"需", u"111010"},   {6, u"讼", u"010111"},
    {7, u"师", u"010000"},   {8, u"比", u"000010"},   {9, u"小畜", u"111011"},
    {10, u"履", u"110111"},  {11, u"泰", u"111000"},  {12, u"否", u"000111"},
    {13, u"同人", u"101111"}, {14, u"大有", u"111101"}, {15, u"谦", u"001000"},
    {16, u"豫", u"000100"},  {17, u"随", u"100110"},  {18, u"蛊", u"011001"},
    {19, u"临", u"110000"},  {20, u"观", u"000011"},  {21, u"噬嗑", u"100101"},
    {22, u"贲", u"101001"},  {23, u"剥", u"000001"},  {24, u"复", u"100000"},
    {25, u"无妄", u"100111"}, {26, u"大畜", u"111001"}, {27, u"颐", u"100001"},
    {28, u"大过", u"011110"}, {29, u"坎", u"010010"},  {30, u"离", u"101101"},
    {31, u"咸", u"001110"},  {32, u"恒", u"011100"},  {33, u"遯", u"001111"},
    {34, u"大壮", u"111100"}, {35, u"晋", u"000101"},  {36, u"明夷", u"101000"},
    {37, u"家人", u"101011"}, {38, u"睽", u"110101"},  {39, u"蹇", u"001010"},
    {40, u"解", u"010100"},  {41, u"损", u"110001"},  {42, u"益", u"100011"},
    {43, u"夬", u"111110"},  {44, u"姤", u"011111"},  {45, u"萃", u"000110"},
    {46, u"升", u"011000"},  {47, u"困", u"010110"},  {48, u"井", u"011010"},
    {49, u"革", u"101110"},  {50, u"鼎", u"011101"},  {51, u"震", u"100100"},
    {52, u"艮", u"001001"},  {53, u"渐", u"001011"},  {54, u"归妹", u"110100"},
    {55, u"丰", u"101100"},  {56, u"旅", u"001101"},  {57, u"巽", u"011011"},
    {58, u"兑", u"110110"},  {59, u"涣", u"010011"},  {60, u"节", u"110010"},
    {61, u"中孚", u"110011"}, {62, u"小过", u"001100"}, {63, u"既济", u"101010"},
    {64, u"未济", u"010101"},
}};

struct LineValueRow {
    int value;
    char16_t primary;
    char16_t resulting;
    int changed;
};

constexpr std::array<LineValueRow, 4> lineValues{{
    {6, u'0', u'1', 9},
    {7, u'1', u'1', 7},
    {8, u'0', u'0', 8},
    {9, u'1', u'0', 6},
}};

const LineValueRow *FindLineValueRow(int value)
{
    for (const LineValueRow &row : lineValues) {
        if (row.value == value)
            return &row;
    }
    return nullptr;
}

constexpr std::array<const char16_t *, LinesPerHexagram> positionWords{
    u"初", u"二", u"三", u"四", u"五", u"上"};

} // namespace

const std::array<HexagramRow, HexagramCount> &HexagramTable()
{
    return table;
}

int HexagramNumberOf(QStringView lines)
{
    for (const HexagramRow &row : table) {
        if (lines == QStringView(row.lines))
            return row.number;
    }
    return 0;
}

QString HexagramNameOf(int number)
{
    if (number < 1 || number > HexagramCount)
        return {};
    return QString::fromUtf16(table[number - 1].name);
}

QString HexagramLinesOf(int number)
{
    if (number < 1 || number > HexagramCount)
        return {};
    return QString::fromUtf16(table[number - 1].lines);
}

QChar FlipLineCharacter(QChar line)
{
    if (line == u'1')
        return u'0';
    if (line == u'0')
        return u'1';
    return line;
}

bool IsLineValue(int value)
{
    return FindLineValueRow(value) != nullptr;
}

bool IsChangingLine(int value)
{
    return value == 6 || value == 9;
}

int ChangedLineValue(int value)
{
    const LineValueRow *row = FindLineValueRow(value);
    return row ? row->changed : value;
}

QChar PrimaryLineCharacter(int value)
{
    const LineValueRow *row = FindLineValueRow(value);
    return row ? QChar(row->primary) : QChar();
}

QChar ResultingLineCharacter(int value)
{
    const LineValueRow *row = FindLineValueRow(value);
    return row ? QChar(row->resulting) : QChar();
}

LinePictureCodes LinePicturesOf(int value)
{
    const QString primary(PrimaryLineCharacter(value));
    const QString resulting(ResultingLineCharacter(value));
    if (IsChangingLine(value))
        return {primary + primary, resulting + resulting};
    return {primary, resulting};
}

CastLineStrings BuildLineStrings(const std::array<int, LinesPerHexagram> &values)
{
    CastLineStrings strings;
    for (int value : values) {
        strings.primary += PrimaryLineCharacter(value);
        strings.resulting += ResultingLineCharacter(value);
    }
    return strings;
}

QString LinePositionName(int line)
{
    if (line < 1 || line > LinesPerHexagram)
        return {};
    return QString::fromUtf16(positionWords[line - 1]);
}

QString LinePositionWord(int line)
{
    const QString name = LinePositionName(line);
    return name.isEmpty() ? name : name + QStringLiteral("爻");
}
