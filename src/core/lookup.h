#pragma once

#include "core/current_cast.h"

// Both lookups read cast.lookupLines and write lookupName, lookupNumber and
// lookupText. They clear the three outputs first, so a failed lookup never
// leaves the values of an earlier one behind.
void LookupHexagram(CurrentCast &cast);
void LookupHexagramTranslation(CurrentCast &cast);
