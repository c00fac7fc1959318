#pragma once

#include <QString>

#include <memory>
#include <thread>

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

// Opens the sound device on a thread of its own, so that the program's start
// does not wait for it: where no sound server runs, SDL takes about 0.1 s to
// give up on the sound card before the silent fallback opens. The program
// waits for it before anything can play, and closes it when destroyed.
class BackgroundSoundDevice {
public:
    BackgroundSoundDevice();
    ~BackgroundSoundDevice();
    BackgroundSoundDevice(const BackgroundSoundDevice &) = delete;
    BackgroundSoundDevice &operator=(const BackgroundSoundDevice &) = delete;

    // Returns once the device is open (or known to be unusable).
    void WaitUntilOpen();

private:
    std::unique_ptr<SoundDevice> device_;
    std::thread opening_;
};

// The mixer channel kept for the short WAV effects; the MP3 players take any
// other free channel.
inline constexpr int EffectChannel = 0;
