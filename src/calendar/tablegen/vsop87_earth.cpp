#include "vsop87_earth.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <utility>

namespace Vsop87 {
namespace {

const QString HeaderExpected = QStringLiteral("expected a series header such as \"L0 559\"");

// The series being read and the number of terms its header gives.
struct SeriesHeader {
    Coordinate *coordinate = nullptr;
    qsizetype count = 0;
};

QString Fault(qsizetype lineNumber, const QString &what)
{
    return QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
}

// The header of a series, or an error text.
QString ReadHeader(QStringView line, EarthSeries &series, SeriesHeader &header)
{
    const QList<QStringView> fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() != 2 || fields[0].size() < 2)
        return HeaderExpected;
    const QChar variable = fields[0][0];
    Coordinate *coordinate = variable == u'L' ? &series.longitude : variable == u'R' ? &series.radius : nullptr;
    bool powerRead = false;
    bool countRead = false;
    const int power = fields[0].mid(1).toInt(&powerRead);
    const int count = fields[1].toInt(&countRead);
    if (!coordinate || !powerRead || !countRead || count < 1)
        return HeaderExpected;
    if (power != qsizetype(coordinate->size()))
        return QStringLiteral("series %1 where %2%3 was due").arg(fields[0]).arg(variable).arg(coordinate->size());
    coordinate->emplace_back();
    coordinate->back().reserve(count);
    header = {coordinate, count};
    return {};
}

std::optional<Term> ReadTerm(QStringView line)
{
    const QList<QStringView> fields = line.split(u' ', Qt::SkipEmptyParts);
    if (fields.size() != 3)
        return std::nullopt;
    bool read[3] = {};
    const Term term{fields[0].toDouble(&read[0]), fields[1].toDouble(&read[1]), fields[2].toDouble(&read[2])};
    return read[0] && read[1] && read[2] ? std::optional(term) : std::nullopt;
}

} // namespace

ParsedEarthSeries ParseEarthSeries(QStringView text)
{
    ParsedEarthSeries parsed;
    SeriesHeader header;
    qsizetype lineNumber = 0;
    for (QStringView line : text.split(u'\n')) {
        ++lineNumber;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const bool expectingHeader = !header.coordinate || qsizetype(header.coordinate->back().size()) == header.count;
        if (expectingHeader) {
            if (const QString fault = ReadHeader(line, parsed.series, header); !fault.isEmpty())
                return {{}, Fault(lineNumber, fault)};
            continue;
        }
        const std::optional<Term> term = ReadTerm(line);
        if (!term)
            return {{}, Fault(lineNumber, QStringLiteral("expected a term \"A B C\" of three numbers"))};
        header.coordinate->back().push_back(*term);
    }
    if (header.coordinate && qsizetype(header.coordinate->back().size()) != header.count)
        return {{}, QStringLiteral("the table ends before the %1 terms of its last series").arg(header.count)};
    if (parsed.series.longitude.empty() || parsed.series.radius.empty())
        return {{}, QStringLiteral("the table needs both the L and the R series")};
    return parsed;
}

const EarthSeries &BuiltInEarthSeries()
{
    static const EarthSeries series = [] {
        const QString path = QStringLiteral(":/tablegen/vsop87d-earth.txt");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the built-in VSOP87 table " + path.toStdString());
        ParsedEarthSeries parsed = ParseEarthSeries(QString::fromUtf8(file.readAll()));
        if (!parsed.error.isEmpty())
            throw std::runtime_error("vsop87d-earth.txt " + parsed.error.toStdString());
        return std::move(parsed.series);
    }();
    return series;
}

EarthSeries WithoutTermsBelow(const EarthSeries &series, double amplitude)
{
    const auto shorten = [amplitude](const Coordinate &coordinate) {
        Coordinate shortened;
        for (const std::vector<Term> &terms : coordinate) {
            std::vector<Term> &kept = shortened.emplace_back();
            std::copy_if(terms.begin(), terms.end(), std::back_inserter(kept),
                         [amplitude](const Term &term) { return std::abs(term.amplitude) >= amplitude; });
        }
        return shortened;
    };
    return {shorten(series.longitude), shorten(series.radius)};
}

double Evaluate(const Coordinate &coordinate, double tau)
{
    double sum = 0;
    double power = 1;
    for (const std::vector<Term> &series : coordinate) {
        double seriesSum = 0;
        for (const Term &term : series)
            seriesSum += term.amplitude * std::cos(term.phase + term.frequency * tau);
        sum += seriesSum * power;
        power *= tau;
    }
    return sum;
}

} // namespace Vsop87
