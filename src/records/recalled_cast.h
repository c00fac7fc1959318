#pragma once

#include "core/current_cast.h"
#include "core/resolution.h"
#include "records/divination_record.h"

#include <optional>

// A stored record shown again as the cast view of the main window. Numbers,
// names, time, name and matter are shown as stored; the texts are looked up
// from the stored line strings, the rule is chosen by the stored
// changing-line field, and the red pictures are derived from the positions
// where the two line strings differ.
//
// Sets the cast's line strings and lookup fields as the display does: the
// primary lines are looked up first and the resulting ones last, so the
// lookup fields end on the resulting hexagram (empty when there is none).
//
// A record whose primary line string is not a hexagram (a line of some other
// file, a damaged record) cannot be shown and gives nothing, leaving the cast
// untouched. A resulting line string that is not a hexagram shows no
// resulting hexagram.
std::optional<CastResolution> RecallRecord(CurrentCast &cast, const DivinationRecord &record);
