#pragma once

#include <string>
#include <vector>

// A piece as timed events: what the note-list reader produces and the
// Standard MIDI File writer consumes. Times are in ticks.
constexpr long TicksPerQuarter = 480;
constexpr int PercussionChannel = 9;

struct ScoreNote {
    long start = 0;
    long length = 0;
    int key = 60;
    int velocity = 80;

    bool operator==(const ScoreNote &) const = default;
};

struct ScoreVoice {
    std::string name;
    int channel = 0;
    int program = 0;
    int volume = 100;
    int pan = 64;
    int reverb = 40;
    int chorus = 0;
    std::vector<ScoreNote> notes;
};

struct MeterChange {
    long tick = 0;
    int beats = 4;
    int unit = 4;
};

struct TempoChange {
    long tick = 0;
    double quartersPerMinute = 120;
};

struct Score {
    std::string title;
    std::vector<MeterChange> meters;
    std::vector<TempoChange> tempos;
    std::vector<ScoreVoice> voices;
    long endTick = 0;
};
