#include "ui/windows/print_page.h"

#include "ui/art/fonts.h"
#include "ui/widgets/twips.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>

namespace {

constexpr int DetailHeightTwips = 285;
constexpr int SmallLabelHeightTwips = 255;
constexpr int NameHeightTwips = 735;
constexpr int PositionStepTwips = 240;
constexpr int PositionWidthTwips = 360;
constexpr int NumberWidthTwips = 600;
constexpr int NameWidthTwips = 1800;
constexpr QSize PictureSizeTwips(960, 75);
constexpr int PageMarginMm = 15;
// Texts shrink until they fit their box, from a comfortable size down to
// one that is still clear on paper.
constexpr int LargestTextPixels = 14;
constexpr int SmallestTextPixels = 6;

// A caption and its value on one line.
struct DetailPlaces {
    QPoint caption;
    QPoint value;
    int valueWidth;
};

// Places inside a frame, relative to the frame.
struct FramePlaces {
    QPoint number;
    QPoint name;
    QPoint lines;
    int picturesLeft;
};

// A layout's arrangement, in twips.
struct LayoutPlaces {
    const char *objectName;
    QSize client;
    DetailPlaces diviner;
    DetailPlaces castTime;
    DetailPlaces matter;
    QRect primaryFrame;
    QRect resultingFrame;
    QPoint upperPosition;
    QPoint rule;
    int ruleWidth;
    FramePlaces primaryInside;
    FramePlaces resultingInside;
    // Line 6 is at this top, line 1 five steps lower.
    int topLineTop;
    QRect textInside;
};

constexpr LayoutPlaces ClassicalPlaces{
    "classical_print_layout",
    {9495, 6975},
    {{1200, 495}, {1920, 480}, 2415},
    {{4320, 495}, {5280, 495}, 3735},
    {{1200, 795}, {2160, 795}, 6735},
    {840, 1260, 3975, 4980},
    {5160, 1260, 3975, 4980},
    {4800, 1680},
    {840, 6360},
    8295,
    {{1680, 240}, {600, 600}, {600, 1440}, 2400},
    {{1680, 240}, {1680, 600}, {1680, 1440}, 600},
    480,
    {120, 2040, 3735, 2895},
};

constexpr LayoutPlaces TranslationPlaces{
    "translation_print_layout",
    {11415, 8175},
    {{960, 255}, {1680, 240}, 3135},
    {{5040, 255}, {6000, 255}, 4455},
    {{960, 555}, {1920, 555}, 8775},
    {480, 1020, 5175, 6780},
    {6000, 1020, 5175, 6780},
    {5640, 1440},
    {840, 7920},
    9975,
    {{2300, 240}, {820, 600}, {820, 1440}, 3460},
    {{2300, 240}, {2640, 600}, {2640, 1440}, 750},
    480,
    {88, 1920, 5000, 4815},
};

// The frame's look: a thin grey border with round corners, starting below
// the top of the frame's box so that the caption sits on it.
constexpr int FrameBorderTopPixels = 9;
constexpr int FrameCornerPixels = 4;
constexpr int FrameCaptionLeftPixels = 10;
constexpr int FrameCaptionPaddingPixels = 4;
const QColor FrameBorderColour(0x60, 0x60, 0x60);

const LayoutPlaces &PlacesOf(PrintLayoutKind kind)
{
    return kind == PrintLayoutKind::Translations ? TranslationPlaces : ClassicalPlaces;
}

QRect ToPixels(const QRect &twips)
{
    return TwipsRect(twips.left(), twips.top(), twips.width(), twips.height());
}

int TextFlags(const PageText &text)
{
    return int(text.alignment) | (text.wordWrap ? Qt::TextWordWrap : 0);
}

// Whether `text` in `font` fits a box of `size` pixels.
bool Fits(const QFontMetrics &metrics, const QSize &size, const PageText &text)
{
    const QRect needed = metrics.boundingRect(QRect(QPoint(), QSize(size.width(), 1 << 20)), TextFlags(text), text.text);
    return needed.width() <= size.width() && needed.height() <= size.height();
}

// The largest text size, down to the smallest, at which the text fits its
// box on screen.
int FittingTextPixels(const PageText &text)
{
    QFont font = text.font;
    for (int pixels = LargestTextPixels; pixels > SmallestTextPixels; --pixels) {
        font.setPixelSize(pixels);
        if (Fits(QFontMetrics(font), ToPixels(text.box).size(), text))
            return pixels;
    }
    return SmallestTextPixels;
}

QString WithNewlines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void AddDetails(PrintPage &page, const LayoutPlaces &places, const ShownCast &cast)
{
    struct DetailRow {
        const char16_t *captionName;
        const char16_t *caption;
        const char16_t *valueName;
        const QString &value;
        const DetailPlaces &at;
    };
    const std::array<DetailRow, 3> rows{{
        {u"diviner_name_caption_label", u"姓名：", u"diviner_name_label", cast.divinerName, places.diviner},
        {u"cast_time_caption_label", u"成卦时间：", u"cast_time_label", cast.castTime, places.castTime},
        {u"matter_caption_label", u"占筮事由：", u"matter_label", cast.matterText, places.matter},
    }};
    for (const DetailRow &row : rows) {
        const QRect caption(row.at.caption, QSize(row.at.value.x() - row.at.caption.x(), DetailHeightTwips));
        page.texts.push_back({QString::fromUtf16(row.captionName), QString::fromUtf16(row.caption), caption,
                              SansFont(12, QFont::Bold)});
        page.texts.push_back({QString::fromUtf16(row.valueName), row.value,
                              QRect(row.at.value, QSize(row.at.valueWidth, DetailHeightTwips)), SansFont(12)});
    }

    for (int line = 1; line <= 6; ++line) {
        const QRect box(places.upperPosition.x(), places.upperPosition.y() + (6 - line) * PositionStepTwips,
                        PositionWidthTwips, SmallLabelHeightTwips);
        page.texts.push_back({QStringLiteral("line_%1_position_label").arg(line), cast.linePositions[line - 1], box,
                              SerifFont(13, QFont::Bold), Qt::AlignCenter});
    }

    const QRect rule(places.rule, QSize(places.ruleWidth, places.client.height() - places.rule.y()));
    page.texts.push_back(
        {QStringLiteral("rule_label"), cast.ruleText, rule, SerifFont(12), Qt::AlignLeft | Qt::AlignTop, true});
}

void AddFrames(PrintPage &page, const LayoutPlaces &places, const ShownCast &cast)
{
    struct FrameRow {
        // Names the frame and its controls: "primary" or "resulting".
        const char *role;
        const char16_t *caption;
        const QRect &frameBox;
        const FramePlaces &inside;
        const ShownHexagram &hexagram;
        bool shown;
    };
    const std::array<FrameRow, 2> rows{{
        {"primary", u"本卦", places.primaryFrame, places.primaryInside, cast.primary, true},
        {"resulting", u"之卦", places.resultingFrame, places.resultingInside, cast.resulting, cast.resultingShown},
    }};
    for (size_t i = 0; i < rows.size(); ++i) {
        const FrameRow &row = rows[i];
        const QString role = QString::fromLatin1(row.role);
        PageFrame &frame = page.frames[i];
        frame.name = role + QStringLiteral("_frame");
        frame.caption = QString::fromUtf16(row.caption);
        frame.captionFont = SerifFont(14, QFont::Bold);
        frame.box = row.frameBox;
        frame.shown = row.shown;

        const FramePlaces &inside = row.inside;
        frame.texts.push_back({role + QStringLiteral("_number_label"), row.hexagram.number,
                               QRect(inside.number, QSize(NumberWidthTwips, SmallLabelHeightTwips)),
                               SansFont(13, QFont::Bold)});
        frame.texts.push_back({role + QStringLiteral("_name_label"), row.hexagram.name,
                               QRect(inside.name, QSize(NameWidthTwips, NameHeightTwips)),
                               SerifFont(32, QFont::Black)});
        frame.texts.push_back({role + QStringLiteral("_lines_label"), row.hexagram.lines,
                               QRect(inside.lines, QSize(NameWidthTwips, SmallLabelHeightTwips)), SansFont(13)});
        frame.texts.push_back({role + QStringLiteral("_text_label"), WithNewlines(row.hexagram.text),
                               places.textInside, SerifFont(LargestTextPixels), Qt::AlignLeft | Qt::AlignTop, true});
        for (int line = 1; line <= 6; ++line) {
            frame.lines.push_back({role + QStringLiteral("_line_%1_picture").arg(line),
                                   row.hexagram.pictures[line - 1],
                                   QRect(QPoint(inside.picturesLeft, places.topLineTop + (6 - line) * PositionStepTwips),
                                         PictureSizeTwips)});
        }
    }

    // The texts of a page share one size, the one at which every shown text fits.
    int textPixels = LargestTextPixels;
    for (const PageFrame &frame : page.frames) {
        if (frame.shown)
            textPixels = std::min(textPixels, FittingTextPixels(frame.texts.back()));
    }
    for (PageFrame &frame : page.frames)
        frame.texts.back().font.setPixelSize(textPixels);
}

// Draws a text as the label on screen does. Where the device measures the
// text larger than the screen did, it shrinks until it fits its box, so
// nothing is cut off on paper.
void PaintText(QPainter &painter, const PageText &text)
{
    if (text.text.isEmpty())
        return;
    const QRect box = ToPixels(text.box);
    QFont font = text.font;
    painter.setFont(font);
    while (font.pixelSize() > SmallestTextPixels && !Fits(painter.fontMetrics(), box.size(), text)) {
        font.setPixelSize(font.pixelSize() - 1);
        painter.setFont(font);
    }
    painter.drawText(box, TextFlags(text) | Qt::TextDontClip, text.text);
}

void PaintFrame(QPainter &painter, const PageFrame &frame)
{
    const QRect box = ToPixels(frame.box);
    painter.save();
    painter.translate(box.topLeft());
    const QRectF border(0.5, FrameBorderTopPixels + 0.5, box.width() - 1, box.height() - FrameBorderTopPixels - 1);
    painter.setPen(QPen(FrameBorderColour, 1));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(border, FrameCornerPixels, FrameCornerPixels);

    painter.setFont(frame.captionFont);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect caption(FrameCaptionLeftPixels, 0,
                        metrics.horizontalAdvance(frame.caption) + 2 * FrameCaptionPaddingPixels, metrics.height());
    painter.fillRect(caption, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(caption, Qt::AlignCenter, frame.caption);

    for (const PageText &text : frame.texts)
        PaintText(painter, text);
    for (const PageLinePicture &line : frame.lines) {
        if (!line.picture.isNull())
            painter.drawPixmap(ToPixels(line.box), line.picture);
    }
    painter.restore();
}

} // namespace

PrintPage ArrangePrintPage(PrintLayoutKind kind, const ShownCast &cast)
{
    const LayoutPlaces &places = PlacesOf(kind);
    PrintPage page;
    page.name = QString::fromLatin1(places.objectName);
    page.size = places.client;
    AddDetails(page, places, cast);
    AddFrames(page, places, cast);
    return page;
}

void PaintPrintPage(QPainter &painter, const PrintPage &page, const QRectF &target)
{
    const QSizeF size = ToPixels(QRect(QPoint(), page.size)).size();
    const qreal scale = std::min(target.width() / size.width(), target.height() / size.height());
    painter.save();
    painter.translate(target.left() + (target.width() - size.width() * scale) / 2, target.top());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // The line pictures are bars: scaled without smoothing they keep sharp
    // edges and their pure colours.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setPen(Qt::black);
    for (const PageText &text : page.texts)
        PaintText(painter, text);
    for (const PageFrame &frame : page.frames) {
        if (frame.shown)
            PaintFrame(painter, frame);
    }
    painter.restore();
}

bool PaintPrintPageOn(QPagedPaintDevice &device, const PrintPage &page)
{
    device.setPageOrientation(page.size.width() > page.size.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PaintPrintPage(painter, page, QRectF(0, 0, device.width(), device.height()));
    return painter.end();
}

QDate CastDate(const ShownCast &cast, QDate today)
{
    static const QRegularExpression leadingDate(QStringLiteral("^\\s*(\\d{4})-(\\d{1,2})-(\\d{1,2})"));
    const QRegularExpressionMatch match = leadingDate.match(cast.castTime);
    if (!match.hasMatch())
        return today;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    return date.isValid() ? date : today;
}

QString PrintTitle(const ShownCast &cast, QDate today)
{
    QString hexagrams = cast.primary.name;
    if (cast.resultingShown)
        hexagrams += QStringLiteral("之") + cast.resulting.name;
    QStringList parts{hexagrams};
    if (!cast.divinerName.trimmed().isEmpty())
        parts << cast.divinerName.trimmed();
    parts << CastDate(cast, today).toString(QStringLiteral("yyyy-MM-dd"));
    return parts.join(QStringLiteral(" — "));
}

QString PdfFileName(const ShownCast &cast, QDate today)
{
    return cast.primary.name + QLatin1Char('-') + CastDate(cast, today).toString(QStringLiteral("yyyy-MM-dd")) +
           QStringLiteral(".pdf");
}
