#include "ui/windows/print_layout.h"

#include "core/lookup.h"
#include "core/program_sounds.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "ui/art/fonts.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/twips.h"
#include "ui/widgets/window_placement.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

constexpr int CloseDelayMs = 6000;
constexpr int DetailHeightTwips = 285;
constexpr int SmallLabelHeightTwips = 255;
constexpr int NameHeightTwips = 735;
constexpr int PositionStepTwips = 240;
constexpr int PositionWidthTwips = 360;
constexpr int NumberWidthTwips = 600;
constexpr int NameWidthTwips = 1800;
constexpr QSize PictureSizeTwips(960, 75);
constexpr int PageMarginMm = 15;
constexpr qreal MaxPictureDpi = 300;
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

const LayoutPlaces &PlacesOf(PrintLayoutKind kind)
{
    return kind == PrintLayoutKind::Translations ? TranslationPlaces : ClassicalPlaces;
}

QRect ToPixels(const QRect &twips)
{
    return TwipsRect(twips.left(), twips.top(), twips.width(), twips.height());
}

QLabel *MakeLabel(const QString &name, const QString &text, const QRect &twips, const QFont &font, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(ToPixels(twips));
    label->setFont(font);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

// The largest text size, down to the smallest, at which the text fits the
// label's box when wrapped.
int FittingTextPixels(const QLabel *label)
{
    QFont font = label->font();
    for (int pixels = LargestTextPixels; pixels > SmallestTextPixels; --pixels) {
        font.setPixelSize(pixels);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(QPoint(), QSize(label->width(), 1 << 20)),
                                                             Qt::TextWordWrap, label->text());
        if (needed.height() <= label->height())
            return pixels;
    }
    return SmallestTextPixels;
}

QString WithNewlines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The translation entry of the hexagram of `lines`, empty when it names none.
QString TranslationOf(const QString &lines)
{
    const std::optional<HexagramEntry> found = FindHexagramTranslation(lines);
    return found ? found->text : QString();
}

} // namespace

void PutTranslations(ShownCast &shown)
{
    shown.primary.text = TranslationOf(shown.primary.lines);
    if (shown.resulting.lines.isEmpty() || shown.resulting.lines == shown.primary.lines)
        return;
    shown.resulting.text = TranslationOf(shown.resulting.lines);
}

