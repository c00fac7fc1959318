#pragma once

#include <QString>
#include <QUrl>

// The product's web page, opened by the main window, the about window and
// the options window.
QUrl ProductWebPage();

// The fixed text of the about window.
QString AboutText();
