#pragma once

// The music remembered between runs. Unset (a first run, or a damaged
// field) counts as on when a day's music is decided; Off and Festival do not.
// Festival is the festival music of a day on which the user had music off;
// over background music the user's Background is kept.
enum class MusicState { Unset, Off, Background, Festival };
