#pragma once

#include "core/divination_record.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>

// The fields of a record line in their stored order, with the label glued to
// the value of each labelled field.
struct RecordField {
    QString DivinationRecord::*member;
    QStringView label;
};
inline constexpr int RecordFieldCount = 10;
const std::array<RecordField, RecordFieldCount> &RecordFields();

// The stored line of a record: GBK bytes ended by CR LF.
QByteArray FormatRecordLine(const DivinationRecord &record);

// Reads one stored line (without its line end): missing fields are empty and
// every occurrence of a field's label is removed from that field.
DivinationRecord ParseRecordLine(QStringView line);
