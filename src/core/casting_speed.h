#pragma once

#include "core/casting_engine.h"

#include <QString>

#include <array>
#include <optional>

// How long the casting window waits in each timed phase of the engine, and
// between two frames of the stalk animation, in milliseconds.
struct CastingTimings {
    int splitDelay;
    int heapsShown;
    int pause;
    int countingTick;
    int nextStepDelay;
    int animationFrame;

    bool operator==(const CastingTimings &) const = default;
};

inline constexpr int SlowestCastingSpeed = 1;
inline constexpr int FastestCastingSpeed = 5;

// The close of a finished automatic cast: the hint shows for `hintMs`, then
// the count runs from ExitCountdownStart down to 0, `tickMs` a step, and the
// window closes one step after 0.
struct ExitCountdown {
    int hintMs;
    int tickMs;

    bool operator==(const ExitCountdown &) const = default;
};

inline constexpr int ExitCountdownStart = 5;

// Everything the casting window is timed by: the timings of speed 1 … 5,
// slowest first, and the exit countdown. The program runs on the standard
// schedule; tests hand in a faster one so they do not wait on the clock.
struct CastingSchedule {
    std::array<CastingTimings, FastestCastingSpeed> speeds;
    ExitCountdown exitCountdown;
};

const CastingSchedule &StandardCastingSchedule();

// The timings of speed 1 … 5 in `schedule`; nothing for any other speed.
std::optional<CastingTimings> TimingsOfSpeed(int speed, const CastingSchedule &schedule = StandardCastingSchedule());

// The delay before the engine may leave `phase`; 0 for a phase that waits
// for the user or for a finished cast.
int PhaseDelay(const CastingTimings &timings, CastingPhase phase);

// The speed bar shows one "■" per speed step, at most five; a speed of 0 or
// below shows an empty bar.
QString SpeedBar(int speed);
// The speed a bar stands for: its number of "■".
int SpeedOfBar(const QString &bar);
// One "■" more or less, kept within one and five.
QString FasterBar(const QString &bar);
QString SlowerBar(const QString &bar);
