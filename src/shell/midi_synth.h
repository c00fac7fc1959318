#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>
#include <mutex>

struct SoundLibrary;
typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

// One FluidSynth synthesizer that lives as long as the sound device and
// feeds the mixer's music stream. The SoundFont is loaded once, when the
// device opens on the sound thread: SDL2_mixer's own MIDI music builds a new
// synthesizer and reads the whole SoundFont again for every piece, some
// 20 to 50 ms on the thread that opens the piece.
class MidiSynth {
public:
    // `frequency` and `channels` are those of the open mixer; `soundFonts`
    // the SoundFont files separated by semicolons, as the mixer reports them.
    MidiSynth(const SoundLibrary &sdl, int frequency, int channels, const char *soundFonts);
    ~MidiSynth();
    MidiSynth(const MidiSynth &) = delete;
    MidiSynth &operator=(const MidiSynth &) = delete;

    // Whether a SoundFont could be loaded; without one nothing plays.
    bool HasSoundFont() const { return soundFontLoaded_; }
    // Starts the MIDI file from its beginning, cutting off what plays.
    // `finished` runs on the audio thread once the piece and the release of
    // its last notes have sounded; never after Stop or another Play.
    bool Play(const QByteArray &file, std::function<void()> finished);
    void Stop();
    bool IsPlaying();

    // The mixer's music hook: renders the synthesizer into `stream`.
    static void Render(void *synth, std::uint8_t *stream, int bytes);

private:
    void DropPlayer();

    const SoundLibrary &sdl_;
    int channels_;
    fluid_settings_t *settings_ = nullptr;
    fluid_synth_t *synth_ = nullptr;
    bool soundFontLoaded_ = false;
    // Guards the player and its notice between the GUI and the audio thread.
    std::mutex mutex_;
    fluid_player_t *player_ = nullptr;
    std::function<void()> finished_;
};
