#pragma once

// The music remembered between runs. Unset (a first run, or a damaged
// field) counts as on when a day's music is decided; Off and Festival do not.
enum class MusicState { Unset, Off, Background, Festival };
