#pragma once

#include "core/cast_result.h"
#include "core/resolution.h"
#include "records/divination_record.h"

#include <optional>

// A stored record shown again as the cast view of the main window. Numbers,
// names, time, name and matter are shown as stored; the texts are looked up
// from the stored line strings, the rule is chosen by the stored
// changing-line field, and the red pictures are derived from the positions
// where the two line strings differ.
//
// The recalled cast carries the stored line strings (the resulting one empty
// when it is not a hexagram), time, name and matter, and no line values.
//
// A record whose primary line string is not a hexagram (a line of some other
// file, a damaged record) cannot be shown and gives nothing. A resulting line
// string that is not a hexagram shows no resulting hexagram.
struct RecalledCast {
    CastResult cast;
    CastResolution resolution;
};
std::optional<RecalledCast> RecallRecord(const DivinationRecord &record);
