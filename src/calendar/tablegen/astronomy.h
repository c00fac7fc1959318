#pragma once

// The astronomy the calendar tables are made from: the Sun's apparent
// ecliptic longitude (the whole VSOP87D series of the Earth, with nutation
// and aberration), the moments
// of new moon, and ΔT between dynamical time and universal time. Times are
// Julian days: JDE in Terrestrial Time, JD in Universal Time.

namespace Astronomy {

// Seconds of TT − UT at a moment given in years (2006.5 is mid-2006), by the
// polynomials of Espenak and Meeus for 1860 to 2150.
double DeltaTSeconds(double year);

// Julian day in UT of a moment given in TT.
double UniversalTime(double jde);

// Apparent geocentric ecliptic longitude of the Sun in degrees, 0 to 360,
// referred to the true equinox of date.
double ApparentSolarLongitude(double jde);

// The moment (JDE) near `guessJde` at which the Sun's apparent longitude
// reaches `longitude` degrees; the guess must lie within a few weeks of it.
double SolarLongitudeMoment(double longitude, double guessJde);

// The moment (JDE) of true new moon number `lunation`, counted from the new
// moon of 2000-01-06 (negative before it).
double NewMoonMoment(int lunation);

// The lunation number of the new moon nearest to a moment.
int LunationNear(double jde);

} // namespace Astronomy
