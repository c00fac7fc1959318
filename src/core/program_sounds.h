#pragma once

#include <QString>

// The click every command and step of the program makes, relative to the
// program folder.
inline const QString ClickSound = QStringLiteral("/wav/s1.wav");
