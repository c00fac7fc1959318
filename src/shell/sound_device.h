#pragma once

#include <QString>

#include <memory>
#include <thread>

class MidiSynth;
struct SoundLibrary;

// The sound libraries by base name and major version, as QLibrary takes them
// ("SDL2_mixer-2.0", 0 is libSDL2_mixer-2.0.so.0).
struct SoundLibraryFile {
    QString name;
    int majorVersion = 0;
};
struct SoundLibraryFiles {
    SoundLibraryFile sdl{QStringLiteral("SDL2-2.0"), 0};
    SoundLibraryFile mixer{QStringLiteral("SDL2_mixer-2.0"), 0};
    SoundLibraryFile synth{QStringLiteral("fluidsynth"), 3};
};

// Opens the sound output for as long as the object lives; the program makes
// one before any player and destroys it after them. With no usable device it
// falls back to SDL's silent dummy driver, so every player keeps working,
// end-of-piece notices included, without making a sound. If even that fails,
// or the sound library cannot be loaded, the players simply stay silent.
class SoundDevice {
public:
    explicit SoundDevice(const SoundLibraryFiles &files = {});
    ~SoundDevice();
    SoundDevice(const SoundDevice &) = delete;
    SoundDevice &operator=(const SoundDevice &) = delete;

    // Whether sound output (real or dummy) is open.
    static bool IsOpen();
    // The SDL name of the driver in use ("pulseaudio", "alsa", "dummy" …),
    // empty when nothing is open.
    static QString DriverName();

private:
    bool owner_ = false;
};

// Loads the sound library and opens the sound device on a thread of its own,
// so that the program's start does not wait for it: loading the library maps
// some sixty shared libraries, and where no sound server runs, SDL takes
// about 0.1 s to give up on the sound card before the silent fallback opens.
// The program starts it once its splash is on screen, waits for it before
// anything can play, and closes the device when destroyed.
class BackgroundSoundDevice {
public:
    BackgroundSoundDevice() = default;
    ~BackgroundSoundDevice();
    BackgroundSoundDevice(const BackgroundSoundDevice &) = delete;
    BackgroundSoundDevice &operator=(const BackgroundSoundDevice &) = delete;

    // Starts loading and opening; a second call does nothing.
    void Start(const SoundLibraryFiles &files = {});
    // Returns once the device is open (or known to be unusable); starts it
    // first if nobody has.
    void WaitUntilOpen();

private:
    std::unique_ptr<SoundDevice> device_;
    std::thread opening_;
};

// The functions of the loaded sound library, for the players; only to be
// called while the device is open.
const SoundLibrary &Sdl();
// The synthesizer of the MIDI music while the device is open; none when no
// SoundFont could be loaded.
MidiSynth *Synth();

// The mixer channel kept for the short WAV effects; the MP3 players take any
// other free channel.
inline constexpr int EffectChannel = 0;
