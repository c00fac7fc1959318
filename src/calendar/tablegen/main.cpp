// Writes the calendar's generated tables into the folder given:
//   calendar-tablegen src/calendar
// The build target `calendar-tables` runs it on the source folder.

#include "calendar_tables.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <stdexcept>

namespace {

bool WriteFile(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0 || !file.flush()) {
        std::fprintf(stderr, "calendar-tablegen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: calendar-tablegen FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    try {
        const bool written = WriteFile(folder.filePath(QStringLiteral("solar_term_table.inc")),
                                       CalendarTables::RenderSolarTermTable())
            && WriteFile(folder.filePath(QStringLiteral("lunar_year_table.inc")),
                         CalendarTables::RenderLunarYearTable());
        return written ? 0 : 1;
    } catch (const std::runtime_error &error) {
        std::fprintf(stderr, "calendar-tablegen: %s\n", error.what());
        return 1;
    }
}
