#include "ui/windows/about_window.h"

#include "shell/program_folder.h"
#include "shell/sound_mp3_player.h"
#include "ui/art/fonts.h"
#include "ui/art/window_panel_art.h"
#include "ui/widgets/escape_key.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/shaped_window.h"
#include "ui/widgets/window_placement.h"
#include "ui/windows/product_info.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

constexpr int Width = 470;
constexpr int Height = 380;
constexpr int HeaderHeight = 36;

} // namespace

AboutWindow::AboutWindow(Mp3Player &player, const QString &programFolder, std::function<void()> openWebPage,
                         QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , player_(player)
    , openWebPage_(std::move(openWebPage))
{
    setObjectName(QStringLiteral("about_window"));
    setWindowTitle(QStringLiteral("关于本软件"));
    setModal(true);
    setFixedSize(Width, Height);

    const QImage picture = WindowPanelPicture(Width, Height, HeaderHeight, windowTitle());
    auto *background = new PictureLabel(QStringLiteral("about_background"), this);
    background->SetPicture(QPixmap::fromImage(picture));
    ShapeWindowFromPicture(*this, picture);
    // A click on the background closes the window.
    connect(background, &PictureLabel::Clicked, this, &QDialog::accept);

    auto *name = new QLabel(QStringLiteral("周易文王卦"), this);
    name->setFont(SerifFont(22, QFont::Black));
    name->setStyleSheet(QStringLiteral("color: #9c311f;"));
    name->setGeometry(28, HeaderHeight + 10, 250, 34);
    name->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *versionCaption = new QLabel(QStringLiteral("版本："), this);
    versionCaption->setFont(SansFont(12));
    versionCaption->setStyleSheet(QStringLiteral("color: #6e3a20;"));
    versionCaption->setGeometry(318, HeaderHeight + 16, 44, 22);
    versionCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *version = new ClickableLabel(QStringLiteral("version_label"), this);
    version->setFont(SansFont(12, QFont::Bold));
    version->setStyleSheet(QStringLiteral("color: #6e3a20;"));
    version->setGeometry(362, HeaderHeight + 16, 80, 22);
    version->setText(VersionText());
    connect(version, &ClickableLabel::Clicked, this, &QDialog::accept);

    auto *text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("about_text"));
    text->setReadOnly(true);
    text->setAccessibleName(windowTitle());
    text->setPlainText(AboutText());
    text->setFont(SerifFont(13));
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setGeometry(24, HeaderHeight + 52, Width - 48, 232);
    text->setStyleSheet(QStringLiteral("QPlainTextEdit { background: rgba(255, 252, 242, 210);"
                                       " border: 1px solid rgba(138, 98, 52, 140); border-radius: 3px;"
                                       " color: #2b221c; }"));

    auto *link = new ClickableLabel(QStringLiteral("home_page_link"), this);
    link->setText(QStringLiteral("打开本软件主页"));
    link->setFont(SansFont(12));
    link->setStyleSheet(QStringLiteral("color: #3c4e9a; text-decoration: underline;"));
    link->setAlignment(Qt::AlignCenter);
    link->setGeometry(24, Height - 48, Width - 48, 24);
    link->setToolTip(QStringLiteral("连接网站"));
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &ClickableLabel::Clicked, this, [this] { openWebPage_(); });
    MakeKeyboardCommand(link, CommandRole::Link, link->text(), link->toolTip());
    CloseOnEscape(*this, [this] { reject(); });

    CentreOverOwner(*this, parent);
    IgnoreTheOpeningDoubleClick(*this);

    player_.Open(programFolder + QStringLiteral("/wav/音乐.mp3"));
    player_.Play();
}

void AboutWindow::done(int result)
{
    player_.Stop();
    player_.Close();
    QDialog::done(result);
}

void AboutWindow::mouseReleaseEvent(QMouseEvent *)
{
    accept();
}

void AboutWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F12 && !event->isAutoRepeat()) {
        accept();
        return;
    }
    QDialog::keyReleaseEvent(event);
}
