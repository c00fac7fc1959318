#pragma once

#include "core/cast_result.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <variant>

// What the user typed into the manual-entry window: the time, the name, the
// matter, lines 1..6 as "1" (yang) or "0" (yin), and the changing marks.
struct ManualEntryFields {
    QString time;
    QString name;
    QString matter;
    std::array<QString, LinesPerHexagram> lines;
    std::array<bool, LinesPerHexagram> changing{};
};

inline constexpr int ManualTimeLength = 20;
inline constexpr int ManualNameLength = 9;
inline constexpr int ManualMatterLength = 30;
inline constexpr int ManualEntryHelpTopic = 800;

// The time the window opens with: year-month-day hour:minute, every number
// without leading zeros ("2006-7-16 9:5").
QString ManualEntryTimeText(const QDateTime &moment);

// A blank text field is asked for with an input box; the answer (empty on
// Cancel) replaces the field, cut to `maxLength`.
enum class ManualTextField { Time, Name, Matter };
struct ManualFieldQuestion {
    ManualTextField field;
    QString prompt;
    QString title;
    QString defaultText;
    int maxLength;

    bool operator==(const ManualFieldQuestion &) const = default;
};

// A line box that is empty or holds something other than "1" or "0": the box
// is emptied and focused and the message shown.
struct ManualLineFault {
    int line; // 1..6
    bool wrong; // false: empty
    QString message;

    bool operator==(const ManualLineFault &) const = default;
};

using ManualEntryFault = std::variant<ManualFieldQuestion, ManualLineFault>;

// The first check the fields fail, in the order time, name, matter, line 1 …
// line 6; nothing when every field passes. Blanks at both ends are ignored.
// `now` and `divinerName` give the defaults of the time and name questions.
std::optional<ManualEntryFault> FirstManualEntryFault(const ManualEntryFields &fields, const QDateTime &now,
                                                      const QString &divinerName);

// The cast of fields that passed every check: the time marked "(人工输入)",
// name and matter with blanks at both ends removed, and both line strings,
// a marked line flipped in the resulting one. No line values are produced.
CastResult ManualEntryCast(const ManualEntryFields &fields);
