#include "ui/windows/splash_window.h"

#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/art/picture_cache.h"
#include "ui/art/window_panel_art.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/shaped_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QStandardPaths>

namespace {

constexpr int TickMs = 100;
const QString FullBar = QStringLiteral("■■■■■■■■■■■■");

} // namespace

QImage CachedSplashPicture(const QString &versionText)
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/pictures");
    return CachedPicture(folder, PictureCacheKey(QStringLiteral("splash"), versionText, qApp->devicePixelRatio()),
                         SplashPicture);
}

SplashWindow::SplashWindow(const QString &versionText, const QImage &picture, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("splash_window"));
    setWindowTitle(QStringLiteral("Ravezaz"));

    auto *background = new PictureLabel(QStringLiteral("splash_background"), this);
    background->SetPicture(QPixmap::fromImage(picture));
    setFixedSize(picture.size());
    ShapeWindowFromPicture(*this, picture);

    MakeTextLabel(QStringLiteral("loading_label"), QStringLiteral("程序装载中…"), QRect(40, 192, 120, 22), SansFont(13),
              ArtPalette::InkSoft, this);
    QLabel *version = MakeTextLabel(QStringLiteral("version_label"), versionText, QRect(300, 192, 80, 22), SansFont(12),
                                    ArtPalette::Bronze, this);
    version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    progress_ = MakeTextLabel(QStringLiteral("progress_label"), {}, QRect(40, 214, 340, 20), SansFont(13),
                              ArtPalette::Cinnabar, this);

    for (QTimer *timer : {&progressTimer_, &finishTimer_})
        timer->setInterval(TickMs);
    progressTimer_.setObjectName(QStringLiteral("progress_timer"));
    finishTimer_.setObjectName(QStringLiteral("finish_timer"));
    progressTimer_.setParent(this);
    finishTimer_.setParent(this);
    finishTimer_.setSingleShot(true);
    connect(&progressTimer_, &QTimer::timeout, this, &SplashWindow::AdvanceProgress);
    connect(&finishTimer_, &QTimer::timeout, this, &SplashWindow::Finished);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::Start()
{
    progressTimer_.start();
}

void SplashWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!shown_) {
        shown_ = true;
        emit Shown();
    }
}

void SplashWindow::AdvanceProgress()
{
    progress_->setText(progress_->text() + QStringLiteral("■"));
    if (progress_->text() == FullBar) {
        progressTimer_.stop();
        finishTimer_.start();
    }
}
