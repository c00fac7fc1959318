#include "voices.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double TwoPi = 2.0 * std::numbers::pi;

// The band-pass filter of the audio cookbook, for shaping noise.
class BandPass {
public:
    BandPass(double centre, double bandwidth)
    {
        const double w = TwoPi * centre / SampleRate;
        const double q = centre / bandwidth;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        b0_ = alpha / a0;
        b2_ = -alpha / a0;
        a1_ = -2.0 * std::cos(w) / a0;
        a2_ = (1.0 - alpha) / a0;
    }
    double Process(double x)
    {
        const double y = b0_ * x + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double b0_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Ratios and relative decays of the modes of each instrument: measured
// shapes of real instruments, simplified.
struct ModeShape {
    double ratio;
    double amplitude;
    double decay;
};

std::vector<Mode> Shape(double frequency, double decaySeconds, const std::vector<ModeShape> &shape,
                        double glide = 0.0)
{
    std::vector<Mode> modes;
    for (const ModeShape &m : shape)
        modes.push_back({frequency * m.ratio, m.amplitude, decaySeconds * m.decay, glide});
    return modes;
}

} // namespace

double NoiseSource::Uniform()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return double(state_ >> 11) / double(std::uint64_t(1) << 53);
}

void AddModes(AudioBuffer &buffer, const std::vector<Mode> &modes, const Strike &strike)
{
    const std::size_t first = std::size_t(strike.start * SampleRate);
    for (const Mode &mode : modes) {
        if (mode.frequency >= SampleRate / 2.0)
            continue;
        const std::size_t length = std::size_t(mode.decaySeconds * 7.0 * SampleRate);
        double phase = 0.0;
        for (std::size_t i = 0; i < length; ++i) {
            const double t = double(i) / SampleRate;
            const double attack = std::min(1.0, t / strike.attackSeconds);
            const double bend = 1.0 + mode.glide * (1.0 - std::exp(-t / 0.25));
            phase += TwoPi * mode.frequency * bend / SampleRate;
            const double value = strike.amplitude * mode.amplitude * attack * std::exp(-t / mode.decaySeconds)
                * std::sin(phase);
            buffer.Add(first + i, float(value), strike.pan);
        }
    }
}

std::vector<Mode> WoodblockModes(double frequency)
{
    return Shape(frequency, 0.030, {{1.0, 1.0, 1.0}, {2.57, 0.45, 0.55}, {4.21, 0.2, 0.35}});
}

std::vector<Mode> MarimbaModes(double frequency)
{
    return Shape(frequency, 0.35, {{1.0, 1.0, 1.0}, {3.93, 0.22, 0.3}, {9.2, 0.06, 0.12}});
}

std::vector<Mode> BellModes(double frequency)
{
    return Shape(frequency, 0.9,
                 {{0.5, 0.25, 1.6}, {1.0, 1.0, 1.0}, {1.19, 0.35, 0.8}, {1.56, 0.3, 0.6}, {2.0, 0.3, 0.5},
                  {2.74, 0.15, 0.3}, {3.76, 0.08, 0.2}});
}

std::vector<Mode> BowlModes(double frequency)
{
    // Each mode doubled a little apart: the slow beating of a bronze bowl.
    return Shape(frequency, 1.1,
                 {{1.0, 1.0, 1.0}, {1.004, 0.5, 1.0}, {2.71, 0.45, 0.6}, {2.716, 0.25, 0.6}, {5.15, 0.15, 0.3},
                  {8.3, 0.05, 0.15}});
}

std::vector<Mode> GongModes(double frequency, double decaySeconds, double glide)
{
    return Shape(frequency, decaySeconds,
                 {{1.0, 1.0, 1.0}, {1.52, 0.6, 0.8}, {2.03, 0.5, 0.6}, {2.61, 0.35, 0.5}, {3.17, 0.25, 0.4},
                  {4.05, 0.15, 0.3}, {5.3, 0.08, 0.2}},
                 glide);
}

std::vector<Mode> CymbalModes(double frequency)
{
    return Shape(frequency, 0.5,
                 {{1.0, 0.6, 1.0}, {1.41, 0.5, 0.9}, {1.83, 0.5, 0.8}, {2.29, 0.45, 0.7}, {2.87, 0.4, 0.6},
                  {3.52, 0.3, 0.5}, {4.33, 0.25, 0.4}});
}

std::vector<Mode> DrumModes(double frequency)
{
    return Shape(frequency, 0.28, {{1.0, 1.0, 1.0}, {1.59, 0.4, 0.5}, {2.14, 0.2, 0.35}}, -0.12);
}

