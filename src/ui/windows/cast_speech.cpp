#include "ui/windows/cast_speech.h"

#include <QStringList>

#include <array>

namespace {

struct LineWords {
    const char16_t *code;
    const char16_t *kind;
    // The number of a changing line in its name: 九 for yang, 六 for yin.
    const char16_t *number;
};

constexpr std::array<LineWords, 4> LineCodes{{
    {u"1", u"阳", nullptr},
    {u"0", u"阴", nullptr},
    {u"11", u"阳", u"九"},
    {u"00", u"阴", u"六"},
}};

const LineWords *WordsOf(const QString &code)
{
    for (const LineWords &words : LineCodes) {
        if (code == QStringView(words.code))
            return &words;
    }
    return nullptr;
}

// 初九, 九二 … 九五, 上九: the first and the top line put their place first.
QString ChangingLineName(int line, const QString &number)
{
    constexpr std::array<const char16_t *, 6> places{u"初", u"二", u"三", u"四", u"五", u"上"};
    const QString place = QString::fromUtf16(places[line - 1]);
    return line == 1 || line == 6 ? place + number : number + place;
}

} // namespace

QString SpokenHexagram(const QString &caption, const HexagramView &hexagram, bool withChangingLines)
{
    QString lines;
    QStringList changing;
    for (int line = 1; line <= LinesPerHexagram; ++line) {
        const LineWords *words = WordsOf(hexagram.pictures[line - 1]);
        lines += words ? QString::fromUtf16(words->kind) : QStringLiteral("？");
        if (words && words->number)
            changing << ChangingLineName(line, QString::fromUtf16(words->number));
    }
    QString text = caption + u' ' + hexagram.name + QStringLiteral("，六爻：") + lines;
    if (withChangingLines)
        text += changing.isEmpty() ? QStringLiteral("，无变爻") : QStringLiteral("，变爻：") + changing.join(u'、');
    return text;
}

QString SpokenCastDetails(const CastResolution &cast)
{
    return QStringLiteral("成卦时间：") + cast.castTime + QStringLiteral("，姓名：") + cast.divinerName +
           QStringLiteral("，占筮事由：") + cast.matterText + QStringLiteral("，变爻推论规则：") + cast.ruleText;
}
