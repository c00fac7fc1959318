#pragma once

#include <string>
#include <vector>

// The rate every generated sound is rendered and written at.
inline constexpr int SampleRate = 44100;

// A stereo sound being rendered, as floating-point samples in [-1, 1].
struct AudioBuffer {
    std::vector<float> left;
    std::vector<float> right;

    explicit AudioBuffer(double seconds);
    std::size_t frames() const { return left.size(); }
    double seconds() const { return double(frames()) / SampleRate; }

    // Adds one sample at `frame`, placed by `pan` (-1 left … 1 right) with
    // equal loudness across the field; samples past the end are dropped.
    void Add(std::size_t frame, float sample, float pan);
};

// Makes both channels their average, for a file written in mono.
void MixToMono(AudioBuffer &buffer);

// Scales the sound so its loudest sample reaches `peak` (below 1: no clipping).
void Normalize(AudioBuffer &buffer, float peak);

// Rounds off the loudest peaks (tanh saturation), so short sharp sounds
// can be made louder without clipping.
void SoftLimit(AudioBuffer &buffer, float drive);

// Fades the last `seconds` out smoothly, so no sound ends in a click.
void FadeOutEnd(AudioBuffer &buffer, double seconds);

// Writes 16-bit PCM WAV, stereo or mixed down to mono; false on a write error.
bool WriteWav(const AudioBuffer &buffer, int channels, const std::string &path);
