#pragma once

#include "score.h"

#include <string>

// The bytes of a format 1 Standard MIDI File for a score: a conductor track
// with title, meter and tempo map, then one track per voice. Every track ends
// with an end-of-track event at the end of the piece.
std::string StandardMidiFile(const Score &score);
