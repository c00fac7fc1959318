#include "astronomy.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <span>

namespace Astronomy {
namespace {

constexpr double J2000 = 2451545.0;
constexpr double DaysPerCentury = 36525.0;
constexpr double DaysPerMillennium = 365250.0;
constexpr double SecondsPerDay = 86400.0;
constexpr double ArcsecondsPerDegree = 3600.0;

constexpr double Radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

double DegreesIn360(double degrees)
{
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

// Sum of `terms`, each A·cos(B + C·τ), with the amplitude in units of 1e-8.
struct PeriodicTerm {
    double amplitude;
    double phase;
    double frequency;
};

using Series = std::span<const PeriodicTerm>;

double SumSeries(Series series, double tau)
{
    double sum = 0;
    for (const PeriodicTerm &term : series)
        sum += term.amplitude * std::cos(term.phase + term.frequency * tau);
    return sum;
}

// Σ seriesₖ·τᵏ, in radians or astronomical units.
double EvaluatePolynomialSeries(std::initializer_list<Series> powers, double tau)
{
    double sum = 0;
    double power = 1;
    for (Series series : powers) {
        sum += SumSeries(series, tau) * power;
        power *= tau;
    }
    return sum * 1e-8;
}

// VSOP87D heliocentric coordinates of the Earth, ecliptic and equinox of
// date, truncated to the terms the astronomical-algorithms tables keep.
constexpr PeriodicTerm EarthL0[] = {
    {175347046, 0, 0},
    {3341656, 4.6692568, 6283.0758500},
    {34894, 4.6261, 12566.1517},
    {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},
    {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},
    {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910},
    {1199, 1.1096, 1577.3435},
    {990, 5.233, 5884.927},
    {902, 2.045, 26.298},
    {857, 3.508, 398.149},
    {780, 1.179, 5223.694},
    {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},
    {492, 4.205, 775.523},
    {357, 2.920, 0.067},
    {317, 5.849, 11790.629},
    {284, 1.899, 796.298},
    {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},
    {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},
    {202, 2.458, 6069.777},
    {156, 0.833, 213.299},
    {132, 3.411, 2942.463},
    {126, 1.083, 20.775},
    {115, 0.645, 0.980},
    {103, 0.636, 4694.003},
    {102, 0.976, 15720.839},
    {102, 4.267, 7.114},
    {99, 6.21, 2146.17},
    {98, 0.68, 155.42},
    {86, 5.98, 161000.69},
    {85, 1.30, 6275.96},
    {85, 3.67, 71430.70},
    {80, 1.81, 17260.15},
    {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},
    {74, 3.50, 3154.69},
    {74, 4.68, 801.82},
    {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},
    {61, 1.82, 7084.90},
    {57, 2.78, 6286.60},
    {56, 4.39, 14143.50},
    {56, 3.47, 6279.55},
    {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},
    {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},
    {41, 5.37, 8429.24},
    {41, 2.40, 19651.05},
    {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},
    {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},
    {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},
    {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
};

constexpr PeriodicTerm EarthL1[] = {
    {628331966747, 0, 0},
    {206059, 2.678235, 6283.075850},
    {4303, 2.6351, 12566.1517},
    {425, 1.590, 3.523},
    {119, 5.796, 26.298},
    {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},
    {72, 1.14, 529.69},
    {68, 1.87, 398.15},
    {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},
    {56, 2.17, 155.42},
    {45, 0.40, 796.30},
    {36, 0.47, 775.52},
    {29, 2.65, 7.11},
    {21, 5.34, 0.98},
    {19, 1.85, 5486.78},
    {19, 4.97, 213.30},
    {17, 2.99, 6275.96},
    {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},
    {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},
    {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},
    {12, 2.08, 4694.00},
    {11, 0.77, 553.57},
    {10, 1.30, 6286.60},
    {10, 4.24, 1349.87},
    {9, 2.70, 242.73},
    {9, 5.64, 951.72},
    {8, 5.30, 2352.87},
    {6, 2.65, 9437.76},
    {6, 4.67, 4690.48},
};

constexpr PeriodicTerm EarthL2[] = {
    {52919, 0, 0},
    {8720, 1.0721, 6283.0758},
    {309, 0.867, 12566.152},
    {27, 0.05, 3.52},
    {16, 5.19, 26.30},
    {16, 3.68, 155.42},
    {10, 0.76, 18849.23},
    {9, 2.06, 77713.77},
    {7, 0.83, 775.52},
    {5, 4.66, 1577.34},
    {4, 1.03, 7.11},
    {4, 3.44, 5573.14},
    {3, 5.14, 796.30},
    {3, 6.05, 5507.55},
    {3, 1.19, 242.73},
    {3, 6.12, 529.69},
    {3, 0.31, 398.15},
    {3, 2.28, 553.57},
    {2, 4.38, 5223.69},
    {2, 3.75, 0.98},
};

constexpr PeriodicTerm EarthL3[] = {
    {289, 5.844, 6283.076},
    {35, 0, 0},
    {17, 5.49, 12566.15},
    {3, 5.20, 155.42},
    {1, 4.72, 3.52},
    {1, 5.30, 18849.23},
    {1, 5.97, 242.73},
};

constexpr PeriodicTerm EarthL4[] = {
    {114, 3.142, 0},
    {8, 4.13, 6283.08},
    {1, 3.84, 12566.15},
};

constexpr PeriodicTerm EarthL5[] = {
    {1, 3.14, 0},
};

constexpr PeriodicTerm EarthR0[] = {
    {100013989, 0, 0},
    {1670700, 3.0984635, 6283.0758500},
    {13956, 3.05525, 12566.15170},
    {3084, 5.1985, 77713.7715},
    {1628, 1.1739, 5753.3849},
    {1576, 2.8469, 7860.4194},
    {925, 5.453, 11506.770},
    {542, 4.564, 3930.210},
    {472, 3.661, 5884.927},
    {346, 0.964, 5507.553},
    {329, 5.900, 5223.694},
    {307, 0.299, 5573.143},
    {243, 4.273, 11790.629},
    {212, 5.847, 1577.344},
    {186, 5.022, 10977.079},
    {175, 3.012, 18849.228},
    {110, 5.055, 5486.778},
    {98, 0.89, 6069.78},
    {86, 5.69, 15720.84},
    {86, 1.27, 161000.69},
    {65, 0.27, 17260.15},
    {63, 0.92, 529.69},
    {57, 2.01, 83996.85},
    {56, 5.24, 71430.70},
    {49, 3.25, 2544.31},
    {47, 2.58, 775.52},
    {45, 5.54, 9437.76},
    {43, 6.01, 6275.96},
    {39, 5.36, 4694.00},
    {38, 2.39, 8827.39},
    {37, 0.83, 19651.05},
    {37, 4.90, 12139.55},
    {36, 1.67, 12036.46},
    {35, 1.84, 2942.46},
    {33, 0.24, 7084.90},
    {32, 0.18, 5088.63},
    {32, 1.78, 398.15},
    {28, 1.21, 6286.60},
    {28, 1.90, 6279.55},
    {26, 4.59, 10447.39},
};

constexpr PeriodicTerm EarthR1[] = {
    {103019, 1.107490, 6283.075850},
    {1721, 1.0644, 12566.1517},
    {702, 3.142, 0},
    {32, 1.02, 18849.23},
    {31, 2.84, 5507.55},
    {25, 1.32, 5223.69},
    {18, 1.42, 1577.34},
    {10, 5.91, 10977.08},
    {9, 1.42, 6275.96},
    {9, 0.27, 5486.78},
};

constexpr PeriodicTerm EarthR2[] = {
    {4359, 5.7846, 6283.0758},
    {124, 5.579, 12566.152},
    {12, 3.14, 0},
    {9, 3.63, 77713.77},
    {6, 1.87, 5573.14},
    {3, 5.47, 18849.23},
};

constexpr PeriodicTerm EarthR3[] = {
    {145, 4.273, 6283.076},
    {7, 3.92, 12566.15},
};

constexpr PeriodicTerm EarthR4[] = {
    {4, 2.56, 6283.08},
};

// Nutation in longitude (IAU 1980): multiples of the Moon's mean elongation
// D, the Sun's mean anomaly M, the Moon's mean anomaly M′, the Moon's
// argument of latitude F and the longitude of the Moon's ascending node Ω,
// and the coefficient (a + b·T) in units of 0.0001″.
struct NutationTerm {
    signed char d, m, mPrime, f, omega;
    double a, b;
};

constexpr NutationTerm NutationSeriesInLongitude[] = {
    {0, 0, 0, 0, 1, -171996, -174.2},
    {-2, 0, 0, 2, 2, -13187, -1.6},
    {0, 0, 0, 2, 2, -2274, -0.2},
    {0, 0, 0, 0, 2, 2062, 0.2},
    {0, 1, 0, 0, 0, 1426, -3.4},
    {0, 0, 1, 0, 0, 712, 0.1},
    {-2, 1, 0, 2, 2, -517, 1.2},
    {0, 0, 0, 2, 1, -386, -0.4},
    {0, 0, 1, 2, 2, -301, 0},
    {-2, -1, 0, 2, 2, 217, -0.5},
    {-2, 0, 1, 0, 0, -158, 0},
    {-2, 0, 0, 2, 1, 129, 0.1},
    {0, 0, -1, 2, 2, 123, 0},
    {2, 0, 0, 0, 0, 63, 0},
    {0, 0, 1, 0, 1, 63, 0.1},
    {2, 0, -1, 2, 2, -59, 0},
    {0, 0, -1, 0, 1, -58, -0.1},
    {0, 0, 1, 2, 1, -51, 0},
    {-2, 0, 2, 0, 0, 48, 0},
    {0, 0, -2, 2, 1, 46, 0},
    {2, 0, 0, 2, 2, -38, 0},
    {0, 0, 2, 2, 2, -31, 0},
    {0, 0, 2, 0, 0, 29, 0},
    {-2, 0, 1, 2, 2, 29, 0},
    {0, 0, 0, 2, 0, 26, 0},
    {-2, 0, 0, 2, 0, -22, 0},
    {0, 0, -1, 2, 1, 21, 0},
    {0, 2, 0, 0, 0, 17, -0.1},
    {2, 0, -1, 0, 1, 16, 0},
    {-2, 2, 0, 2, 2, -16, 0.1},
    {0, 1, 0, 0, 1, -15, 0},
    {-2, 0, 1, 0, 1, -13, 0},
    {0, -1, 0, 0, 1, -12, 0},
    {0, 0, 2, -2, 0, 11, 0},
    {2, 0, -1, 2, 1, -10, 0},
    {2, 0, 1, 2, 2, -8, 0},
    {0, 1, 0, 2, 2, 7, 0},
    {-2, 1, 1, 0, 0, -7, 0},
    {0, -1, 0, 2, 2, -7, 0},
    {2, 0, 0, 2, 1, -7, 0},
    {2, 0, 1, 0, 0, 6, 0},
    {-2, 0, 2, 2, 2, 6, 0},
    {-2, 0, 1, 2, 1, 6, 0},
    {2, 0, -2, 0, 1, -6, 0},
    {2, 0, 0, 0, 1, -6, 0},
    {0, -1, 1, 0, 0, 5, 0},
    {-2, -1, 0, 2, 1, -5, 0},
    {-2, 0, 0, 0, 1, -5, 0},
    {0, 0, 2, 2, 1, -5, 0},
    {-2, 0, 2, 0, 1, 4, 0},
    {-2, 1, 0, 2, 1, 4, 0},
    {0, 0, 1, -2, 0, 4, 0},
    {-1, 0, 1, 0, 0, -4, 0},
    {-2, 1, 0, 0, 0, -4, 0},
    {1, 0, 0, 0, 0, -4, 0},
    {0, 0, 1, 2, 0, 3, 0},
    {0, 0, -2, 2, 2, -3, 0},
    {-1, -1, 1, 0, 0, -3, 0},
    {0, 1, 1, 0, 0, -3, 0},
    {0, -1, 1, 2, 2, -3, 0},
    {2, -1, -1, 2, 2, -3, 0},
    {0, 0, 3, 2, 2, -3, 0},
    {2, -1, 0, 2, 2, -3, 0},
};
static_assert(std::size(NutationSeriesInLongitude) == 63, "the whole IAU 1980 series in longitude");

// Nutation in longitude in degrees at `t` Julian centuries from J2000.
double NutationInLongitude(double t)
{
    const double d = Radians(297.85036 + 445267.111480 * t - 0.0019142 * t * t + t * t * t / 189474);
    const double m = Radians(357.52772 + 35999.050340 * t - 0.0001603 * t * t - t * t * t / 300000);
    const double mPrime = Radians(134.96298 + 477198.867398 * t + 0.0086972 * t * t + t * t * t / 56250);
    const double f = Radians(93.27191 + 483202.017538 * t - 0.0036825 * t * t + t * t * t / 327270);
    const double omega = Radians(125.04452 - 1934.136261 * t + 0.0020708 * t * t + t * t * t / 450000);
    double sum = 0;
    for (const NutationTerm &term : NutationSeriesInLongitude) {
        const double argument = term.d * d + term.m * m + term.mPrime * mPrime + term.f * f + term.omega * omega;
        sum += (term.a + term.b * t) * std::sin(argument);
    }
    return sum * 1e-4 / ArcsecondsPerDegree;
}

// Periodic corrections of a true new moon, in days: the coefficient, the
// power of the eccentricity factor E, and the multiples of M, M′, F and Ω.
struct NewMoonTerm {
    double coefficient;
    int powerOfE;
    signed char m, mPrime, f, omega;
};

constexpr NewMoonTerm NewMoonCorrections[] = {
    {-0.40720, 0, 0, 1, 0, 0},
    {0.17241, 1, 1, 0, 0, 0},
    {0.01608, 0, 0, 2, 0, 0},
    {0.01039, 0, 0, 0, 2, 0},
    {0.00739, 1, -1, 1, 0, 0},
    {-0.00514, 1, 1, 1, 0, 0},
    {0.00208, 2, 2, 0, 0, 0},
    {-0.00111, 0, 0, 1, -2, 0},
    {-0.00057, 0, 0, 1, 2, 0},
    {0.00056, 1, 1, 2, 0, 0},
    {-0.00042, 0, 0, 3, 0, 0},
    {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0},
    {-0.00024, 1, -1, 2, 0, 0},
    {-0.00017, 0, 0, 0, 0, 1},
    {-0.00007, 0, 2, 1, 0, 0},
    {0.00004, 0, 0, 2, -2, 0},
    {0.00004, 0, 3, 0, 0, 0},
    {0.00003, 0, 1, 1, -2, 0},
    {0.00003, 0, 0, 2, 2, 0},
    {-0.00003, 0, 1, 1, 2, 0},
    {0.00003, 0, -1, 1, 2, 0},
    {-0.00002, 0, -1, 1, -2, 0},
    {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0},
};

// The planetary arguments A1 to A14 (degrees, constant and rate per
// lunation) and their coefficients in days; A1 also has a T² term.
struct PlanetaryArgument {
    double constant;
    double perLunation;
    double coefficient;
};

constexpr PlanetaryArgument PlanetaryArguments[] = {
    {299.77, 0.107408, 0.000325},
    {251.88, 0.016321, 0.000165},
    {251.83, 26.651886, 0.000164},
    {349.42, 36.412478, 0.000126},
    {84.66, 18.206239, 0.000110},
    {141.74, 53.303771, 0.000062},
    {207.14, 2.453732, 0.000060},
    {154.84, 7.306860, 0.000056},
    {34.52, 27.261239, 0.000047},
    {207.19, 0.121824, 0.000042},
    {291.34, 1.844379, 0.000040},
    {161.72, 24.198154, 0.000037},
    {239.56, 25.513099, 0.000035},
    {331.55, 3.592518, 0.000023},
};

constexpr double FirstNewMoonJde = 2451550.09766; // 2000-01-06
constexpr double SynodicMonth = 29.530588861;
constexpr double LunationsPerCentury = 1236.85;

// One piece of the ΔT polynomials: from `fromYear` on, u = year − origin.
struct DeltaTPiece {
    double fromYear;
    double origin;
    std::array<double, 6> coefficients;
};

constexpr DeltaTPiece DeltaTPieces[] = {
    {1860, 1860, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1 / 233174.0}},
    {1900, 1900, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197, 0}},
    {1920, 1920, {21.20, 0.84493, -0.076100, 0.0020936, 0, 0}},
    {1941, 1950, {29.07, 0.407, -1 / 233.0, 1 / 2547.0, 0, 0}},
    {1961, 1975, {45.45, 1.067, -1 / 260.0, -1 / 718.0, 0, 0}},
    {1986, 2000, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599}},
    {2005, 2000, {62.92, 0.32217, 0.005589, 0, 0, 0}},
};

} // namespace