std::vector<Mode> ZitherModes(double frequency, double decaySeconds)
{
    // A string plucked near one end: many partials, the high ones dying first.
    std::vector<Mode> modes;
    for (int n = 1; n <= 12; ++n) {
        const double amplitude = std::abs(std::sin(n * std::numbers::pi * 0.18)) / std::pow(n, 1.1);
        const double stretch = 1.0 + 0.0004 * n * n;
        modes.push_back({frequency * n * stretch, amplitude, decaySeconds / (1.0 + 0.45 * (n - 1))});
    }
    return modes;
}

void AddNoiseBurst(AudioBuffer &buffer, NoiseSource &noise, const NoiseBurst &burst, const Strike &strike)
{
    BandPass filter(burst.centre, burst.bandwidth);
    const std::size_t first = std::size_t(strike.start * SampleRate);
    const std::size_t length = std::size_t(burst.decaySeconds * 7.0 * SampleRate);
    for (std::size_t i = 0; i < length; ++i) {
        const double t = double(i) / SampleRate;
        const double attack = std::min(1.0, t / strike.attackSeconds);
        const double value = strike.amplitude * attack * std::exp(-t / burst.decaySeconds)
            * filter.Process(noise.Sample());
        buffer.Add(first + i, float(value), strike.pan);
    }
}

void AddFluteNote(AudioBuffer &buffer, NoiseSource &noise, double frequency, double lengthSeconds,
                  const Strike &strike)
{
    BandPass breath(frequency * 2.0, frequency);
    const std::size_t first = std::size_t(strike.start * SampleRate);
    const std::size_t length = std::size_t(lengthSeconds * SampleRate);
    double phase = 0.0;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = double(i) / SampleRate;
        const double swell = std::min(1.0, t / 0.08) * std::min(1.0, (lengthSeconds - t) / 0.12);
        const double vibrato = 1.0 + 0.006 * std::min(1.0, t / 0.6) * std::sin(TwoPi * 5.0 * t);
        phase += TwoPi * frequency * vibrato / SampleRate;
        const double tone = std::sin(phase) + 0.18 * std::sin(2.0 * phase) + 0.06 * std::sin(3.0 * phase);
        const double value = strike.amplitude * swell * (tone + 0.8 * breath.Process(noise.Sample()));
        buffer.Add(first + i, float(value), strike.pan);
    }
}

namespace {

// Eight delay lines mixed through a Householder matrix: a dense, smooth
// tail without the ringing of a bank of plain comb filters. Lines of odd
// index feed the left channel, even ones the right.
class DelayNetwork {
public:
    explicit DelayNetwork(double roomSeconds)
    {
        constexpr std::size_t Lengths[Lines] = {1031, 1327, 1523, 1801, 2053, 2311, 2579, 2843};
        for (std::size_t i = 0; i < Lines; ++i) {
            lines_[i].assign(Lengths[i], 0.0);
            // Each line loses 60 dB over the room time.
            gains_[i] = std::pow(10.0, -3.0 * double(Lengths[i]) / (roomSeconds * SampleRate));
        }
    }

    std::pair<double, double> Process(double input)
    {
        double outputs[Lines];
        double sum = 0.0;
        for (std::size_t i = 0; i < Lines; ++i) {
            const double delayed = lines_[i][index_[i]];
            // Air and walls take the highs first.
            damped_[i] = 0.65 * delayed + 0.35 * damped_[i];
            outputs[i] = damped_[i];
            sum += outputs[i];
        }
        double left = 0.0;
        double right = 0.0;
        for (std::size_t i = 0; i < Lines; ++i) {
            (i % 2 ? left : right) += outputs[i];
            const double mixed = outputs[i] - 2.0 / Lines * sum;
            lines_[i][index_[i]] = input + gains_[i] * mixed;
            index_[i] = (index_[i] + 1) % lines_[i].size();
        }
        return {left, right};
    }

private:
    static constexpr std::size_t Lines = 8;
    std::vector<double> lines_[Lines];
    double gains_[Lines] = {};
    double damped_[Lines] = {};
    std::size_t index_[Lines] = {};
};

} // namespace

void AddReverb(AudioBuffer &buffer, double wet, double roomSeconds)
{
    // Scaled so that a click's tail carries about the energy of the click.
    constexpr double TailScale = 0.5;
    DelayNetwork network(roomSeconds);
    for (std::size_t i = 0; i < buffer.frames(); ++i) {
        const auto [left, right] = network.Process(0.5 * (buffer.left[i] + buffer.right[i]));
        buffer.left[i] = float((1.0 - wet) * buffer.left[i] + wet * TailScale * left);
        buffer.right[i] = float((1.0 - wet) * buffer.right[i] + wet * TailScale * right);
    }
}

double NoteFrequency(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}
