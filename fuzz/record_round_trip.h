#pragma once

#include "records/divination_record.h"

#include <algorithm>

// The writer stores '"' as '“' and control characters as spaces, and the
// reader strips every occurrence of a label, so only a record free of all
// three reads back exactly as it was written.
inline bool WritesBackExactly(const DivinationRecord &record)
{
    for (const RecordField &field : RecordFields()) {
        const QString &value = record.*field.member;
        if (value.contains(u'"') || (!field.label.isEmpty() && value.contains(field.label)) ||
            std::any_of(value.begin(), value.end(), [](QChar c) { return c.category() == QChar::Other_Control; }))
            return false;
    }
    return true;
}
