#include "astronomy.h"

#include "vsop87_earth.h"

#include <array>
#include <cmath>
#include <numbers>

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

// The Sun's apparent motion in degrees a day: the mean motion, faster near
// perihelion in January by twice the eccentricity of the Earth's orbit.
double SolarDegreesPerDay(double jde)
{
    constexpr double MeanDegreesPerDay = 0.98564736;
    constexpr double Eccentricity = 0.016709;
    const double meanAnomaly = Radians(357.52911 + 0.98560028 * (jde - J2000));
    return MeanDegreesPerDay * (1 + 2 * Eccentricity * std::cos(meanAnomaly));
}

// The series' terms of at least 1e-7 (0.02″ or 15 km): a fifth of them,
// within a few seconds of the whole theory in the Sun's moments.
const Vsop87::EarthSeries &PrincipalEarthSeries()
{
    static const Vsop87::EarthSeries series = Vsop87::WithoutTermsBelow(Vsop87::BuiltInEarthSeries(), 1e-7);
    return series;
}

double ApparentSolarLongitude(double jde, const Vsop87::EarthSeries &earth)
{
    const double tau = (jde - J2000) / DaysPerMillennium;
    const double t = (jde - J2000) / DaysPerCentury;
    const double heliocentric = Vsop87::Evaluate(earth.longitude, tau);
    const double distance = Vsop87::Evaluate(earth.radius, tau);
    // Geocentric longitude of the Sun, then the small correction from the
    // dynamical ecliptic to the FK5 system.
    double longitude = heliocentric * 180 / std::numbers::pi + 180;
    longitude -= 0.09033 / ArcsecondsPerDegree;
    longitude += NutationInLongitude(t);
    // Aberration: the light left the Sun about 8 minutes earlier.
    longitude -= 20.4898 / ArcsecondsPerDegree / distance;
    return DegreesIn360(longitude);
}

// The step in days from `jde` to the moment the Sun's apparent longitude
// reaches `longitude`, at its rate.
double StepTowardsLongitude(double longitude, double jde, const Vsop87::EarthSeries &earth)
{
    double behind = longitude - ApparentSolarLongitude(jde, earth);
    behind -= 360.0 * std::round(behind / 360.0);
    return behind / SolarDegreesPerDay(jde);
}

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
    return ApparentSolarLongitude(jde, Vsop87::BuiltInEarthSeries());
}

double SolarLongitudeMoment(double longitude, double guessJde)
{
    // Newton steps on the principal terms of the series, within a few
    // seconds of the whole theory, then one step on the whole series. The
    // rate is within a thousandth of the Sun's, so each step leaves less than
    // a thousandth of its own size: the last step's few seconds become
    // milliseconds, at a tenth of the cost of converging on the whole series.
    double jde = guessJde;
    for (int round = 0; round < 20; ++round) {
        const double step = StepTowardsLongitude(longitude, jde, PrincipalEarthSeries());
        jde += step;
        if (std::abs(step) < 1e-6)
            break;
    }
    return jde + StepTowardsLongitude(longitude, jde, Vsop87::BuiltInEarthSeries());
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
