#include "recipes.h"

#include "voices.h"

#include <array>
#include <cmath>

namespace {

// Notes by MIDI number; the tunes keep to the five-tone scale on G
// (G A B D E), the scale of most Chinese folk music.
constexpr int G3 = 55, A3 = 57, B3 = 59, D4 = 62, E4 = 64, G4 = 67, A4 = 69, B4 = 71, D5 = 74, E5 = 76,
              G5 = 79, A5 = 81, B5 = 83, D6 = 86, E6 = 88, G6 = 91;

// The click of most commands: a light tap on hard wood.
AudioBuffer Click()
{
    AudioBuffer sound(0.09);
    NoiseSource noise(11);
    AddModes(sound, WoodblockModes(1750), {0.0, 1.0, 0.0f, 0.0008});
    AddNoiseBurst(sound, noise, {3200, 2500, 0.002}, {0.0, 0.5});
    FadeOutEnd(sound, 0.02);
    return sound;
}

// A clock-like tick for each second of a countdown: lower and drier.
AudioBuffer Step()
{
    AudioBuffer sound(0.16);
    NoiseSource noise(12);
    AddModes(sound, WoodblockModes(880), {0.0, 1.0, 0.0f, 0.001});
    AddNoiseBurst(sound, noise, {1800, 1500, 0.003}, {0.0, 0.35});
    FadeOutEnd(sound, 0.04);
    return sound;
}

// Two soft mallet notes, rising (a window opens) or falling (it closes).
AudioBuffer MalletPair(int first, int second)
{
    AudioBuffer sound(0.75);
    AddModes(sound, MarimbaModes(NoteFrequency(first)), {0.0, 0.8});
    AddModes(sound, MarimbaModes(NoteFrequency(second)), {0.09, 1.0});
    FadeOutEnd(sound, 0.15);
    return sound;
}

AudioBuffer Option() { return MalletPair(G5, D6); }
AudioBuffer Close() { return MalletPair(D6, G5); }

// A bronze bowl struck once as the casting begins.
AudioBuffer Open()
{
    AudioBuffer sound(2.4);
    NoiseSource noise(13);
    AddModes(sound, BowlModes(NoteFrequency(A4)), {0.0, 1.0, 0.0f, 0.004});
    AddNoiseBurst(sound, noise, {900, 600, 0.01}, {0.0, 0.3});
    AddReverb(sound, 0.2, 1.6);
    FadeOutEnd(sound, 0.4);
    return sound;
}

// Yarrow stalks gathered in the hand: light bamboo clicks close together.
AudioBuffer StalkRattle(double seconds, int clicks, std::uint64_t seed)
{
    AudioBuffer sound(seconds);
    NoiseSource noise(seed);
    const double span = seconds - 0.12;
    for (int i = 0; i < clicks; ++i) {
        // Denser at first, thinning out as the stalks settle.
        const double position = span * std::pow((i + noise.Uniform() * 0.6) / clicks, 1.4);
        const double loudness = noise.Between(0.5, 1.0);
        const float pan = float(noise.Between(-0.4, 0.4));
        AddModes(sound, WoodblockModes(noise.Between(1300, 2300)), {position, loudness, pan, 0.0005});
        AddNoiseBurst(sound, noise, {4000, 3000, 0.002}, {position, 0.4 * loudness, pan});
    }
    FadeOutEnd(sound, 0.05);
    return sound;
}

AudioBuffer Res() { return StalkRattle(0.38, 5, 21); }
AudioBuffer Res2() { return StalkRattle(0.95, 11, 22); }

// A small hand gong whose pitch bends upward: the cast is complete.
AudioBuffer End()
{
    AudioBuffer sound(3.2);
    NoiseSource noise(14);
    AddModes(sound, GongModes(NoteFrequency(D5), 0.9, 0.06), {0.0, 1.0, 0.0f, 0.003});
    AddNoiseBurst(sound, noise, {2500, 3000, 0.02}, {0.0, 0.2});
    AddReverb(sound, 0.22, 1.8);
    FadeOutEnd(sound, 0.5);
    return sound;
}

// Bell notes one after another, `gap` seconds apart.
AudioBuffer Chime(std::initializer_list<int> notes, double gap, double seconds)
{
    AudioBuffer sound(seconds);
    double start = 0.0;
    for (int note : notes) {
        AddModes(sound, BellModes(NoteFrequency(note)), {start, 1.0, 0.0f, 0.001});
        start += gap;
    }
    AddReverb(sound, 0.2, 1.4);
    FadeOutEnd(sound, 0.3);
    return sound;
}

AudioBuffer S2() { return Chime({E6, B5}, 0.16, 1.5); }
AudioBuffer S3() { return Chime({D6, E6, G6}, 0.11, 1.5); }

// A zither sweeps down the scale and settles on one note: the old texts open.
AudioBuffer Guyue()
{
    AudioBuffer sound(3.6);
    const int sweep[] = {G6, E6, D6, B5, A5, G5, E5, D5, B4, A4};
    double start = 0.0;
    for (int note : sweep) {
        AddModes(sound, ZitherModes(NoteFrequency(note), 1.2), {start, 0.55, float((note - A5) / 30.0)});
        start += 0.055;
    }
    AddModes(sound, ZitherModes(NoteFrequency(D4), 2.0), {start + 0.25, 1.0});
    AddModes(sound, ZitherModes(NoteFrequency(A4), 1.6), {start + 0.25, 0.5, 0.2f});
    AddReverb(sound, 0.25, 2.0);
    FadeOutEnd(sound, 0.6);
    return sound;
}

// A long string of firecrackers: sharp broadband cracks in a dense, uneven
// patter with some heavier bangs, thinning out at the end.
AudioBuffer Firecrackers()
{
    constexpr double Seconds = 9.0;
    constexpr double Crackling = Seconds - 1.5;
    AudioBuffer sound(Seconds);
    NoiseSource noise(31);
    double time = 0.05;
    while (time < Crackling) {
        const double progress = time / Crackling;
        // Cracks per second: the fuse catches, races, then the string runs out.
        const double rate = progress < 0.1 ? 8.0 + 160.0 * progress : (progress > 0.85 ? 10.0 : 24.0);
        const float pan = float(noise.Between(-0.7, 0.7));
        const bool bang = noise.Uniform() < 0.06;
        const double loudness = bang ? 1.0 : noise.Between(0.35, 0.8);
        const NoiseBurst crack = bang ? NoiseBurst{1600, 4000, 0.03}
                                      : NoiseBurst{noise.Between(2200, 3800), 5000, noise.Between(0.004, 0.01)};
        AddNoiseBurst(sound, noise, crack, {time, loudness, pan, 0.0002});
        // The paper tube's short hollow pop under the crack.
        const std::vector<Mode> pop = {{noise.Between(bang ? 140 : 380, bang ? 200 : 620), 1.0, bang ? 0.04 : 0.008}};
        AddModes(sound, pop, {time, 0.25 * loudness, pan, 0.0004});
        time += noise.Between(0.3, 1.7) / rate;
    }
    Normalize(sound, 1.0f);
    SoftLimit(sound, 2.5f);
    AddReverb(sound, 0.3, 1.4);
    FadeOutEnd(sound, 1.2);
    return sound;
}

// The strokes of a festival gong-and-drum band.
enum Stroke { Rest, Drum, Cymbals, SmallGong, BigGong, Crash };

void AddStroke(AudioBuffer &sound, NoiseSource &noise, Stroke stroke, double time)
{
    switch (stroke) {
    case Rest:
        break;
    case Drum:
        AddModes(sound, DrumModes(95), {time, 1.0, -0.2f, 0.001});
        AddNoiseBurst(sound, noise, {300, 400, 0.03}, {time, 0.3, -0.2f});
        break;
    case Cymbals:
        AddModes(sound, CymbalModes(2900), {time, 0.3, 0.3f, 0.001});
        AddNoiseBurst(sound, noise, {6000, 7000, 0.2}, {time, 0.8, 0.3f, 0.001});
        break;
    case SmallGong:
        AddModes(sound, GongModes(NoteFrequency(A5), 0.35, 0.08), {time, 0.35, 0.4f});
        break;
    case BigGong:
        AddModes(sound, GongModes(180, 1.6, -0.04), {time, 0.7, -0.4f, 0.004});
        break;
    case Crash:
        AddStroke(sound, noise, Drum, time);
        AddStroke(sound, noise, Cymbals, time);
        AddStroke(sound, noise, BigGong, time);
        break;
    }
}

AudioBuffer GongsAndDrums()
{
    // Eighth notes at 160 beats a minute: the drum leads, cymbals and gongs
    // answer, and the phrase closes on a full crash ("咚咚锵").
    constexpr double Eighth = 60.0 / 160.0 / 2.0;
    constexpr std::array Phrase = {Drum, Rest, Drum, Rest, Crash, Rest, SmallGong, Rest,
                                   Drum, Drum, Drum, Rest, Crash, Rest, SmallGong, SmallGong,
                                   Drum, SmallGong, Drum, SmallGong, Crash, SmallGong, Crash, Rest,
                                   Drum, Drum, SmallGong, Drum, Crash, Rest, Cymbals, Rest};
    constexpr int Rounds = 2;
    AudioBuffer sound(Rounds * Phrase.size() * Eighth + 2 * Eighth + 2.5);
    NoiseSource noise(41);
    double time = 0.02;
    for (int round = 0; round < Rounds; ++round) {
        for (Stroke stroke : Phrase) {
            AddStroke(sound, noise, stroke, time);
            time += Eighth;
        }
    }
    AddStroke(sound, noise, Drum, time);
    AddStroke(sound, noise, Crash, time + 2 * Eighth);
    AddReverb(sound, 0.2, 1.5);
    FadeOutEnd(sound, 1.0);
    return sound;
}

// The about window's music: an unhurried five-tone melody on a plucked
// zither over low strings, with a bamboo flute joining for the third phrase.
struct Note {
    int pitch;
    double beats;
};

constexpr int Silent = 0;

constexpr Note Melody[] = {
    // First phrase.
    {D5, 1}, {E5, 0.5}, {D5, 0.5}, {B4, 1}, {A4, 1},
    {G4, 1.5}, {A4, 0.5}, {B4, 1}, {D5, 1},
    {E5, 1}, {G5, 0.5}, {E5, 0.5}, {D5, 1}, {B4, 1},
    {A4, 3}, {Silent, 1},
    // The same, coming home.
    {D5, 1}, {E5, 0.5}, {D5, 0.5}, {B4, 1}, {A4, 1},
    {G4, 1.5}, {A4, 0.5}, {B4, 1}, {D5, 1},
    {E5, 1}, {D5, 0.5}, {B4, 0.5}, {A4, 1}, {B4, 0.5}, {A4, 0.5},
    {G4, 3}, {Silent, 1},
    // Rising higher.
    {G5, 1.5}, {E5, 0.5}, {D5, 1}, {E5, 1},
    {G5, 1}, {A5, 1}, {G5, 2},
    {E5, 1}, {D5, 0.5}, {E5, 0.5}, {G5, 1}, {E5, 1},
    {D5, 3}, {Silent, 1},
    // Settling down.
    {B4, 1}, {D5, 0.5}, {B4, 0.5}, {A4, 1}, {G4, 1},
    {E4, 1.5}, {G4, 0.5}, {A4, 1}, {B4, 1},
    {D5, 1}, {E5, 0.5}, {D5, 0.5}, {B4, 1}, {A4, 1},
    {G4, 4},
};

// One low root and fifth per bar.
constexpr std::array<std::array<int, 2>, 16> BassBars = {{
    {G3 - 12, D4 - 12}, {E4 - 24, B3 - 12}, {A3 - 12, E4 - 12}, {D4 - 24, A3 - 12},
    {G3 - 12, D4 - 12}, {E4 - 24, B3 - 12}, {A3 - 12, E4 - 12}, {G3 - 12, D4 - 12},
    {E4 - 24, B3 - 12}, {A3 - 12, E4 - 12}, {E4 - 24, B3 - 12}, {D4 - 24, A3 - 12},
    {G3 - 12, D4 - 12}, {E4 - 24, B3 - 12}, {D4 - 24, A3 - 12}, {G3 - 12, D4 - 12},
}};

AudioBuffer AboutMusic()
{
    constexpr double Beat = 60.0 / 84.0;
    constexpr double BeatsPerBar = 4.0;
    AudioBuffer sound(BassBars.size() * BeatsPerBar * Beat + 4.0);
    NoiseSource noise(51);
    double beat = 0.0;
    for (const Note &note : Melody) {
        if (note.pitch != Silent) {
            const double time = beat * Beat;
            // A touch of human unevenness in timing and touch.
            const double loudness = noise.Between(0.8, 1.0) * (std::fmod(beat, 1.0) == 0.0 ? 1.0 : 0.85);
            AddModes(sound, ZitherModes(NoteFrequency(note.pitch), 1.4 + note.beats * 0.3),
                     {time + noise.Between(0.0, 0.012), loudness, 0.15f});
            const bool thirdPhrase = beat >= 32 && beat < 48;
            if (thirdPhrase)
                AddFluteNote(sound, noise, NoteFrequency(note.pitch), note.beats * Beat * 0.95,
                             {time, 0.22, -0.3f});
        }
        beat += note.beats;
    }
    for (std::size_t bar = 0; bar < BassBars.size(); ++bar) {
        const double time = bar * BeatsPerBar * Beat;
        AddModes(sound, ZitherModes(NoteFrequency(BassBars[bar][0]), 2.6), {time, 0.7, -0.25f, 0.006});
        AddModes(sound, ZitherModes(NoteFrequency(BassBars[bar][1]), 2.0), {time + 2 * Beat, 0.45, -0.1f, 0.006});
    }
    AddReverb(sound, 0.28, 2.2);
    FadeOutEnd(sound, 2.5);
    return sound;
}

constexpr SoundRecipe Recipes[] = {
    {"s1", 1, 0.5f, Click},
    {"s2", 1, 0.5f, S2},
    {"s3", 1, 0.5f, S3},
    {"option", 1, 0.5f, Option},
    {"close", 1, 0.5f, Close},
    {"open", 1, 0.55f, Open},
    {"step", 1, 0.45f, Step},
    {"res", 1, 0.45f, Res},
    {"res2", 1, 0.45f, Res2},
    {"end", 1, 0.6f, End},
    {"guyue", 1, 0.6f, Guyue},
    {"firecrackers", 2, 0.85f, Firecrackers},
    {"gongs-and-drums", 2, 0.85f, GongsAndDrums},
    {"about-music", 2, 0.7f, AboutMusic},
};

} // namespace

std::span<const SoundRecipe> SoundRecipes()
{
    return Recipes;
}
