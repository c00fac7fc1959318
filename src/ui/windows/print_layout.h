#pragma once

#include "ui/windows/page_output.h"
#include "ui/windows/print_page.h"
#include "ui/windows/shown_cast.h"

#include <QDate>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class ClickableLabel;
class EffectSound;
class MainWindow;
struct Settings;

// The layout with translation puts the translation entries in place of the
// classical texts: the primary hexagram's always, the resulting one's when
// its line string is set and differs from the primary one.
void PutTranslations(ShownCast &shown);

// A print layout, "打印窗口": the copied cast arranged for paper, shown as a
// borderless sheet over the main window, as every window of the program is
// borderless. It prints itself once, stays for six seconds and closes; after
// printing a click anywhere on it, or F12, closes it at once. The sheet's
// controls are built from the same arrangement the printed page is painted
// from.
class PrintLayout : public QWidget {
    Q_OBJECT
public:
    // `today` dates a cast whose time was typed by hand.
    PrintLayout(PrintLayoutKind kind, const ShownCast &cast, QDate today, QWidget *parent);

    // The page, its title and its file name, as they go out.
    const PrintJob &Job() const { return job_; }

    // Prints the page (or offers a PDF), then starts the close timer and
    // lets a click close the window.
    void PrintAndStartClosing(const PageOutput &output);

signals:
    // The layout is closing; the print command may be used again.
    void Closing();

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildFrames();
    void BuildCovers();

    PrintJob job_;
    QTimer closeTimer_;
    std::array<ClickableLabel *, 3> covers_{};
};

// What the print command uses of the rest of the program.
struct PrintCommandServices {
    EffectSound *effects = nullptr;
    QString programFolder;
    Settings *settings = nullptr;
    PageOutput output;
    std::function<QDate()> today = &QDate::currentDate;
};

// The print command: asks, then opens the layout the settings choose over
// the main window without blocking it. The main window's print command
// stays disabled until the layout closes.
void RunPrintCommand(MainWindow &mainWindow, const PrintCommandServices &services);

// Connects the main window's print command (its button and F9).
void ConnectPrintCommand(MainWindow &window, const PrintCommandServices &services);
