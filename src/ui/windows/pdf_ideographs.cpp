#include "ui/windows/pdf_ideographs.h"

#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace {

struct RadicalIdeograph {
    char32_t radical;
    char32_t ideograph;
};

// The supplement radicals Noto CJK SC draws with the glyph of a unified
// ideograph, and the one Kangxi radical whose glyph it shares with another
// ideograph than its compatibility form (⼾ with 户, not 戶). Every other
// Kangxi radical stands for its compatibility form.
constexpr RadicalIdeograph SharedGlyphs[] = {
    {0x2E82, 0x4E5B},  {0x2E83, 0x4E5A}, {0x2E85, 0x4EBB}, {0x2E87, 0x20628}, {0x2E89, 0x5202},
    {0x2E8B, 0x353E},  {0x2E8D, 0x2D544}, {0x2E8E, 0x5140}, {0x2E8F, 0x5C23},  {0x2E90, 0x5C22},
    {0x2E92, 0x5DF3},  {0x2E93, 0x5E7A}, {0x2E94, 0x5F51}, {0x2E95, 0x5F50},  {0x2E96, 0x5FC4},
    {0x2E98, 0x624C},  {0x2E99, 0x6535}, {0x2E9B, 0x65E1}, {0x2E9E, 0x6B7A},  {0x2E9F, 0x6BCD},
    {0x2EA0, 0x6C11},  {0x2EA1, 0x6C35}, {0x2EA3, 0x706C}, {0x2EA4, 0x722B},  {0x2EA6, 0x4E2C},
    {0x2EA8, 0x72AD},  {0x2EA9, 0x248E9}, {0x2EAB, 0x7F52}, {0x2EAD, 0x793B}, {0x2EAE, 0x25AD7},
    {0x2EAF, 0x7CF9},  {0x2EB0, 0x7E9F}, {0x2EB1, 0x7F53}, {0x2EB2, 0x7F52},  {0x2EB3, 0x34C1},
    {0x2EB9, 0x8002},  {0x2EBA, 0x8080}, {0x2EBD, 0x26951}, {0x2EBE, 0x8279}, {0x2EC1, 0x864E},
    {0x2EC2, 0x8864},  {0x2EC3, 0x8980}, {0x2EC5, 0x89C1}, {0x2EC6, 0x89D2},  {0x2EC7, 0x278B2},
    {0x2EC8, 0x8BA0},  {0x2EC9, 0x8D1D}, {0x2ECA, 0x27FB7}, {0x2ECB, 0x8F66}, {0x2ECC, 0x8FB6},
    {0x2ED0, 0x9485},  {0x2ED1, 0x9577}, {0x2ED2, 0x9578}, {0x2ED3, 0x957F},  {0x2ED4, 0x95E8},
    {0x2ED5, 0x28E0F}, {0x2ED6, 0x961D}, {0x2ED8, 0x9752}, {0x2ED9, 0x97E6},  {0x2EDA, 0x9875},
    {0x2EDB, 0x98CE},  {0x2EDC, 0x98DE}, {0x2EDD, 0x98DF}, {0x2EDE, 0x2967F}, {0x2EDF, 0x98E0},
    {0x2EE0, 0x9963},  {0x2EE1, 0x29810}, {0x2EE2, 0x9A6C}, {0x2EE3, 0x9AA8}, {0x2EE4, 0x9B3C},
    {0x2EE5, 0x9C7C},  {0x2EE6, 0x9E1F}, {0x2EE7, 0x5364}, {0x2EE8, 0x9EA6},  {0x2EE9, 0x9EC4},
    {0x2EEA, 0x9EFE},  {0x2EEB, 0x6589}, {0x2EEC, 0x9F50}, {0x2EEE, 0x9F7F},  {0x2EEF, 0x7ADC},
    {0x2EF0, 0x9F99},  {0x2EF1, 0x9F9C}, {0x2EF2, 0x4E80}, {0x2EF3, 0x9F9F},  {0x2F3E, 0x6237},
};

constexpr char16_t FirstKangxiRadical = 0x2F00;
constexpr char16_t LastKangxiRadical = 0x2FD5;

