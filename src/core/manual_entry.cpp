#include "core/manual_entry.h"

#include "core/hexagram.h"

namespace {

struct LineMessages {
    const char16_t *empty;
    const char16_t *wrong;
};

constexpr std::array<LineMessages, LinesPerHexagram> LineMessageTable{{
    {u"请输入初爻!", u"请正确输入初爻数字替代符号:“0”或“1”!"},
    {u"请输入二爻!", u"请正确输入二爻数字替代符号:“0”或“1”!"},
    {u"请输入三爻!", u"请正确输入三爻数字替代符号:“0”或“1”!"},
    {u"请输入四爻!", u"请正确输入四爻数字替代符号:“0”或“1”!"},
    {u"请输入五爻!", u"请正确输入五爻数字替代符号:“0”或“1”!"},
    {u"请输入上爻!", u"请正确输入上爻数字替代符号:“0”或“1”!"},
}};

struct QuestionRow {
    ManualTextField field;
    QString ManualEntryFields::*text;
    const char16_t *prompt;
    const char16_t *title;
    int maxLength;
};

constexpr std::array<QuestionRow, 3> QuestionTable{{
    {ManualTextField::Time, &ManualEntryFields::time, u"请输入成卦时间(不能超过20个字符)。", u"输入时间",
     ManualTimeLength},
    {ManualTextField::Name, &ManualEntryFields::name, u"请输入占筮者姓名(不能超过9个字符)。", u"输入姓名",
     ManualNameLength},
    {ManualTextField::Matter, &ManualEntryFields::matter, u"请输入所占何事(不能超过30个字符)。", u"输入事由",
     ManualMatterLength},
}};

QString QuestionDefault(ManualTextField field, const QDateTime &now, const QString &divinerName)
{
    switch (field) {
    case ManualTextField::Time:
        return ManualEntryTimeText(now);
    case ManualTextField::Name:
        return divinerName;
    case ManualTextField::Matter:
        return QStringLiteral("某事云云");
    }
    return {};
}

} // namespace

QString ManualEntryTimeText(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-M-d H:m"));
}

std::optional<ManualEntryFault> FirstManualEntryFault(const ManualEntryFields &fields, const QDateTime &now,
                                                      const QString &divinerName)
{
    for (const QuestionRow &row : QuestionTable) {
        if ((fields.*row.text).trimmed().isEmpty())
            return ManualFieldQuestion{row.field, QString::fromUtf16(row.prompt), QString::fromUtf16(row.title),
                                       QuestionDefault(row.field, now, divinerName), row.maxLength};
    }
    for (int i = 0; i < LinesPerHexagram; ++i) {
        const QString line = fields.lines[i].trimmed();
        if (line.isEmpty())
            return ManualLineFault{i + 1, false, QString::fromUtf16(LineMessageTable[i].empty)};
        if (line != u"0" && line != u"1")
            return ManualLineFault{i + 1, true, QString::fromUtf16(LineMessageTable[i].wrong)};
    }
    return std::nullopt;
}

CastResult ManualEntryCast(const ManualEntryFields &fields)
{
    CastResult cast;
    cast.castTime = fields.time.trimmed() + QStringLiteral("(人工输入)");
    cast.divinerName = fields.name.trimmed();
    cast.matterText = fields.matter.trimmed();
    for (int i = 0; i < LinesPerHexagram; ++i) {
        const QString line = fields.lines[i].trimmed();
        cast.primaryLines += line;
        cast.resultingLines += fields.changing[i] && line.size() == 1 ? QString(FlipLineCharacter(line[0])) : line;
    }
    return cast;
}
