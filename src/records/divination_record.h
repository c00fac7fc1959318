#pragma once

#include "core/current_cast.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>

class QDebug;

// One stored cast: the ten fields of a record line, as bare values. The
// labels of the first six fields ("时间:" …) are added by the formatter and
// removed by the parser.
struct DivinationRecord {
    QString castTime;
    QString divinerName;
    QString matterText;
    QString primaryNumber;
    QString primaryLines;
    QString primaryName;
    QString changingLines; // "未变爻" or "变1爻" … "变6爻"
    QString resultingNumber;
    QString resultingLines;
    QString resultingName;

    friend bool operator==(const DivinationRecord &, const DivinationRecord &) = default;
};

QDebug operator<<(QDebug debug, const DivinationRecord &record);

// The fields of a record line in their stored order, with the label glued to
// the value of each labelled field.
struct RecordField {
    QString DivinationRecord::*member;
    QStringView label;
};
inline constexpr int RecordFieldCount = 10;
const std::array<RecordField, RecordFieldCount> &RecordFields();

// The record of a finished cast. Without changing lines the resulting
// hexagram fields stay empty, whatever an earlier cast left in `cast`.
DivinationRecord RecordOfCast(const CurrentCast &cast);

// The stored line of a record: GBK bytes ended by CR LF.
QByteArray FormatRecordLine(const DivinationRecord &record);

// Reads one stored line (without its line end): missing fields are empty and
// every occurrence of a field's label is removed from that field.
DivinationRecord ParseRecordLine(QStringView line);
