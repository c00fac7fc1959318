#pragma once

#include <QString>

class QDebug;

// One stored cast: the ten fields of a record line, as bare values. The
// resolution of a cast builds it; the record file stores it, with the labels
// of the first six fields ("时间:" …) glued on.
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