double DeltaTSeconds(double year)
{
    if (year >= 2050) {
        const double u = (year - 1820) / 100;
        return -20 + 32 * u * u - 0.5628 * (2150 - year);
    }
    const DeltaTPiece *piece = &DeltaTPieces[0];
    for (const DeltaTPiece &candidate : DeltaTPieces) {
        if (year >= candidate.fromYear)
            piece = &candidate;
    }
    const double u = year - piece->origin;
    double value = 0;
    for (auto coefficient = piece->coefficients.rbegin(); coefficient != piece->coefficients.rend(); ++coefficient)
        value = value * u + *coefficient;
    return value;
}

double UniversalTime(double jde)
{
    const double year = 2000 + (jde - J2000) / 365.25;
    return jde - DeltaTSeconds(year) / SecondsPerDay;
}

double ApparentSolarLongitude(double jde)
{
    const double tau = (jde - J2000) / DaysPerMillennium;
    const double t = (jde - J2000) / DaysPerCentury;
    const double heliocentric = EvaluatePolynomialSeries({EarthL0, EarthL1, EarthL2, EarthL3, EarthL4, EarthL5}, tau);
    const double distance = EvaluatePolynomialSeries({EarthR0, EarthR1, EarthR2, EarthR3, EarthR4}, tau);
    // Geocentric longitude of the Sun, then the small correction from the
    // dynamical ecliptic to the FK5 system.
    double longitude = heliocentric * 180 / std::numbers::pi + 180;
    longitude -= 0.09033 / ArcsecondsPerDegree;
    longitude += NutationInLongitude(t);
    // Aberration: the light left the Sun about 8 minutes earlier.
    longitude -= 20.4898 / ArcsecondsPerDegree / distance;
    return DegreesIn360(longitude);
}

