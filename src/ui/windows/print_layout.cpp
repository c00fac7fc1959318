#include "ui/windows/print_layout.h"

#include "core/lookup.h"
#include "core/program_sounds.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "ui/art/fonts.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/twips.h"
#include "ui/widgets/window_placement.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

namespace {

constexpr int CloseDelayMs = 6000;

QRect ToPixels(const QRect &twips)
{
    return TwipsRect(twips.left(), twips.top(), twips.width(), twips.height());
}

void MakeLabel(const PageText &text, QWidget *parent)
{
    auto *label = new QLabel(text.text, parent);
    label->setObjectName(text.name);
    label->setGeometry(ToPixels(text.box));
    label->setFont(text.font);
    label->setAlignment(text.alignment);
    label->setWordWrap(text.wordWrap);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
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

PrintLayout::PrintLayout(PrintLayoutKind kind, const ShownCast &cast, QDate today, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , job_{ArrangePrintPage(kind, cast), PrintTitle(cast, today), PdfFileName(cast, today)}
{
    setObjectName(job_.page.name);
    setWindowTitle(QStringLiteral("打印窗口"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ToPixels(QRect(QPoint(), job_.page.size)).size());
    QPalette paper = palette();
    paper.setColor(QPalette::Window, Qt::white);
    paper.setColor(QPalette::WindowText, Qt::black);
    setPalette(paper);
    setAutoFillBackground(true);
    setFont(SansFont(12));

    BuildCovers();
    for (const PageText &text : job_.page.texts)
        MakeLabel(text, this);
    BuildFrames();
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

void PrintLayout::BuildFrames()
{
    for (const PageFrame &frame : job_.page.frames) {
        auto *box = new QGroupBox(frame.caption, this);
        box->setObjectName(frame.name);
        box->setGeometry(ToPixels(frame.box));
        box->setFont(frame.captionFont);
        box->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid #606060; border-radius: 4px; margin-top: 9px; background: white; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: black; }"));
        box->setVisible(frame.shown);
        for (const PageText &text : frame.texts)
            MakeLabel(text, box);
        for (const PageLinePicture &line : frame.lines) {
            auto *picture = new PictureLabel(line.name, box);
            picture->SetPicture(line.picture);
            picture->setGeometry(ToPixels(line.box));
            picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
    }
}

// Transparent labels over the whole layout and over each frame; once the
// page is printed a click on any of them closes the layout.
void PrintLayout::BuildCovers()
{
    covers_[0] = new ClickableLabel(QStringLiteral("page_cover"), this);
    covers_[0]->setGeometry(QRect(QPoint(), size()));
    covers_[1] = new ClickableLabel(QStringLiteral("primary_frame_cover"), this);
    covers_[1]->setGeometry(ToPixels(job_.page.frames[0].box));
    covers_[2] = new ClickableLabel(QStringLiteral("resulting_frame_cover"), this);
    covers_[2]->setGeometry(ToPixels(job_.page.frames[1].box));
}

void PrintLayout::PrintAndStartClosing(const PageOutput &output)
{
    PrintOrOfferPdf(job_, output, this);
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
    if (!services.output.dialogs->AskYesNo(&mainWindow, question, QStringLiteral("《Ravezaz》系统"), true))
        return;

    mainWindow.SetPrintEnabled(false);
    ShownCast shown = mainWindow.ShownCastView();
    if (withTranslation)
        PutTranslations(shown);
    auto *layout = new PrintLayout(withTranslation ? PrintLayoutKind::Translations : PrintLayoutKind::ClassicalTexts,
                                   shown, services.today(), &mainWindow);
    QObject::connect(layout, &PrintLayout::Closing, &mainWindow, [&mainWindow] { mainWindow.SetPrintEnabled(true); });
    CentreOverOwner(*layout, &mainWindow);
    IgnoreTheOpeningDoubleClick(*layout);
    layout->show();
    layout->PrintAndStartClosing(services.output);
}

void ConnectPrintCommand(MainWindow &window, const PrintCommandServices &services)
{
    QObject::connect(&window, &MainWindow::PrintRequested, &window,
                     [&window, services] { RunPrintCommand(window, services); });
}
