#pragma once

#include "divination_record.h"

// The writer stores '"' as '“', and the reader strips every occurrence of a
// label, so only a record free of both reads back exactly as it was written.
inline bool WritesBackExactly(const DivinationRecord &record)
{
    for (const RecordField &field : RecordFields()) {
        const QString &value = record.*field.member;
        if (value.contains(u'"') || (!field.label.isEmpty() && value.contains(field.label)))
            return false;
    }
    return true;
}
