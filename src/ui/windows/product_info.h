#pragma once

#include <QString>
#include <QUrl>

// The program's own page, installed in the program folder and opened in the
// user's browser by the main window, the about window and the options
// window. It is a local file: no web address outside our control is ever
// opened on the user's behalf.
QUrl ProductWebPage(const QString &programFolder);

// The fixed text of the about window.
QString AboutText();
