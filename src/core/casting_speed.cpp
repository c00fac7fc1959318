#include "core/casting_speed.h"

#include <algorithm>

namespace {

const QChar SpeedMark(u'■');

// One row per speed, slowest first; five seconds of the exit hint, then a
// count of one second a step.
constexpr CastingSchedule Standard{
    {{
        {3000, 2000, 3000, 1000, 1000, 120},
        {2000, 1000, 2000, 500, 500, 90},
        {1000, 500, 1000, 100, 100, 60},
        {500, 200, 500, 50, 50, 45},
        {10, 10, 10, 10, 10, 30},
    }},
    {5000, 1000},
};

} // namespace

const CastingSchedule &StandardCastingSchedule()
{
    return Standard;
}

std::optional<CastingTimings> TimingsOfSpeed(int speed, const CastingSchedule &schedule)
{
    if (speed < SlowestCastingSpeed || speed > FastestCastingSpeed)
        return std::nullopt;
    return schedule.speeds[speed - SlowestCastingSpeed];
}

int PhaseDelay(const CastingTimings &timings, CastingPhase phase)
{
    switch (phase) {
    case CastingPhase::SplitDelay:
        return timings.splitDelay;
    case CastingPhase::HeapsShownDelay:
        return timings.heapsShown;
    case CastingPhase::Pause:
        return timings.pause;
    case CastingPhase::LeftCounting:
    case CastingPhase::RightCounting:
        return timings.countingTick;
    case CastingPhase::NextStepDelay:
        return timings.nextStepDelay;
    case CastingPhase::WaitingForStep:
    case CastingPhase::Finished:
        break;
    }
    return 0;
}

QString SpeedBar(int speed)
{
    return QString(std::clamp(speed, 0, FastestCastingSpeed), SpeedMark);
}

int SpeedOfBar(const QString &bar)
{
    return int(bar.count(SpeedMark));
}

QString FasterBar(const QString &bar)
{
    return SpeedBar(std::max(SpeedOfBar(bar) + 1, SlowestCastingSpeed));
}

QString SlowerBar(const QString &bar)
{
    return SpeedBar(std::max(SpeedOfBar(bar) - 1, SlowestCastingSpeed));
}
