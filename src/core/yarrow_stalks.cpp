#include "core/yarrow_stalks.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace {

RandomSource SourceFrom(std::mt19937_64 generator)
{
    auto shared = std::make_shared<std::mt19937_64>(generator);
    // The top 53 bits make a double strictly below 1.
    return [shared] { return static_cast<double>((*shared)() >> 11) * 0x1.0p-53; };
}

} // namespace

RandomSource SystemRandomSource()
{
    std::random_device device;
    std::seed_seq seeds{device(), device(), device(), device()};
    return SourceFrom(std::mt19937_64(seeds));
}

RandomSource SeededRandomSource(unsigned long long seed)
{
    return SourceFrom(std::mt19937_64(seed));
}

int LeftHeapOfSplit(int stalks, double r)
{
    // A draw just below 1 can round up to stalks − 4 in floating point, and a
    // faulty source may give NaN or a number outside [0, 1): both are held to
    // the range, so the right heap never drops below four.
    const double draw = std::isnan(r) ? 0.0 : std::clamp(r, 0.0, 1.0);
    const int left = static_cast<int>(std::floor(draw * (stalks - 8) + 4));
    return std::clamp(left, 4, stalks - 5);
}

bool CountOffGroup(int &heap, int &counted)
{
    if (heap <= StalksPerGroup)
        return false;
    heap -= StalksPerGroup;
    counted += StalksPerGroup;
    return true;
}
