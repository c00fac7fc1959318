#pragma once

#include "core/current_cast.h"

#include <QString>

class QIODevice;

// The options kept between runs. Two more, the diviner's name and the casting
// speed, live in CurrentCast. An empty text means never set; only the exact
// texts below switch an option away from its default.
struct Settings {
    QString musicState;       // "音乐开", "音乐关", "节日音乐开", or empty
    QString showQuotes;       // "关" hides the quotes banner
    QString printTranslation; // "是" prints the translation with a cast
    QString todayTips;        // "关" keeps today's tips from opening

    friend bool operator==(const Settings &, const Settings &) = default;
};

// The program-wide instance, alive from the main window's load to exit.
Settings &TheSettings();

bool ShowsQuotes(const Settings &settings);
bool PrintsTranslation(const Settings &settings);
bool AllowsTodayTips(const Settings &settings);

// The settings file is one GBK line of six quoted fields: music state, name,
// speed, quotes, translation, tips. Reading takes the fields in order; a
// missing, short or malformed file leaves the fields it lacks empty, and the
// defaults apply: name "某官" when blank, speed 3 when blank or not a number.
// Nothing is reported.
void ReadSettings(const QString &path, Settings &settings, CurrentCast &cast);
void ReadSettings(QIODevice &device, Settings &settings, CurrentCast &cast);

// Replaces the file with the six fields; the old file stays whole until the
// new one is completely written. False when writing fails.
bool WriteSettings(const QString &path, const Settings &settings, const CurrentCast &cast);
bool WriteSettings(QIODevice &device, const Settings &settings, const CurrentCast &cast);
