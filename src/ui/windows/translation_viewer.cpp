#include "ui/windows/translation_viewer.h"

#include "core/cast_result.h"
#include "core/lookup.h"
#include "core/program_sounds.h"
#include "shell/sound_effect.h"
#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/art/panel_kit.h"
#include "ui/widgets/escape_key.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/shaped_window.h"
#include "ui/widgets/twips.h"
#include "ui/widgets/window_drag.h"
#include "ui/widgets/window_placement.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/main_window.h"

#include <QKeyEvent>
#include <QPainterPath>
#include <QPlainTextEdit>

namespace {

constexpr int FirstTickMs = 1000;
constexpr int TickCeilingMs = 200;
constexpr int TickShorteningMs = 5;
constexpr int TickFloorMs = 50;
constexpr int StepTwips = 100;
constexpr int LastStepTwips = 3600;

constexpr QSize WindowSize(TwipsToPixels(9075), TwipsToPixels(6525));
constexpr int LinePicturesLeft = TwipsToPixels(300);
// Tops of lines 1..6: line 1 lowest.
constexpr std::array<int, 6> LinePictureTopsTwips{660, 570, 480, 380, 290, 200};
constexpr QSize LinePictureSize(TwipsToPixels(480), TwipsToPixels(60));
constexpr QRect ReferenceLinkBox = TwipsRect(300, 195, 495, 540);
constexpr QRect HeadingBox = TwipsRect(840, 280, 1815, 375);
constexpr QRect SwitchBox = TwipsRect(7440, 120, 345, 330);
constexpr QRect CloseBox = TwipsRect(8520, 120, 255, 255);
constexpr QPoint TextPlace = TwipsPoint(240, 840);
constexpr int TextWidth = TwipsToPixels(8595);
constexpr QRect BandBox = TwipsRect(1080, 5760, 6975, 495);

const QString TextStyle = QStringLiteral(
    "QPlainTextEdit { background: transparent; }"
    "QScrollBar:vertical { width: 10px; background: rgba(230, 211, 168, 120); border: none; margin: 0; }"
    "QScrollBar::handle:vertical { background: #b08a4e; border-radius: 4px; min-height: 24px; margin: 1px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");

// The paper of the window: a thin lacquer rim around parchment, with a rule
// under the heading row. White outside the rounded outline.
QImage ViewerBackground()
{
    QImage image(WindowSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const QRectF bounds(0, 0, WindowSize.width(), WindowSize.height());
    QPainterPath outline;
    outline.addRoundedRect(bounds, 12, 12);
    PaintLacquer(painter, outline, bounds);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF panel = bounds.adjusted(5, 5, -5, -5);
    QPainterPath panelShape;
    panelShape.addRoundedRect(panel, 8, 8);
    PaintParchment(painter, panelShape, panel, 0x2b7e151u);
    painter.setPen(QPen(ArtPalette::Gold, 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(panel.adjusted(2, 2, -2, -2), 6, 6);
    PaintOrnamentRule(painter, 16, bounds.width() - 16, TextPlace.y() - 5, QColor(0x8c, 0x5a, 0x30, 200));
    const QRectF lower = panel.adjusted(4, 4, -4, -4);
    PaintFretCorner(painter, lower, 2, 16, QColor(0x8c, 0x2c, 0x1c, 150));
    PaintFretCorner(painter, lower, 3, 16, QColor(0x8c, 0x2c, 0x1c, 150));
    return image;
}

// A yang line is one bar, a yin line two bars with a gap.
QImage ViewerLinePicture(bool yang)
{
    QImage image(LinePictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const int width = LinePictureSize.width();
    const int height = LinePictureSize.height();
    if (yang) {
        painter.fillRect(0, 0, width, height, ArtPalette::Ink);
    } else {
        const int gap = 6;
        const int bar = (width - gap) / 2;
        painter.fillRect(0, 0, bar, height, ArtPalette::Ink);
        painter.fillRect(width - bar, 0, bar, height, ArtPalette::Ink);
    }
    return image;
}

// The weight switch: a small gold-rimmed plate with a "B" in the weight the
// click sets.
QImage WeightSwitchPicture(QFont::Weight weight)
{
    QImage image(SwitchBox.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF plate = QRectF(image.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(ArtPalette::GoldDark, 1));
    painter.setBrush(weight == QFont::Black ? ArtPalette::Lacquer : ArtPalette::Paper);
    painter.drawRoundedRect(plate, 4, 4);
    painter.setPen(weight == QFont::Black ? ArtPalette::GoldLight : ArtPalette::Lacquer);
    painter.setFont(SerifFont(16, weight));
    painter.drawText(plate, Qt::AlignCenter, QStringLiteral("B"));
    return image;
}

// The band at the foot of the window: lacquer with a saying in gold.
QImage BandPicture()
{
    QImage image(BandBox.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF bounds(image.rect());
    QPainterPath strip;
    strip.addRoundedRect(bounds.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    PaintLacquer(painter, strip, bounds);
    painter.setPen(QPen(ArtPalette::Gold, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(bounds.adjusted(2.5, 2.5, -2.5, -2.5), 4, 4);
    PaintGoldText(painter, bounds, Qt::AlignCenter, QStringLiteral("以其所知，喻其所不知而使人知之"),
                  SerifFont(15, QFont::Bold));
    return image;
}

} // namespace

UnrollState NextUnrollState(UnrollState state)
{
    state.intervalMs = std::max(std::min(state.intervalMs, TickCeilingMs) - TickShorteningMs, TickFloorMs);
    state.heightTwips += StepTwips;
    if (state.heightTwips > LastStepTwips) {
        state.running = false;
        state.heightTwips = UnrolledHeightTwips;
    }
    return state;
}

TranslationViewer::TranslationViewer(const ReferenceWindowServices &services, GuardEnd endGuard,
                                     const QString &lines, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , services_(services)
    , endGuard_(std::move(endGuard))
{
    setObjectName(QStringLiteral("translation_viewer"));
    setWindowTitle(QStringLiteral("卦、爻辞译文"));
    setModal(true);
    setFixedSize(WindowSize);
    CentreOverOwner(*this, parent);
    IgnoreTheOpeningDoubleClick(*this);

    BuildBackground();
    BuildLinePictures();
    BuildHeading();
    BuildText();
    BuildBand();
    BuildSwitches();
    MakeDragHandles();

    unrollTimer_.setParent(this);
    unrollTimer_.setObjectName(QStringLiteral("unroll_timer"));
    unrollTimer_.setInterval(FirstTickMs);
    connect(&unrollTimer_, &QTimer::timeout, this, &TranslationViewer::Unroll);
    CloseOnEscape(*this, [this] { reject(); });

    Load(lines);
}

void TranslationViewer::BuildBackground()
{
    const QImage picture = ViewerBackground();
    background_ = new PictureLabel(QStringLiteral("background_picture"), this);
    background_->SetPicture(QPixmap::fromImage(picture));
    ShapeWindowFromPicture(*this, picture);
    connect(background_, &PictureLabel::DoubleClicked, this, &QDialog::accept);
}

void TranslationViewer::BuildLinePictures()
{
    const QPixmap yang = QPixmap::fromImage(ViewerLinePicture(true));
    for (int line = 1; line <= 6; ++line) {
        auto *picture = new PictureLabel(QStringLiteral("line_picture_%1").arg(line), this);
        picture->SetPicture(yang);
        picture->move(LinePicturesLeft, TwipsToPixels(LinePictureTopsTwips[line - 1]));
        picture->hide();
        linePictures_[line - 1] = picture;
    }
    yinPicture_ = new PictureLabel(QStringLiteral("yin_line_picture"), this);
    yinPicture_->SetPicture(QPixmap::fromImage(ViewerLinePicture(false)));
    yinPicture_->move(TwipsPoint(1080, 120));
    yinPicture_->hide();

    referenceLink_ = new ClickableLabel(QStringLiteral("reference_link"), this);
    referenceLink_->setGeometry(ReferenceLinkBox);
    referenceLink_->setToolTip(QStringLiteral("卦象属性参考 F8"));
    referenceLink_->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(referenceLink_, CommandRole::Link, QStringLiteral("卦象属性参考"), QStringLiteral("F8"));
    connect(referenceLink_, &ClickableLabel::Clicked, this, &TranslationViewer::OpenReference);
}

void TranslationViewer::BuildHeading()
{
    heading_ = new QLabel(QStringLiteral(" 卦名(序号)"), this);
    heading_->setObjectName(QStringLiteral("heading"));
    heading_->setGeometry(HeadingBox);
    heading_->setFont(SerifFont(19, QFont::Bold));
    heading_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    heading_->setStyleSheet(QStringLiteral("color: %1;").arg(ArtPalette::Lacquer.name()));
    heading_->hide();
}

// The text grows from height 0 without a scroll bar; once unrolled it
// offers one when the entry is longer than the box.
void TranslationViewer::BuildText()
{
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("translation_text"));
    text_->setReadOnly(true);
    text_->setAccessibleName(QStringLiteral("译文"));
    text_->setTextInteractionFlags(Qt::NoTextInteraction);
    text_->setFocusPolicy(Qt::NoFocus);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->viewport()->setCursor(Qt::ArrowCursor);
    text_->setStyleSheet(TextStyle);
    text_->setGeometry(TextPlace.x(), TextPlace.y(), TextWidth, 0);
    text_->setFont(SerifFont(14));
    QPalette palette = text_->palette();
    palette.setColor(QPalette::Text, ArtPalette::Ink);
    text_->setPalette(palette);
    text_->hide();
}

void TranslationViewer::BuildBand()
{
    band_ = new PictureLabel(QStringLiteral("saying_band"), this);
    band_->SetPicture(QPixmap::fromImage(BandPicture()));
    band_->move(BandBox.topLeft());
    band_->setToolTip(QStringLiteral("以其所知，喻其所不知而使人知之…   惠施"));
    connect(band_, &PictureLabel::DoubleClicked, this, &QDialog::accept);
}

void TranslationViewer::BuildSwitches()
{
    boldSwitch_ = new PictureLabel(QStringLiteral("bold_switch"), this);
    boldSwitch_->SetPicture(QPixmap::fromImage(WeightSwitchPicture(QFont::Black)));
    boldSwitch_->setToolTip(QStringLiteral("加粗译文字体 B"));
    normalSwitch_ = new PictureLabel(QStringLiteral("normal_switch"), this);
    normalSwitch_->SetPicture(QPixmap::fromImage(WeightSwitchPicture(QFont::Normal)));
    normalSwitch_->setToolTip(QStringLiteral("撤消加粗译文字体 B"));
    for (PictureLabel *weightSwitch : {boldSwitch_, normalSwitch_}) {
        weightSwitch->move(SwitchBox.topLeft());
        weightSwitch->setCursor(Qt::PointingHandCursor);
        weightSwitch->hide();
    }
    MakeKeyboardCommand(boldSwitch_, CommandRole::Button, QStringLiteral("加粗译文字体"), QStringLiteral("B"));
    MakeKeyboardCommand(normalSwitch_, CommandRole::Button, QStringLiteral("撤消加粗译文字体"), QStringLiteral("B"));
    connect(boldSwitch_, &PictureLabel::Clicked, this, [this] { SetBold(true); });
    connect(normalSwitch_, &PictureLabel::Clicked, this, [this] { SetBold(false); });

    closeLabel_ = new ClickableLabel(QStringLiteral("close_label"), this);
    closeLabel_->setText(QStringLiteral("×"));
    closeLabel_->setFont(SansFont(17, QFont::Bold));
    closeLabel_->setAlignment(Qt::AlignCenter);
    closeLabel_->setStyleSheet(QStringLiteral("color: %1;").arg(ArtPalette::Lacquer.name()));
    closeLabel_->setGeometry(CloseBox);
    closeLabel_->setToolTip(QStringLiteral("关闭 F12"));
    closeLabel_->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(closeLabel_, CommandRole::Button, QStringLiteral("关闭"), QStringLiteral("F12"));
    connect(closeLabel_, &ClickableLabel::Clicked, this, &QDialog::accept);
}

void TranslationViewer::MakeDragHandles()
{
    auto *drag = new WindowDrag(this);
    for (QWidget *handle : std::initializer_list<QWidget *>{background_, text_->viewport(), band_, heading_})
        drag->AddHandle(handle);
    text_->viewport()->installEventFilter(this);
}

void TranslationViewer::Load(const QString &lines)
{
    for (int line = 0; line < 6; ++line) {
        if (lines.mid(line, 1) == QStringLiteral("0"))
            linePictures_[line]->SetPicture(yinPicture_->Picture());
        linePictures_[line]->show();
    }
    // A line string that names no hexagram shows an empty heading "()" and
    // no text.
    const std::optional<HexagramEntry> found = FindHexagramTranslation(lines);
    const QString number = found ? QString::number(found->number) : QString();
    PlaySound(QStringLiteral("/wav/guyue.wav"));
    heading_->setText((found ? found->name : QString()) + QStringLiteral("(") + number + QStringLiteral(")"));
    heading_->show();
    text_->setPlainText(found ? found->text : QString());
    unrollTimer_.start();
}

void TranslationViewer::Unroll()
{
    unroll_ = NextUnrollState(unroll_);
    unrollTimer_.setInterval(unroll_.intervalMs);
    text_->show();
    const int height = TwipsToPixels(unroll_.heightTwips);
    if (unroll_.running) {
        text_->resize(TextWidth, height);
        return;
    }
    unrollTimer_.stop();
    // The full height reaches under the band at the foot of the window; the
    // text stops at the band, so no line is ever hidden behind it.
    text_->resize(TextWidth, std::min(height, BandBox.top() - TextPlace.y()));
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // B may already have set the text bold while it unrolled; the normal
    // switch then stands in this place and the bold one stays away, so the
    // two never show at once and B keeps switching the weight.
    if (!normalSwitch_->isVisibleTo(this))
        boldSwitch_->show();
}

void TranslationViewer::SetBold(bool bold)
{
    boldSwitch_->setVisible(!bold);
    normalSwitch_->setVisible(bold);
    QFont font = text_->font();
    font.setBold(bold);
    text_->setFont(font);
}

void TranslationViewer::OpenReference()
{
    // The viewer ends the guard when it closes itself, not the reference.
    TrigramReference reference(services_, [] {}, this);
    reference.exec();
}

void TranslationViewer::PlaySound(const QString &relativePath)
{
    services_.effects->PlayEffect(services_.programFolder + relativePath);
}

// A double-click on the text closes the window, as on the background.
bool TranslationViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TranslationViewer::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_F12:
        accept();
        return;
    case Qt::Key_B:
        SetBold(boldSwitch_->isVisibleTo(this));
        return;
    case Qt::Key_F8:
        if (referenceLink_->isEnabled() && referenceLink_->isVisibleTo(this))
            OpenReference();
        return;
    default:
        QDialog::keyReleaseEvent(event);
    }
}

void TranslationViewer::done(int result)
{
    unrollTimer_.stop();
    PlaySound(ClickSound);
    endGuard_();
    QDialog::done(result);
}

void ConnectTranslationCommands(MainWindow &window, const ReferenceWindowServices &services,
                                const CastResult &castInHand)
{
    QObject::connect(&window, &MainWindow::TranslationRequested, &window, [&window, services, &castInHand](int which) {
        services.effects->PlayEffect(services.programFolder + ClickSound);
        const QString &lines = which == 1 ? castInHand.primaryLines : castInHand.resultingLines;
        window.Guard().Begin();
        TranslationViewer viewer(services, [&window] { window.Guard().EndSoon(); }, lines, &window);
        viewer.exec();
    });
}
