#pragma once

#include "ui/windows/shown_cast.h"

#include <QDate>
#include <QFont>
#include <QPixmap>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// The two print layouts: one with the classical texts, one with the
// translation entries.
enum class PrintLayoutKind { ClassicalTexts, Translations };

// One text of a printed page. The box is in twips, relative to the frame
// that holds the text or to the page.
struct PageText {
    QString name;
    QString text;
    QRect box;
    QFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;
};

// One line picture of a hexagram, its box in twips relative to its frame.
struct PageLinePicture {
    QString name;
    QPixmap picture;
    QRect box;
};

// The 本卦 or 之卦 frame: a captioned border with the hexagram inside.
struct PageFrame {
    QString name;
    QString caption;
    QFont captionFont;
    QRect box;
    bool shown = true;
    std::vector<PageText> texts;
    // Lines 1..6.
    std::vector<PageLinePicture> lines;
};

// A print layout as data: what stands where. The window on screen is built
// from it and the printed page is painted from it, so both show the same.
struct PrintPage {
    QString name;
    // The whole page, in twips.
    QSize size;
    std::vector<PageText> texts;
    std::array<PageFrame, 2> frames;
};

// The layout of `kind` filled with `cast`. The texts of both frames share
// one size, the largest at which every shown text fits its box.
PrintPage ArrangePrintPage(PrintLayoutKind kind, const ShownCast &cast);

// Paints `page` as large as it fits into `target` (in the painter's
// coordinates), keeping its proportions, centred across and at the top.
// Texts are drawn as text and pictures in their colours, so a PDF keeps the
// text and a colour printer the red changing lines.
void PaintPrintPage(QPainter &painter, const PrintPage &page, const QRectF &target);

// Puts `page` on one page of `device` at the device's resolution: landscape
// when the layout is wider than tall, with 15 mm margins. False when the
// device cannot be painted on or fails to finish the page.
bool PaintPrintPageOn(QPagedPaintDevice &device, const PrintPage &page);

// The date of the cast: the date its time begins with, or `today` when the
// time was typed by hand in another form.
QDate CastDate(const ShownCast &cast, QDate today);

// The document title of a printed cast: "乾之姤 — 某官 — 2026-12-11", the
// resulting hexagram only when one is shown, the name only when there is one.
QString PrintTitle(const ShownCast &cast, QDate today);

// The file name proposed for the PDF of a cast: "乾-2026-12-11.pdf".
QString PdfFileName(const ShownCast &cast, QDate today);
