#include "audio_buffer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>

AudioBuffer::AudioBuffer(double seconds)
    : left(std::size_t(seconds * SampleRate), 0.0f)
    , right(left.size(), 0.0f)
{
}

void AudioBuffer::Add(std::size_t frame, float sample, float pan)
{
    if (frame >= frames())
        return;
    const double angle = (pan + 1.0) * std::numbers::pi / 4;
    left[frame] += float(sample * std::cos(angle) * std::numbers::sqrt2);
    right[frame] += float(sample * std::sin(angle) * std::numbers::sqrt2);
}

void MixToMono(AudioBuffer &buffer)
{
    for (std::size_t i = 0; i < buffer.frames(); ++i)
        buffer.left[i] = buffer.right[i] = 0.5f * (buffer.left[i] + buffer.right[i]);
}

void Normalize(AudioBuffer &buffer, float peak)
{
    float loudest = 0.0f;
    for (std::size_t i = 0; i < buffer.frames(); ++i)
        loudest = std::max({loudest, std::abs(buffer.left[i]), std::abs(buffer.right[i])});
    if (loudest == 0.0f)
        return;
    const float gain = peak / loudest;
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] *= gain;
        buffer.right[i] *= gain;
    }
}

void SoftLimit(AudioBuffer &buffer, float drive)
{
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        buffer.left[i] = std::tanh(drive * buffer.left[i]);
        buffer.right[i] = std::tanh(drive * buffer.right[i]);
    }
}

void FadeOutEnd(AudioBuffer &buffer, double seconds)
{
    const std::size_t length = std::min(buffer.frames(), std::size_t(seconds * SampleRate));
    const std::size_t start = buffer.frames() - length;
    for (std::size_t i = 0; i < length; ++i) {
        const float gain = float(0.5 * (1.0 + std::cos(std::numbers::pi * double(i) / double(length))));
        buffer.left[start + i] *= gain;
        buffer.right[start + i] *= gain;
    }
}

namespace {

void PutLittleEndian(std::ofstream &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.put(char((value >> (8 * i)) & 0xFF));
}

std::int16_t ToPcm(float sample)
{
    return std::int16_t(std::lround(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
}

} // namespace

bool WriteWav(const AudioBuffer &buffer, int channels, const std::string &path)
{
    std::ofstream out(path, std::ios::binary);
    const std::uint32_t dataBytes = std::uint32_t(buffer.frames() * channels * 2);
    out.write("RIFF", 4);
    PutLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2);
    PutLittleEndian(out, channels, 2);
    PutLittleEndian(out, SampleRate, 4);
    PutLittleEndian(out, SampleRate * channels * 2, 4);
    PutLittleEndian(out, channels * 2, 2);
    PutLittleEndian(out, 16, 2);
    out.write("data", 4);
    PutLittleEndian(out, dataBytes, 4);
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        if (channels == 1) {
            PutLittleEndian(out, std::uint16_t(ToPcm(0.5f * (buffer.left[i] + buffer.right[i]))), 2);
        } else {
            PutLittleEndian(out, std::uint16_t(ToPcm(buffer.left[i])), 2);
            PutLittleEndian(out, std::uint16_t(ToPcm(buffer.right[i])), 2);
        }
    }
    return bool(out);
}
