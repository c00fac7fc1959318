#pragma once

#include "shell/sound_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <optional>

// The SDL2, SDL2_mixer and FluidSynth functions the sound services call,
// listed once so that the table below and its look-up cannot drift apart.
#define RAVEZAZ_SDL_FUNCTIONS(X)                                                                                     \
    X(SDL_SetHint)                                                                                                   \
    X(SDL_SetHintWithPriority)                                                                                       \
    X(SDL_InitSubSystem)                                                                                             \
    X(SDL_QuitSubSystem)                                                                                             \
    X(SDL_GetCurrentAudioDriver)                                                                                     \
    X(SDL_TLSCleanup)
#define RAVEZAZ_MIXER_FUNCTIONS(X)                                                                                   \
    X(Mix_Init)                                                                                                      \
    X(Mix_Quit)                                                                                                      \
    X(Mix_OpenAudio)                                                                                                 \
    X(Mix_CloseAudio)                                                                                                \
    X(Mix_QuerySpec)                                                                                                 \
    X(Mix_AllocateChannels)                                                                                          \
    X(Mix_ReserveChannels)                                                                                           \
    X(Mix_LoadWAV)                                                                                                   \
    X(Mix_QuickLoad_RAW)                                                                                             \
    X(Mix_FreeChunk)                                                                                                 \
    X(Mix_PlayChannel)                                                                                               \
    X(Mix_Playing)                                                                                                   \
    X(Mix_GetChunk)                                                                                                  \
    X(Mix_HookMusic)                                                                                                 \
    X(Mix_GetSoundFonts)
#define RAVEZAZ_SYNTH_FUNCTIONS(X)                                                                                   \
    X(new_fluid_settings)                                                                                            \
    X(delete_fluid_settings)                                                                                         \
    X(fluid_settings_setnum)                                                                                         \
    X(fluid_settings_setint)                                                                                         \
    X(new_fluid_synth)                                                                                               \
    X(delete_fluid_synth)                                                                                            \
    X(fluid_synth_sfload)                                                                                            \
    X(fluid_synth_system_reset)                                                                                      \
    X(fluid_synth_write_s16)                                                                                         \
    X(fluid_synth_get_active_voice_count)                                                                            \
    X(fluid_is_midifile)                                                                                             \
    X(new_fluid_player)                                                                                              \
    X(delete_fluid_player)                                                                                           \
    X(fluid_player_add)                                                                                              \
    X(fluid_player_play)                                                                                             \
    X(fluid_player_stop)                                                                                             \
    X(fluid_player_get_status)

// SDL2_mixer, FluidSynth (which plays the MIDI music into the mixer) and the
// sixty-odd libraries they pull in (JACK, PulseAudio, libsndfile …) are
// looked up at run time, on the sound thread, instead of being linked:
// linked, the dynamic loader would map them all before the program's first
// window, sound or no sound. Without them the program runs silently.
struct SoundLibrary {
#define RAVEZAZ_SOUND_FUNCTION_POINTER(name) decltype(&::name) name = nullptr;
    RAVEZAZ_SDL_FUNCTIONS(RAVEZAZ_SOUND_FUNCTION_POINTER)
    RAVEZAZ_MIXER_FUNCTIONS(RAVEZAZ_SOUND_FUNCTION_POINTER)
    RAVEZAZ_SYNTH_FUNCTIONS(RAVEZAZ_SOUND_FUNCTION_POINTER)
#undef RAVEZAZ_SOUND_FUNCTION_POINTER
};

// Loads the libraries and looks up every function of the table; nothing
// when a library or one of its functions is missing. A library once loaded
// stays loaded until the program ends.
std::optional<SoundLibrary> LoadSoundLibrary(const SoundLibraryFiles &files);
