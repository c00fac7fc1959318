#pragma once

#include <optional>
#include <string_view>

// General MIDI names as the note lists spell them: instruments by program
// (0-based) and percussion keys of channel 10.
std::optional<int> GeneralMidiProgram(std::string_view name);
std::optional<int> GeneralMidiDrumKey(std::string_view name);
