#pragma once

#include "core/casting_engine.h"

#include <QString>

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

// The timings of speed 1 … 5; nothing for any other speed.
std::optional<CastingTimings> TimingsOfSpeed(int speed);

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
