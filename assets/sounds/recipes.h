#pragma once

#include "audio_buffer.h"

#include <span>
#include <string_view>

// How one of the program's sound files is made.
struct SoundRecipe {
    std::string_view name;
    int channels;
    float peak;               // loudest sample, below full scale
    AudioBuffer (*render)();
};

// Every sound the generator can make, by name.
std::span<const SoundRecipe> SoundRecipes();