// The ideograph `text` stands for when it is one radical.
std::optional<QString> IdeographFor(const QString &text)
{
    if (text.size() != 1)
        return std::nullopt;
    const char16_t unit = text.front().unicode();
    for (const RadicalIdeograph &shared : SharedGlyphs) {
        if (shared.radical == unit)
            return QString::fromUcs4(&shared.ideograph, 1);
    }
    if (unit >= FirstKangxiRadical && unit <= LastKangxiRadical)
        return text.normalized(QString::NormalizationForm_KC);
    return std::nullopt;
}

// What a glyph code of a ToUnicode map reads as: code → text.
using GlyphTexts = std::map<uint, QString>;

// `hex` read as UTF-16BE.
std::optional<QString> Utf16FromHex(QStringView hex)
{
    if (hex.isEmpty() || hex.size() % 4 != 0)
        return std::nullopt;
    QString text;
    for (qsizetype at = 0; at < hex.size(); at += 4) {
        bool ok = false;
        const ushort unit = hex.mid(at, 4).toUShort(&ok, 16);
        if (!ok)
            return std::nullopt;
        text += QChar(unit);
    }
    return text;
}

QString HexFromUtf16(const QString &text)
{
    QString hex;
    for (const QChar unit : text)
        hex += QStringLiteral("%1").arg(unit.unicode(), 4, 16, QLatin1Char('0')).toUpper();
    return hex;
}

const QString HexToken = QStringLiteral("<([0-9A-Fa-f]+)>");

