#include "records/divination_record.h"

#include "fileformat/gbk_codec.h"
#include "fileformat/quoted_fields.h"

const std::array<RecordField, RecordFieldCount> &RecordFields()
{
    static constexpr std::array<RecordField, RecordFieldCount> fields{{
        {&DivinationRecord::castTime, u"时间:"},
        {&DivinationRecord::divinerName, u"姓名:"},
        {&DivinationRecord::matterText, u"占筮事由:"},
        {&DivinationRecord::primaryNumber, u"卦序号:"},
        {&DivinationRecord::primaryLines, u"卦象:"},
        {&DivinationRecord::primaryName, u"卦名:"},
        {&DivinationRecord::changingLines, {}},
        {&DivinationRecord::resultingNumber, {}},
        {&DivinationRecord::resultingLines, {}},
        {&DivinationRecord::resultingName, {}},
    }};
    return fields;
}

QByteArray FormatRecordLine(const DivinationRecord &record)
{
    QStringList fields;
    for (const RecordField &field : RecordFields())
        fields.append(field.label.toString() + record.*field.member);
    return EncodeGb18030(JoinQuotedFields(fields)) + "\r\n";
}

DivinationRecord ParseRecordLine(QStringView line)
{
    const QStringList fields = SplitQuotedFields(line);
    DivinationRecord record;
    for (int i = 0; i < RecordFieldCount && i < fields.size(); ++i) {
        const RecordField &field = RecordFields()[i];
        QString value = fields[i];
        if (!field.label.isEmpty())
            value.remove(field.label.toString());
        record.*field.member = value;
    }
    return record;
}
