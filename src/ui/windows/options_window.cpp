#include "ui/windows/options_window.h"

#include "core/program_sounds.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "ui/art/fonts.h"
#include "ui/art/panel_kit.h"
#include "ui/art/window_panel_art.h"
#include "ui/widgets/animated_picture.h"
#include "ui/widgets/button_looks.h"
#include "ui/widgets/escape_key.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/music_toggle_box.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/picture_button.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/shaped_window.h"
#include "ui/widgets/window_drag.h"
#include "ui/widgets/window_placement.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>

#include <cmath>

namespace {

constexpr int Width = 400;
constexpr int Height = 290;
constexpr int HeaderHeight = 36;
constexpr int BoxLeft = 40;
constexpr int FirstBoxTop = 56;
constexpr int BoxStep = 30;
constexpr QSize BoxSize(190, 24);
constexpr QRect DateTimeButtonBox(40, 186, 190, 30);
constexpr QRect VolumeButtonBox(40, 226, 190, 30);
constexpr QPoint ReloadPlace(272, 60);
constexpr QSize ReloadSize(84, 96);
constexpr QPoint WebButtonPlace(292, 190);
constexpr int WebButtonSide = 44;
constexpr int ReloadFrameCount = 12;
constexpr int ReloadFrameMs = 120;

const QString BoxStyle = QStringLiteral("QCheckBox { color: #2a1c14; spacing: 7px; }");
const QString ButtonStyle = QStringLiteral(
    "QPushButton { color: #2a1c14; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbf5e6, stop:1 #ead9b0);"
    " border: 1px solid #9a701e; border-radius: 5px; padding: 3px 10px; }"
    "QPushButton:hover { background: #fff8e6; }"
    "QPushButton:pressed { background: #e2cd9c; }");

// The reload picture turning: a taiji disc that rotates a step each frame,
// over its caption.
QList<QPixmap> ReloadFrames()
{
    QList<QPixmap> frames;
    const QPointF centre(ReloadSize.width() / 2.0, 38);
    for (int frame = 0; frame < ReloadFrameCount; ++frame) {
        QImage image(ReloadSize, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ArtPalette::Gold, 2));
        painter.setBrush(ArtPalette::Lacquer);
        painter.drawEllipse(centre, 34, 34);
        painter.translate(centre);
        painter.rotate(frame * 360.0 / ReloadFrameCount);
        PaintTaiji(painter, QPointF(), 27, ArtPalette::Ink, ArtPalette::Ivory);
        painter.resetTransform();
        painter.setPen(ArtPalette::Lacquer);
        painter.setFont(SerifFont(14, QFont::Bold));
        painter.drawText(QRectF(0, 76, ReloadSize.width(), 20), Qt::AlignCenter, QStringLiteral("重新载入"));
        frames << QPixmap::fromImage(image);
    }
    return frames;
}

