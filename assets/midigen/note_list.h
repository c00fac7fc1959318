#pragma once

#include "score.h"

#include <optional>
#include <string>
#include <string_view>

// Reads a note list, the text form the music is written in (see
// assets/music/README.md), into a Score. On a fault the result holds no score
// and the error names the line and what is wrong there.
struct NoteListResult {
    std::optional<Score> score;
    std::string error;
};

NoteListResult ReadNoteList(std::string_view text);