double SolarLongitudeMoment(double longitude, double guessJde)
{
    // The Sun moves about 360° a year; Newton steps with that mean rate
    // converge to well under a second in a few rounds.
    constexpr double DaysPerDegree = 365.2422 / 360.0;
    double jde = guessJde;
    for (int round = 0; round < 20; ++round) {
        double behind = longitude - ApparentSolarLongitude(jde);
        behind -= 360.0 * std::round(behind / 360.0);
        const double step = behind * DaysPerDegree;
        jde += step;
        if (std::abs(step) < 1e-7)
            break;
    }
    return jde;
}

double NewMoonMoment(int lunation)
{
    const double k = lunation;
    const double t = k / LunationsPerCentury;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    double jde = FirstNewMoonJde + SynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1 - 0.002516 * t - 0.0000074 * t2;
    const double m = Radians(2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3);
    const double mPrime = Radians(201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4);
    const double f = Radians(160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4);
    const double omega = Radians(124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3);
    for (const NewMoonTerm &term : NewMoonCorrections) {
        const double argument = term.m * m + term.mPrime * mPrime + term.f * f + term.omega * omega;
        jde += term.coefficient * std::pow(e, term.powerOfE) * std::sin(argument);
    }
    for (const PlanetaryArgument &argument : PlanetaryArguments) {
        double degrees = argument.constant + argument.perLunation * k;
        if (&argument == &PlanetaryArguments[0])
            degrees -= 0.009173 * t2;
        jde += argument.coefficient * std::sin(Radians(degrees));
    }
    return jde;
}

int LunationNear(double jde)
{
    return int(std::lround((jde - FirstNewMoonJde) / SynodicMonth));
}

} // namespace Astronomy