void PaintLayoutOnPage(QWidget &layout, QPainter &painter, const QRectF &page)
{
    const QSizeF size = layout.size();
    const qreal fit = std::min(page.width() / size.width(), page.height() / size.height());
    // The widgets paint into a picture at the page's resolution, up to a
    // limit that keeps a 1200 dpi page from taking hundreds of megabytes.
    const qreal deviceDpi = painter.device()->logicalDpiX();
    const qreal pictureScale = fit * std::min<qreal>(1.0, MaxPictureDpi / deviceDpi);
    QImage picture((size * pictureScale).toSize(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter widgets(&picture);
        widgets.setRenderHint(QPainter::Antialiasing);
        widgets.setRenderHint(QPainter::TextAntialiasing);
        widgets.setRenderHint(QPainter::SmoothPixmapTransform);
        widgets.scale(pictureScale, pictureScale);
        layout.render(&widgets, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    const QRectF target(page.left() + (page.width() - size.width() * fit) / 2, page.top(), size.width() * fit,
                        size.height() * fit);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture);
    painter.restore();
}

bool PrintLayoutOn(QWidget &layout, QPagedPaintDevice &device)
{
    device.setPageOrientation(layout.width() > layout.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(PageMarginMm, PageMarginMm, PageMarginMm, PageMarginMm), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PaintLayoutOnPage(layout, painter, QRectF(0, 0, device.width(), device.height()));
    return painter.end();
}

void DefaultLayoutPrinter::Print(QWidget &layout)
{
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull())
        return;
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(layout.windowTitle());
    PrintLayoutOn(layout, printer);
}

PrintLayout::PrintLayout(PrintLayoutKind kind, const ShownCast &cast, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    const LayoutPlaces &places = PlacesOf(kind);
    setObjectName(QString::fromLatin1(places.objectName));
    setWindowTitle(QStringLiteral("打印窗口"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(TwipsToPixels(places.client.width()), TwipsToPixels(places.client.height()));
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    setPalette(paper);
    setAutoFillBackground(true);
    setFont(SansFont(12));

    BuildCovers(kind);
    BuildDetails(kind, cast);
    BuildFrames(kind, cast);
    for (ClickableLabel *cover : covers_) {
        cover->raise();
        cover->setEnabled(false);
        connect(cover, &ClickableLabel::Clicked, this, &QWidget::close);
    }

    closeTimer_.setParent(this);
    closeTimer_.setObjectName(QStringLiteral("close_timer"));
    closeTimer_.setInterval(CloseDelayMs);
    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &QWidget::close);
}

void PrintLayout::BuildDetails(PrintLayoutKind kind, const ShownCast &cast)
{
    const LayoutPlaces &places = PlacesOf(kind);
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
        MakeLabel(QString::fromUtf16(row.captionName), QString::fromUtf16(row.caption), caption,
                  SansFont(12, QFont::Bold), this);
        MakeLabel(QString::fromUtf16(row.valueName), row.value,
                  QRect(row.at.value, QSize(row.at.valueWidth, DetailHeightTwips)), SansFont(12), this);
    }

    for (int line = 1; line <= 6; ++line) {
        const QRect box(places.upperPosition.x(), places.upperPosition.y() + (6 - line) * PositionStepTwips,
                        PositionWidthTwips, SmallLabelHeightTwips);
        QLabel *position = MakeLabel(QStringLiteral("line_%1_position_label").arg(line), cast.linePositions[line - 1], box,
                                     SerifFont(13, QFont::Bold), this);
        position->setAlignment(Qt::AlignCenter);
    }

    const QRect rule(places.rule, QSize(places.ruleWidth, places.client.height() - places.rule.y()));
    QLabel *ruleLabel = MakeLabel(QStringLiteral("rule_label"), cast.ruleText, rule, SerifFont(12), this);
    ruleLabel->setWordWrap(true);
    ruleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PrintLayout::BuildFrames(PrintLayoutKind kind, const ShownCast &cast)
{
    const LayoutPlaces &places = PlacesOf(kind);
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
    // The texts of a page share one size, the one at which every shown text fits.
    std::vector<QLabel *> texts;
    int textPixels = LargestTextPixels;
    for (const FrameRow &row : rows) {
        auto *frame = new QGroupBox(QString::fromUtf16(row.caption), this);
        const QString role = QString::fromLatin1(row.role);
        frame->setObjectName(role + QStringLiteral("_frame"));
        frame->setGeometry(ToPixels(row.frameBox));
        frame->setFont(SerifFont(14, QFont::Bold));
        frame->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid #606060; border-radius: 4px; margin-top: 9px; background: white; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: black; }"));
        frame->setVisible(row.shown);

        const FramePlaces &inside = row.inside;
        MakeLabel(role + QStringLiteral("_number_label"), row.hexagram.number,
                  QRect(inside.number, QSize(NumberWidthTwips, SmallLabelHeightTwips)), SansFont(13, QFont::Bold),
                  frame);
        MakeLabel(role + QStringLiteral("_name_label"), row.hexagram.name,
                  QRect(inside.name, QSize(NameWidthTwips, NameHeightTwips)), SerifFont(32, QFont::Black), frame);
        MakeLabel(role + QStringLiteral("_lines_label"), row.hexagram.lines,
                  QRect(inside.lines, QSize(NameWidthTwips, SmallLabelHeightTwips)), SansFont(13), frame);
        for (int line = 1; line <= 6; ++line) {
            auto *picture = new PictureLabel(role + QStringLiteral("_line_%1_picture").arg(line), frame);
            picture->SetPicture(row.hexagram.pictures[line - 1]);
            picture->move(TwipsPoint(inside.picturesLeft, places.topLineTop + (6 - line) * PositionStepTwips));
            picture->resize(TwipsToPixels(PictureSizeTwips.width()), TwipsToPixels(PictureSizeTwips.height()));
            picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        QLabel *text = MakeLabel(role + QStringLiteral("_text_label"), WithNewlines(row.hexagram.text),
                                 places.textInside, SerifFont(LargestTextPixels), frame);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        texts.push_back(text);
        if (row.shown)
            textPixels = std::min(textPixels, FittingTextPixels(text));
    }
    for (QLabel *text : texts) {
        QFont font = text->font();
        font.setPixelSize(textPixels);
        text->setFont(font);
    }
}

// Transparent labels over the whole layout and over each frame; once the
// page is printed a click on any of them closes the layout.
void PrintLayout::BuildCovers(PrintLayoutKind kind)
{
    const LayoutPlaces &places = PlacesOf(kind);
    covers_[0] = new ClickableLabel(QStringLiteral("page_cover"), this);
    covers_[0]->setGeometry(QRect(QPoint(), size()));
    covers_[1] = new ClickableLabel(QStringLiteral("primary_frame_cover"), this);
    covers_[1]->setGeometry(ToPixels(places.primaryFrame));
    covers_[2] = new ClickableLabel(QStringLiteral("resulting_frame_cover"), this);
    covers_[2]->setGeometry(ToPixels(places.resultingFrame));
}

void PrintLayout::PrintAndStartClosing(LayoutPrinter &printer)
{
    printer.Print(*this);
    closeTimer_.start();
    for (ClickableLabel *cover : covers_)
        cover->setEnabled(true);
}

void PrintLayout::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F12 && !event->isAutoRepeat()) {
        close();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void PrintLayout::closeEvent(QCloseEvent *event)
{
    closeTimer_.stop();
    emit Closing();
    QWidget::closeEvent(event);
}

void RunPrintCommand(MainWindow &mainWindow, const PrintCommandServices &services)
{
    services.effects->PlayEffect(services.programFolder + ClickSound);
    const bool withTranslation = PrintsTranslation(*services.settings);
    const QString question =
        withTranslation ? QStringLiteral("确定要打印此卦(含译文)吗?") : QStringLiteral("确定要打印此卦吗?");
    if (!services.dialogs->AskYesNo(&mainWindow, question, QStringLiteral("《Ravezaz》系统"), true))
        return;

    mainWindow.SetPrintEnabled(false);
    ShownCast shown = mainWindow.ShownCastView();
    if (withTranslation)
        PutTranslations(shown);
    auto *layout = new PrintLayout(withTranslation ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts,
                                   shown, &mainWindow);
    QObject::connect(layout, &PrintLayout::Closing, &mainWindow, [&mainWindow] { mainWindow.SetPrintEnabled(true); });
    CentreOverOwner(*layout, &mainWindow);
    layout->show();
    layout->PrintAndStartClosing(*services.printer);
}

void ConnectPrintCommand(MainWindow &window, const PrintCommandServices &services)
{
    QObject::connect(&window, &MainWindow::PrintRequested, &window,
                     [&window, services] { RunPrintCommand(window, services); });
}
