#pragma once

#include "audio_buffer.h"

#include <cstdint>
#include <vector>

// One vibrating mode of a struck or plucked body: a sine that dies away.
struct Mode {
    double frequency;
    double amplitude;
    double decaySeconds;   // time to fall to 1/e
    double glide = 0.0;    // relative pitch change the mode settles to (gongs bend)
};

// Where and how loud one note sounds.
struct Strike {
    double start;          // seconds
    double amplitude;
    float pan = 0.0f;
    double attackSeconds = 0.002;
};

// Adds the modes, struck at `strike`.
void AddModes(AudioBuffer &buffer, const std::vector<Mode> &modes, const Strike &strike);

// Mode sets of the instruments, at fundamental `frequency`.
std::vector<Mode> WoodblockModes(double frequency);
std::vector<Mode> MarimbaModes(double frequency);
std::vector<Mode> BellModes(double frequency);
std::vector<Mode> BowlModes(double frequency);
std::vector<Mode> GongModes(double frequency, double decaySeconds, double glide);
std::vector<Mode> CymbalModes(double frequency);
std::vector<Mode> DrumModes(double frequency);
std::vector<Mode> ZitherModes(double frequency, double decaySeconds);

// A fixed-seed generator, so every build renders the same files.
class NoiseSource {
public:
    explicit NoiseSource(std::uint64_t seed) : state_(seed) {}
    double Uniform();        // [0, 1)
    double Between(double low, double high) { return low + (high - low) * Uniform(); }
    float Sample() { return float(2.0 * Uniform() - 1.0); }

private:
    std::uint64_t state_;
};

// A band of noise around `centre` that dies away in `decaySeconds`.
struct NoiseBurst {
    double centre;
    double bandwidth;      // Hz
    double decaySeconds;
};
void AddNoiseBurst(AudioBuffer &buffer, NoiseSource &noise, const NoiseBurst &burst, const Strike &strike);

// A breathy bamboo-flute note with a gentle vibrato.
void AddFluteNote(AudioBuffer &buffer, NoiseSource &noise, double frequency, double lengthSeconds,
                  const Strike &strike);

// A small-room stereo reverb mixed in at `wet`.
void AddReverb(AudioBuffer &buffer, double wet, double roomSeconds);

// Equal-tempered frequency of a MIDI note number.
double NoteFrequency(int midiNote);