// The pairs of the map's bfchar and bfrange sections; nothing when a pair
// cannot be read.
std::optional<GlyphTexts> ReadGlyphTexts(const QString &cmap, int &codeDigits)
{
    static const QRegularExpression charSection(QStringLiteral("beginbfchar(.*?)endbfchar"),
                                                QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression rangeSection(QStringLiteral("beginbfrange(.*?)endbfrange"),
                                                 QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression charPair(HexToken + QStringLiteral("\\s*") + HexToken);
    static const QRegularExpression range(HexToken + QStringLiteral("\\s*") + HexToken +
                                          QStringLiteral("\\s*(?:<([0-9A-Fa-f]+)>|\\[([^\\]]*)\\])"));
    static const QRegularExpression hexToken(HexToken);
    // Glyph codes of a font in a PDF are at most two bytes.
    constexpr uint LastCode = 0xFFFF;

    GlyphTexts texts;
    codeDigits = 0;
    const auto readCode = [&codeDigits](const QString &hex) -> std::optional<uint> {
        bool ok = false;
        const uint code = hex.toUInt(&ok, 16);
        if (!ok || code > LastCode)
            return std::nullopt;
        codeDigits = std::max(codeDigits, int(hex.size()));
        return code;
    };
    for (const QRegularExpressionMatch &section : charSection.globalMatch(cmap)) {
        for (const QRegularExpressionMatch &pair : charPair.globalMatch(section.capturedView(1))) {
            const std::optional<uint> code = readCode(pair.captured(1));
            const std::optional<QString> text = Utf16FromHex(pair.capturedView(2));
            if (!code || !text)
                return std::nullopt;
            texts[*code] = *text;
        }
    }
    for (const QRegularExpressionMatch &section : rangeSection.globalMatch(cmap)) {
        for (const QRegularExpressionMatch &entry : range.globalMatch(section.capturedView(1))) {
            const std::optional<uint> first = readCode(entry.captured(1));
            const std::optional<uint> last = readCode(entry.captured(2));
            if (!first || !last || *last < *first)
                return std::nullopt;
            if (entry.hasCaptured(3)) {
                // Consecutive codes read as texts whose last unit counts up.
                const std::optional<QString> start = Utf16FromHex(entry.capturedView(3));
                if (!start)
                    return std::nullopt;
                for (uint code = *first; code <= *last; ++code) {
                    QString text = *start;
                    text.back() = QChar(char16_t(text.back().unicode() + (code - *first)));
                    texts[code] = text;
                }
                continue;
            }
            uint code = *first;
            for (const QRegularExpressionMatch &token : hexToken.globalMatch(entry.capturedView(4))) {
                const std::optional<QString> text = Utf16FromHex(token.capturedView(1));
                if (!text || code > *last)
                    return std::nullopt;
                texts[code++] = *text;
            }
        }
    }
    return texts;
}

// The ToUnicode map `cmap` with every radical named as its ideograph, its
// pairs written as bfchar sections; nothing when no radical is in it or it
// cannot be read.
std::optional<QString> CMapWithIdeographs(const QString &cmap)
{
    int codeDigits = 0;
    std::optional<GlyphTexts> texts = ReadGlyphTexts(cmap, codeDigits);
    if (!texts)
        return std::nullopt;
    bool renamed = false;
    for (auto &[code, text] : *texts) {
        if (const std::optional<QString> ideograph = IdeographFor(text)) {
            text = *ideograph;
            renamed = true;
        }
    }
    if (!renamed)
        return std::nullopt;

    static const QRegularExpression sectionStart(QStringLiteral("\\d+\\s+beginbf(?:char|range)"));
    static const QRegularExpression sectionEnd(QStringLiteral("endbf(?:char|range)"));
    const qsizetype pairsStart = cmap.indexOf(sectionStart);
    QRegularExpressionMatch lastEnd;
    for (const QRegularExpressionMatch &end : sectionEnd.globalMatch(cmap))
        lastEnd = end;
    if (pairsStart < 0 || !lastEnd.hasMatch())
        return std::nullopt;

    // A bfchar section holds at most 100 pairs.
    constexpr qsizetype SectionPairs = 100;
    QString pairs;
    qsizetype written = 0;
    for (const auto &[code, text] : *texts) {
        if (written % SectionPairs == 0) {
            if (written > 0)
                pairs += QStringLiteral("endbfchar\n");
            pairs += QStringLiteral("%1 beginbfchar\n").arg(std::min(SectionPairs, qsizetype(texts->size()) - written));
        }
        pairs += QStringLiteral("<%1> <%2>\n")
                     .arg(QStringLiteral("%1").arg(code, codeDigits, 16, QLatin1Char('0')).toUpper(), HexFromUtf16(text));
        ++written;
    }
    pairs += QStringLiteral("endbfchar");
    return cmap.left(pairsStart) + pairs + cmap.mid(lastEnd.capturedEnd());
}

// Where the objects in use start, from the file's one cross-reference table,
// and the entries of its trailer.
struct CrossReference {
    qsizetype position = 0;
    std::map<int, qsizetype> objects;
    QString trailerEntries;
};

// Nothing for a file with no table this can read, or one already updated.
std::optional<CrossReference> ReadCrossReference(const QString &pdf)
{
    static const QRegularExpression startXref(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    static const QRegularExpression tableStart(QStringLiteral("xref\\s+"));
    static const QRegularExpression subsection(QStringLiteral("(\\d+)\\s+(\\d+)\\s+"));
    static const QRegularExpression entry(QStringLiteral("(\\d{10})\\s(\\d{5})\\s([nf])\\s+"));
    static const QRegularExpression trailer(QStringLiteral("trailer\\s*<<(.*)>>\\s*startxref"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const auto anchored = [&pdf](const QRegularExpression &pattern, qsizetype at) {
        return pattern.match(pdf, at, QRegularExpression::NormalMatch,
                             QRegularExpression::AnchorAtOffsetMatchOption);
    };

    const QRegularExpressionMatch end = startXref.match(pdf);
    if (!end.hasMatch())
        return std::nullopt;
    CrossReference table;
    table.position = end.captured(1).toLongLong();
    if (table.position >= pdf.size())
        return std::nullopt;
    QRegularExpressionMatch at = anchored(tableStart, table.position);
    if (!at.hasMatch())
        return std::nullopt;
    qsizetype cursor = at.capturedEnd();
    for (QRegularExpressionMatch header = anchored(subsection, cursor); header.hasMatch();
         header = anchored(subsection, cursor)) {
        cursor = header.capturedEnd();
        const int first = header.captured(1).toInt();
        const int count = header.captured(2).toInt();
        for (int number = first; number < first + count; ++number) {
            const QRegularExpressionMatch row = anchored(entry, cursor);
            if (!row.hasMatch())
                return std::nullopt;
            cursor = row.capturedEnd();
            if (row.capturedView(3) == u"n")
                table.objects[number] = row.captured(1).toLongLong();
        }
    }
    const QRegularExpressionMatch trailerMatch = anchored(trailer, cursor);
    if (!trailerMatch.hasMatch() || trailerMatch.capturedView(1).contains(u"/Prev"))
        return std::nullopt;
    table.trailerEntries = trailerMatch.captured(1);
    return table;
}

// The numbers of the ToUnicode maps the file's fonts name.
std::set<int> ToUnicodeMaps(const QString &pdf, const CrossReference &table)
{
    static const QRegularExpression objectBody(QStringLiteral("\\d+\\s+\\d+\\s+obj(.*?)(?:stream|endobj)"),
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    std::set<int> maps;
    for (const auto &[number, offset] : table.objects) {
        const QRegularExpressionMatch body = objectBody.match(pdf, offset, QRegularExpression::NormalMatch,
                                                              QRegularExpression::AnchorAtOffsetMatchOption);
        if (!body.hasMatch())
            continue;
        const QRegularExpressionMatch reference = toUnicode.match(body.capturedView(1));
        if (reference.hasMatch())
            maps.insert(reference.captured(1).toInt());
    }
    return maps;
}

// The data of the uncompressed stream object `number` at `offset`.
std::optional<QString> StreamData(const QString &pdf, int number, qsizetype offset)
{
    static const QRegularExpression streamObject(
        QStringLiteral("(\\d+)\\s+0\\s+obj\\s*<<([^<>]*)>>\\s*stream\\r?\\n"));
    static const QRegularExpression length(QStringLiteral("/Length\\s+(\\d+)\\s*(?:/|$)"));
    static const QRegularExpression streamEnd(QStringLiteral("\\s*endstream"));
    const QRegularExpressionMatch object = streamObject.match(pdf, offset, QRegularExpression::NormalMatch,
                                                              QRegularExpression::AnchorAtOffsetMatchOption);
    if (!object.hasMatch() || object.captured(1).toInt() != number || object.capturedView(2).contains(u"/Filter"))
        return std::nullopt;
    const QRegularExpressionMatch size = length.match(object.capturedView(2));
    if (!size.hasMatch())
        return std::nullopt;
    const qsizetype start = object.capturedEnd();
    const qsizetype bytes = size.captured(1).toLongLong();
    if (bytes > pdf.size() - start ||
        !streamEnd
             .match(pdf, start + bytes, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption)
             .hasMatch())
        return std::nullopt;
    return pdf.mid(start, bytes);
}

} // namespace

QByteArray WithIdeographsForRadicals(const QByteArray &pdf)
{
    // Latin-1 keeps one character per byte, so offsets carry over.
    const QString text = QString::fromLatin1(pdf);
    const std::optional<CrossReference> table = ReadCrossReference(text);
    if (!table)
        return pdf;
    std::map<int, QByteArray> renamedMaps;
    for (const int number : ToUnicodeMaps(text, *table)) {
        const auto object = table->objects.find(number);
        if (object == table->objects.end())
            continue;
        const std::optional<QString> cmap = StreamData(text, number, object->second);
        if (!cmap)
            continue;
        if (const std::optional<QString> renamed = CMapWithIdeographs(*cmap))
            renamedMaps[number] = renamed->toLatin1();
    }
    if (renamedMaps.empty())
        return pdf;

    // The new maps replace the old ones through a cross-reference section
    // of their own that points back to the file's table.
    QByteArray updated = pdf;
    if (!updated.endsWith('\n'))
        updated += '\n';
    std::map<int, qsizetype> offsets;
    for (const auto &[number, cmap] : renamedMaps) {
        offsets[number] = updated.size();
        updated += QByteArray::number(number) + " 0 obj\n<< /Length " + QByteArray::number(cmap.size()) +
                   " >>\nstream\n" + cmap + "\nendstream\nendobj\n";
    }
    const qsizetype xref = updated.size();
    updated += "xref\n";
    for (const auto &[number, offset] : offsets)
        updated += QByteArray::number(number) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0') +
                   " 00000 n \n";
    updated += "trailer\n<<" + table->trailerEntries.toLatin1() + "/Prev " + QByteArray::number(table->position) +
               "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return updated;
}
