#pragma once

#include <QString>

// Opens the sound output for as long as the object lives; the program makes
// one before any player and destroys it after them. With no usable device it
// falls back to SDL's silent dummy driver, so every player keeps working,
// end-of-piece notices included, without making a sound. If even that fails,
// the players simply stay silent.
class SoundDevice {
public:
    SoundDevice();
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

// The mixer channel kept for the short WAV effects; the MP3 players take any
// other free channel.
inline constexpr int EffectChannel = 0;
