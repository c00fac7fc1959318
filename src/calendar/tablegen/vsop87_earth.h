#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// The VSOP87D series of the Earth's heliocentric longitude and radius
// vector, read from the text table data/vsop87d-earth.txt that is built into
// the generator.
namespace Vsop87 {

// A·cos(B + C·τ), τ in Julian millennia of TT from J2000.0.
struct Term {
    double amplitude;
    double phase;
    double frequency;
};

// One coordinate: the series multiplied by τ⁰, τ¹, τ² … in order.
using Coordinate = std::vector<std::vector<Term>>;

struct EarthSeries {
    Coordinate longitude;  // radians
    Coordinate radius;     // astronomical units
};

// The series of a table, or the first fault found in it with its line number.
struct ParsedEarthSeries {
    EarthSeries series;
    QString error;
};

// Reads a table: '#' comment lines and blank lines; a header "L0 559" (L for
// longitude, R for radius, the power of τ, the number of terms) before each
// series, the powers of a coordinate counting up from 0; then one term a
// line, "A B C".
ParsedEarthSeries ParseEarthSeries(QStringView text);

// The table built into the generator; throws std::runtime_error naming the
// fault when it cannot be read.
const EarthSeries &BuiltInEarthSeries();

// The series with the terms whose amplitude is below `amplitude` left out.
EarthSeries WithoutTermsBelow(const EarthSeries &series, double amplitude);

// Σₖ seriesₖ(τ)·τᵏ.
double Evaluate(const Coordinate &coordinate, double tau);

} // namespace Vsop87
