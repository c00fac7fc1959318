#pragma once

#include "shell/music_state.h"

#include <QString>

#include <optional>

class QIODevice;

// The options kept between runs. An option never set stays unset, so it is
// written back as never set and its default applies.
struct Settings {
    MusicState musicState = MusicState::Unset;
    std::optional<bool> showQuotes;       // unset shows the quotes banner
    std::optional<bool> printTranslation; // unset prints the cast alone
    std::optional<bool> todayTips;        // unset lets today's tips open
    // The name of the last diviner, offered by the casting and manual-entry
    // windows and replaced by the name each cast is made for.
    QString divinerName;
    // 1 (slowest) to 5 (fastest), changed by the casting window's speed
    // commands; a stored speed outside that range is kept as stored.
    int castingSpeed = 0;

    friend bool operator==(const Settings &, const Settings &) = default;
};

bool ShowsQuotes(const Settings &settings);
bool PrintsTranslation(const Settings &settings);
bool AllowsTodayTips(const Settings &settings);

// The settings file is one GBK line of six quoted fields: music state
// ("音乐开", "音乐关", "节日音乐开"), name, speed, quotes ("开"/"关"),
// translation ("是"/"否"), tips ("开"/"关"); an empty field is never set.
// Reading takes the fields in order; a missing, short or malformed file
// leaves the fields it lacks unset, and the defaults apply: name "某官" when
// blank, speed 3 when blank or not a number. Only the exact texts switch an
// option away from its default; any other music text counts as music off.
// Nothing is reported.
void ReadSettings(const QString &path, Settings &settings);
void ReadSettings(QIODevice &device, Settings &settings);

// Whether the settings file was written, and if not, why (the system's words).
struct [[nodiscard]] SettingsWrite {
    bool written = false;
    QString failure;
};

// Replaces the file with the six fields; the old file stays whole until the
// new one is completely written. A folder in the file's place is not
// written over.
SettingsWrite WriteSettings(const QString &path, const Settings &settings);
// False when not all of the line went to the device.
[[nodiscard]] bool WriteSettings(QIODevice &device, const Settings &settings);
