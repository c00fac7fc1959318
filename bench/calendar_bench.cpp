// Times the calendar over every day from 1900-01-31 to 2100-12-31: the lunar
// date with all its names, the solar term and both festival texts, as the
// almanac command describes a day. Prints one line per measurement.

#include "calendar/almanac.h"
#include "calendar/lunar_date.h"

#include <QElapsedTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <limits>

namespace {

constexpr int Rounds = 25;

// Touches the results so the work cannot be optimised away.
qsizetype DescribeRange()
{
    qsizetype characters = 0;
    for (QDate date = FirstLunarConvertibleDate; date <= LastLunarConvertibleDate; date = date.addDays(1)) {
        const AlmanacDay day = DescribeAlmanacDay(date);
        characters += day.lunarLine.size() + day.lunarDay.monthPillarText.size()
            + day.lunarDay.dayPillarText.size() + day.nayin.size() + day.starSign.size()
            + day.weekday.size() + day.solarTerm.size() + day.gregorianFestivals.size()
            + day.lunarFestivals.size();
    }
    return characters;
}

// CPU time of this thread: on a machine shared with other work, the wall
// clock also counts the time the thread waited for a core.
qint64 ThreadCpuNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

int main()
{
    const qint64 days = FirstLunarConvertibleDate.daysTo(LastLunarConvertibleDate) + 1;
    qint64 bestWall = std::numeric_limits<qint64>::max();
    qint64 bestCpu = std::numeric_limits<qint64>::max();
    qsizetype characters = 0;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        const qint64 cpuStart = ThreadCpuNanoseconds();
        characters = DescribeRange();
        bestCpu = std::min(bestCpu, ThreadCpuNanoseconds() - cpuStart);
        bestWall = std::min(bestWall, timer.nsecsElapsed());
    }
    std::printf("days\t%lld\n", static_cast<long long>(days));
    std::printf("characters\t%lld\n", static_cast<long long>(characters));
    std::printf("best_range_ms\t%.2f\n", bestWall / 1e6);
    std::printf("best_range_cpu_ms\t%.2f\n", bestCpu / 1e6);
    std::printf("ns_per_described_day\t%.1f\n", double(bestCpu) / double(days));
    std::printf("wall_ns_per_described_day\t%.1f\n", double(bestWall) / double(days));
    return 0;
}
