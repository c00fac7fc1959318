#pragma once

#include "ui/windows/shown_cast.h"

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class ClickableLabel;
class DialogService;
class EffectSound;
class MainWindow;
class QLabel;
class QPagedPaintDevice;
class QPainter;
struct Settings;

// The layout with translation puts the translation entries in place of the
// classical texts: the primary hexagram's always, the resulting one's when
// its line string is set and differs from the primary one.
void PutTranslations(ShownCast &shown);

// The two print layouts: one with the classical texts, one with the
// translation entries.
enum class PrintLayoutKind { ClassicalTexts, Translations };

// Where printed pages go.
class LayoutPrinter {
public:
    virtual ~LayoutPrinter() = default;
    // Prints the layout as it shows on screen. Failures are silent.
    virtual void Print(QWidget &layout) = 0;
};

// The system's default printer, without a dialog. With no printer, or one
// that cannot start a job, nothing is printed and nothing is said.
class DefaultLayoutPrinter final : public LayoutPrinter {
public:
    void Print(QWidget &layout) override;
};

// Paints `layout` into `page` as large as it fits, keeping its proportions,
// centred across the page and at its top. The widgets paint themselves at
// the page's resolution (up to 300 dpi), so text and lines stay sharp on
// paper.
void PaintLayoutOnPage(QWidget &layout, QPainter &painter, const QRectF &page);

// Puts the layout on one page of `device`: landscape when the layout is
// wider than tall, with 15 mm margins. False when the device cannot be
// painted on.
bool PrintLayoutOn(QWidget &layout, QPagedPaintDevice &device);

// A print layout, "打印窗口": the copied cast arranged for paper, shown as a
// borderless sheet over the main window, as every window of the program is
// borderless. It prints itself once, stays for six seconds and closes; after
// printing a click anywhere on it, or F12, closes it at once.
class PrintLayout : public QWidget {
    Q_OBJECT
public:
    PrintLayout(PrintLayoutKind kind, const ShownCast &cast, QWidget *parent);

    // Prints the layout, then starts the close timer and lets a click close
    // the window.
    void PrintAndStartClosing(LayoutPrinter &printer);

signals:
    // The layout is closing; the print command may be used again.
    void Closing();

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildDetails(PrintLayoutKind kind, const ShownCast &cast);
    void BuildFrames(PrintLayoutKind kind, const ShownCast &cast);
    void BuildCovers(PrintLayoutKind kind);

    QTimer closeTimer_;
    std::array<ClickableLabel *, 3> covers_{};
};

// What the print command uses of the rest of the program.
struct PrintCommandServices {
    DialogService *dialogs = nullptr;
    EffectSound *effects = nullptr;
    QString programFolder;
    Settings *settings = nullptr;
    LayoutPrinter *printer = nullptr;
};

// The print command: asks, then opens the layout the settings choose over
// the main window without blocking it. The main window's print command
// stays disabled until the layout closes.
void RunPrintCommand(MainWindow &mainWindow, const PrintCommandServices &services);

// Connects the main window's print command (its button and F9).
void ConnectPrintCommand(MainWindow &window, const PrintCommandServices &services);