// The web button: a gold globe on a lacquer stud.
QImage WebButtonPicture()
{
    QImage image(WebButtonSide, WebButtonSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(WebButtonSide / 2.0, WebButtonSide / 2.0);
    PaintGlossyDisc(painter, centre, WebButtonSide / 2.0 - 1, ArtPalette::Lacquer, ArtPalette::Gold);
    const qreal radius = 13;
    painter.setPen(QPen(ArtPalette::GoldLight, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    painter.drawEllipse(centre, radius * 0.45, radius);
    painter.drawLine(centre - QPointF(radius, 0), centre + QPointF(radius, 0));
    painter.drawLine(centre - QPointF(0, radius), centre + QPointF(0, radius));
    const qreal latitude = radius * 0.5;
    const qreal halfWidth = std::sqrt(radius * radius - latitude * latitude);
    for (const qreal side : {-1.0, 1.0})
        painter.drawLine(centre + QPointF(-halfWidth, side * latitude), centre + QPointF(halfWidth, side * latitude));
    return image;
}

QCheckBox *MakeBox(QCheckBox *box, const QString &name, const QString &caption, const QString &tooltip, int row)
{
    box->setObjectName(name);
    box->setText(caption);
    box->setToolTip(tooltip);
    box->setFont(SansFont(14));
    box->setStyleSheet(BoxStyle);
    box->setGeometry(QRect(QPoint(BoxLeft, FirstBoxTop + row * BoxStep), BoxSize));
    return box;
}

QPushButton *MakeButton(const QString &name, const QString &caption, const QString &tooltip, const QRect &box,
                        QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tooltip);
    button->setFont(SansFont(13));
    button->setStyleSheet(ButtonStyle);
    button->setCursor(Qt::PointingHandCursor);
    // Enter anywhere in the window must not start a system program: the
    // buttons answer Enter only while they have the focus.
    button->setAutoDefault(false);
    ClickOnEnter(button);
    button->setGeometry(box);
    return button;
}

} // namespace

const std::vector<ToolCommand> &ToolCommandsFor(SystemTool tool)
{
    static const std::vector<ToolCommand> dateTime{
        {QStringLiteral("gnome-control-center"), {QStringLiteral("datetime")}},
        {QStringLiteral("kcmshell6"), {QStringLiteral("kcm_clock")}},
        {QStringLiteral("kcmshell5"), {QStringLiteral("clock")}},
        {QStringLiteral("cinnamon-settings"), {QStringLiteral("calendar")}},
        {QStringLiteral("mate-time-admin"), {}},
        {QStringLiteral("time-admin"), {}},
    };
    static const std::vector<ToolCommand> volume{
        {QStringLiteral("pavucontrol"), {}},
        {QStringLiteral("pavucontrol-qt"), {}},
        {QStringLiteral("gnome-control-center"), {QStringLiteral("sound")}},
        {QStringLiteral("kcmshell6"), {QStringLiteral("kcm_pulseaudio")}},
        {QStringLiteral("kcmshell5"), {QStringLiteral("kcm_pulseaudio")}},
        {QStringLiteral("cinnamon-settings"), {QStringLiteral("sound")}},
        {QStringLiteral("mate-volume-control"), {}},
    };
    return tool == SystemTool::DateTime ? dateTime : volume;
}

bool StartFirstInstalled(const std::vector<ToolCommand> &commands,
                         const std::function<QString(const QString &program)> &find,
                         const std::function<bool(const QString &program, const QStringList &arguments)> &start)
{
    for (const ToolCommand &command : commands) {
        const QString path = find(command.program);
        if (!path.isEmpty() && start(path, command.arguments))
            return true;
    }
    return false;
}

bool StartSystemTool(SystemTool tool)
{
    return StartFirstInstalled(
        ToolCommandsFor(tool), [](const QString &program) { return QStandardPaths::findExecutable(program); },
        [](const QString &program, const QStringList &arguments) {
            return QProcess::startDetached(program, arguments);
        });
}

MainWindowOptionsTarget::MainWindowOptionsTarget(MainWindow &window, MusicControl &music)
    : window_(window)
    , music_(music)
{
}

MusicToggle MainWindowOptionsTarget::ShownMusicToggle() const
{
    return window_.ShownMusicToggle();
}

void MainWindowOptionsTarget::SetMusicToggle(int value)
{
    window_.EnableMusicToggle();
    music_.SetToggleValue(value);
}

void MainWindowOptionsTarget::ShowQuotes(bool shown)
{
    window_.ShowQuotesBanner(shown);
}

void MainWindowOptionsTarget::ForgetToday()
{
    window_.ForgetToday();
}

OptionsWindow::OptionsWindow(const OptionsServices &services, Settings &settings, OptionsTarget &target,
                             std::function<void()> endGuard, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , services_(services)
    , settings_(settings)
    , target_(target)
    , endGuard_(std::move(endGuard))
{
    setObjectName(QStringLiteral("options_window"));
    setWindowTitle(QStringLiteral("功能选项"));
    setModal(true);
    setFixedSize(Width, Height);
    CentreOverOwner(*this, parent);
    IgnoreTheOpeningDoubleClick(*this);

    BuildBackground();
    BuildOptionBoxes();
    BuildCommands();
    ShowCurrentOptions();
    CloseOnEscape(*this, [this] { reject(); });
    services_.effects->PlayEffect(services_.programFolder + QStringLiteral("/wav/option.wav"));
}

void OptionsWindow::BuildBackground()
{
    const QImage picture = WindowPanelPicture(Width, Height, HeaderHeight, windowTitle());
    background_ = new PictureLabel(QStringLiteral("background_picture"), this);
    background_->SetPicture(QPixmap::fromImage(picture));
    ShapeWindowFromPicture(*this, picture);
    connect(background_, &PictureLabel::DoubleClicked, this, &QDialog::accept);
    auto *drag = new WindowDrag(this);
    drag->AddHandle(background_);
}

void OptionsWindow::BuildOptionBoxes()
{
    musicBox_ = new MusicToggleBox(QStringLiteral("music_box"), this);
    MakeBox(musicBox_, musicBox_->objectName(), QStringLiteral("背景音乐(M)"), QStringLiteral("背景音乐开关 M"), 0);
    musicBox_->setAccessibleDescription(QStringLiteral("M"));
    quotesBox_ = MakeBox(new QCheckBox(this), QStringLiteral("quotes_box"), QStringLiteral("显示周易名言"),
                         QStringLiteral("设置是否显示周易名言"), 1);
    translationBox_ = MakeBox(new QCheckBox(this), QStringLiteral("print_translation_box"), QStringLiteral("打印时打印译文"),
                              QStringLiteral("设置打印机打印时是否打印译文"), 2);
    tipsBox_ = MakeBox(new QCheckBox(this), QStringLiteral("today_tips_box"), QStringLiteral("今日提示功能"),
                       QStringLiteral("设置启动时是否显示今日提示窗口"), 3);

    // Only the user's clicks act; setting the boxes at opening changes
    // nothing.
    connect(musicBox_, &QAbstractButton::clicked, this, &OptionsWindow::ToggleMusic);
    connect(quotesBox_, &QAbstractButton::clicked, this, &OptionsWindow::SetQuotes);
    connect(translationBox_, &QAbstractButton::clicked, this, [this](bool checked) {
        PlayClick();
        settings_.printTranslation = checked;
    });
    connect(tipsBox_, &QAbstractButton::clicked, this, [this](bool checked) {
        PlayClick();
        settings_.todayTips = checked;
    });
}

void OptionsWindow::BuildCommands()
{
    webButton_ = new PictureButton(QStringLiteral("web_page_button"), ButtonLooksOf(WebButtonPicture()), this);
    webButton_->move(WebButtonPlace);
    webButton_->setToolTip(QStringLiteral("连接软件Web页面 F2"));
    webButton_->setAccessibleName(QStringLiteral("连接软件Web页面"));
    webButton_->setAccessibleDescription(QStringLiteral("F2"));
    connect(webButton_, &QAbstractButton::clicked, this, &OptionsWindow::OpenWebPage);

    dateTimeButton_ = MakeButton(QStringLiteral("date_time_button"), QStringLiteral("修改电脑日期/时间"),
                                 QStringLiteral("调用电脑操作系统日期/时间属性窗口"), DateTimeButtonBox, this);
    volumeButton_ = MakeButton(QStringLiteral("volume_button"), QStringLiteral("打开音量控制窗口"),
                               QStringLiteral("打开电脑操作系统音量控制窗口"), VolumeButtonBox, this);
    connect(dateTimeButton_, &QAbstractButton::clicked, this, [this] { StartTool(SystemTool::DateTime); });
    connect(volumeButton_, &QAbstractButton::clicked, this, [this] { StartTool(SystemTool::Volume); });

    reload_ = new AnimatedPicture(QStringLiteral("reload_animation"), this);
    reload_->SetFrames(ReloadFrames(), ReloadFrameMs);
    reload_->move(ReloadPlace);
    reload_->setToolTip(QStringLiteral("关闭窗口&重新载入"));
    reload_->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(reload_, CommandRole::Button, reload_->toolTip());
    connect(reload_, &AnimatedPicture::Clicked, this, &OptionsWindow::Reload);
    reload_->Start();
}

void OptionsWindow::ShowCurrentOptions()
{
    const MusicToggle toggle = target_.ShownMusicToggle();
    musicBox_->SetValue(toggle.value);
    musicBox_->setText(toggle.caption);
    musicBox_->setToolTip(toggle.tooltip);
    quotesBox_->setChecked(ShowsQuotes(settings_));
    tipsBox_->setChecked(AllowsTodayTips(settings_));
    translationBox_->setChecked(PrintsTranslation(settings_));
}

void OptionsWindow::PlayClick()
{
    services_.effects->PlayEffect(services_.programFolder + ClickSound);
}

// Music that is on (background or festival) goes off, music that is off
// goes to background music; the main window's toggle follows and this box
// takes over its caption and tooltip.
void OptionsWindow::ToggleMusic()
{
    PlayClick();
    const int value = musicBox_->Value() == MusicOff ? BackgroundMusic : MusicOff;
    musicBox_->SetValue(value);
    target_.SetMusicToggle(value);
    const MusicToggle shown = target_.ShownMusicToggle();
    musicBox_->setText(shown.caption);
    musicBox_->setToolTip(shown.tooltip);
}

void OptionsWindow::SetQuotes(bool shown)
{
    PlayClick();
    settings_.showQuotes = shown;
    target_.ShowQuotes(shown);
}

void OptionsWindow::OpenWebPage()
{
    PlayClick();
    services_.openWebPage();
}

void OptionsWindow::StartTool(SystemTool tool)
{
    if (services_.startSystemTool(tool))
        return;
    services_.dialogs->ShowMessage(this, QStringLiteral("无法调用操作系统程序！\r请自行查找操作系统中的此项功能。"),
                                   ProgramTitle(), DialogService::Icon::None);
}

void OptionsWindow::Reload()
{
    services_.effects->PlayEffect(services_.programFolder + QStringLiteral("/wav/close.wav"));
    target_.ForgetToday();
    accept();
}

void OptionsWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_L:
    case Qt::Key_F2:
        OpenWebPage();
        return;
    case Qt::Key_M:
        ToggleMusic();
        return;
    case Qt::Key_F12:
        accept();
        return;
    default:
        QDialog::keyReleaseEvent(event);
    }
}

void OptionsWindow::done(int result)
{
    endGuard_();
    QDialog::done(result);
}

void ConnectOptionsCommand(MainWindow &window, MusicControl &music, Settings &settings,
                           const OptionsServices &services)
{
    QObject::connect(&window, &MainWindow::OptionsRequested, &window, [&window, &music, &settings, services] {
        MainWindowOptionsTarget target(window, music);
        window.Guard().Begin();
        OptionsWindow options(services, settings, target, [&window] { window.Guard().EndSoon(); }, &window);
        QObject::connect(&window, &MainWindow::OptionsCloseRequested, &options, &QDialog::reject);
        options.exec();
    });
}
