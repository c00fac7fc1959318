#include "ui/windows/main_window.h"

#include "calendar/date_evaluation.h"
#include "core/date_text.h"
#include "core/program_sounds.h"
#include "core/resolution.h"
#include "shell/quotes.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "shell/sound_mp3_player.h"
#include "ui/art/command_button_art.h"
#include "ui/art/fonts.h"
#include "ui/art/idle_view_art.h"
#include "ui/art/line_pictures.h"
#include "ui/art/main_background_art.h"
#include "ui/art/main_window_layout.h"
#include "ui/art/palette.h"
#include "ui/art/window_button_art.h"
#include "ui/widgets/hexagram_text_box.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/key_release_watch.h"
#include "ui/widgets/music_toggle_box.h"
#include "ui/widgets/picture_button.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/saying_label.h"
#include "ui/widgets/window_drag.h"
#include "ui/widgets/window_remap_place.h"
#include "ui/windows/about_window.h"
#include "ui/windows/cast_speech.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/festival_overlay.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace {

constexpr int ReshowDelayMs = 500;
constexpr int DayChangeDelayMs = 100;
constexpr int TodaysTipsDelayMs = 100;
constexpr int CalendarGridDelayMs = 50;

constexpr int SayingFontSize = 15;
// Still easy to read in the serif face.
constexpr int SmallestSayingSize = 13;

// The type of the cast's time, name and matter under the hexagrams.
constexpr int DetailFontSize = 12;

QString ClickSoundPath(const QString &programFolder)
{
    return programFolder + ClickSound;
}

QColor ToColour(const RgbColour &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// A one-line value in the largest type, down to a readable smallest, that
// shows it whole; the tooltip holds the value whenever the type had to
// shrink or even the smallest cannot show it all.
void SetFittingText(QLabel *label, const QString &text, int largest)
{
    constexpr int smallest = 9;
    int size = largest;
    while (size > smallest && QFontMetrics(SansFont(size)).horizontalAdvance(text) > label->width())
        --size;
    label->setFont(SansFont(size));
    label->setText(text);
    label->setToolTip(size < largest || QFontMetrics(SansFont(size)).horizontalAdvance(text) > label->width()
                          ? text
                          : QString());
}

ClickableLabel *MakeClickableLabel(const QString &name, const QString &text, const QRect &geometry,
                                   const QFont &font, const QColor &colour, QWidget *parent)
{
    auto *label = new ClickableLabel(name, parent);
    label->setText(text);
    label->setGeometry(geometry);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

// The command bar, left to right.
struct CommandButtonRow {
    const char *name;
    CommandIcon icon;
    const char16_t *caption;
    const char16_t *tooltip;
};

constexpr std::array<CommandButtonRow, 8> CommandButtonRows{{
    {"cast_button", CommandIcon::Cast, u"起卦", u"开始推演取卦 F5"},
    {"manual_entry_button", CommandIcon::ManualEntry, u"输入", u"人工输入卦体 F6"},
    {"records_button", CommandIcon::Records, u"记录", u"查看占筮记录 F7"},
    {"trigrams_button", CommandIcon::Trigrams, u"八卦", u"八卦卦象属性参考说明 F8"},
    {"print_button", CommandIcon::Print, u"打印", u"打印此卦 F9"},
    {"calendar_button", CommandIcon::Calendar, u"日历", u"查看农历日历 F10"},
    {"help_button", CommandIcon::Help, u"帮助", u"查看帮助主题 F1"},
    {"options_button", CommandIcon::Options, u"设置", u"功能设置 F4"},
}};

// Keys act whatever the Shift state, but Shift turns the digit keys into
// their symbols; these are the symbols of 1 and 2 on the keyboard layout of
// Chinese desktops (US).
int UnshiftedKey(int key)
{
    constexpr std::array<std::pair<int, int>, 2> shiftedDigits{{{Qt::Key_Exclam, Qt::Key_1}, {Qt::Key_At, Qt::Key_2}}};
    for (const auto &[shifted, digit] : shiftedDigits) {
        if (key == shifted)
            return digit;
    }
    return key;
}

PictureButton *MakeCommandButton(const CommandButtonRow &row, QPoint position, QWidget *parent)
{
    const QString caption = QString::fromUtf16(row.caption);
    const PictureButton::Pictures pictures{
        QPixmap::fromImage(CommandButtonPicture(row.icon, caption, ButtonLook::Normal)),
        QPixmap::fromImage(CommandButtonPicture(row.icon, caption, ButtonLook::Hover)),
        QPixmap::fromImage(CommandButtonPicture(row.icon, caption, ButtonLook::Pressed)),
        QPixmap::fromImage(CommandButtonPicture(row.icon, caption, ButtonLook::Disabled)),
    };
    auto *button = new PictureButton(QString::fromLatin1(row.name), pictures, parent);
    button->setToolTip(QString::fromUtf16(row.tooltip));
    button->setAccessibleName(caption);
    button->setAccessibleDescription(button->toolTip());
    button->move(position);
    return button;
}

// The line pictures of a frame sit one above the other, the top line first.
constexpr int LineTop = 26;
constexpr int LineStep = 16;
constexpr int PrimaryLineLeft = 198;
constexpr int ResultingLineLeft = 18;
constexpr QRect PrimaryFrameGeometry{26, 46, 280, 210};
constexpr QRect ResultingFrameGeometry{336, 46, 280, 210};

int LinePictureTop(int line)
{
    return LineTop + (6 - line) * LineStep;
}

const QString FrameStyle = QStringLiteral(
    "QGroupBox { border: 1px solid rgba(138, 98, 52, 170); border-radius: 6px; margin-top: 9px;"
    " background: rgba(255, 250, 236, 110); }"
    "QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 5px; color: #7a2a18; }");

const QString TextBoxStyle = QStringLiteral(
    "QPlainTextEdit { background: rgba(255, 252, 242, 200); border: 1px solid rgba(138, 98, 52, 120);"
    " border-radius: 3px; color: #2b221c; }");

const QString NumberBadgeStyle = QStringLiteral(
    "QLabel { background: #a02a1a; color: #fbf5e6; border: 1px solid #d8b25c; border-radius: 13px; }");

const QString ToggleStyle = QStringLiteral("QCheckBox { color: #5b4a3c; spacing: 5px; }");

} // namespace

MainWindow::MainWindow(const MainWindowServices &services, Settings &settings, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , services_(services)
    , settings_(settings)
{
    setObjectName(QStringLiteral("main_window"));
    setWindowTitle(QStringLiteral("Ravezaz之文王卦"));
    setFixedSize(MainLayout::Width, MainLayout::Height);
    setFont(SansFont(12));

    BuildBackground();
    BuildHeader();
    BuildBanner();
    BuildIdlePictures();
    BuildCastFrames();
    BuildCastDetails();
    BuildCommandBar();
    BuildFooter();
    BuildFestivalOverlay();
    BuildHiddenStores();
    BuildTimers();
    BuildKeyTable();
    ConnectMouse();
    MakeDragHandles();
    SetTabOrder();
    WatchKeys();
    ResetToIdleView();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildBackground()
{
    background_ = MakePicture(QStringLiteral("background_picture"), MainBackgroundPicture(), {0, 0}, this);
    background_->setFocusPolicy(Qt::StrongFocus);
    // The focus rests on the background between commands: a screen reader
    // names the window there and lists the keys.
    background_->setAccessibleName(windowTitle());
    background_->setAccessibleDescription(
        QStringLiteral("F5 起卦，F6 输入，F7 记录，F8 八卦，F9 打印，F10 日历，F1 帮助，F4 设置，F11 最小化，F12 退出"));
}

void MainWindow::BuildHeader()
{
    titleBarHandle_ = MakeTextLabel(QStringLiteral("title_bar_handle"), {}, QRect(250, 4, 300, 36), font(),
                                    ArtPalette::WindowInk, this);

    using namespace MainLayout;
    minimisePicture_ = MakePicture(QStringLiteral("minimise_picture"),
                                   WindowButtonPicture(WindowButtonKind::Minimise, true), {Width - Border - 52, 11}, this);
    minimisePicture_->setToolTip(QStringLiteral("最小化窗口 F11"));
    closePicture_ = MakePicture(QStringLiteral("close_picture"), WindowButtonPicture(WindowButtonKind::Close, true),
                                {Width - Border - 26, 11}, this);
    closePicture_->setToolTip(QStringLiteral("关闭程序 F12"));
    for (PictureLabel *picture : {minimisePicture_, closePicture_})
        picture->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(minimisePicture_, CommandRole::Button, QStringLiteral("最小化窗口"), QStringLiteral("F11"));
    MakeKeyboardCommand(closePicture_, CommandRole::Button, QStringLiteral("关闭程序"), QStringLiteral("F12"));
}

void MainWindow::BuildBanner()
{
    const QString tip = QStringLiteral("《周易》名言录");
    saying_ = new SayingLabel(QStringLiteral("saying_label"), this);
    saying_->setGeometry(42, 44, 470, 38);
    saying_->setFont(SerifFont(SayingFontSize));
    SetTextColour(saying_, ArtPalette::WindowInk);
    sayingSource_ = MakeClickableLabel(QStringLiteral("saying_source_label"), {}, QRect(512, 60, 88, 22), SerifFont(13),
                                       ArtPalette::Caption, this);
    sayingSource_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (ClickableLabel *label : std::initializer_list<ClickableLabel *>{saying_, sayingSource_})
        label->setToolTip(tip);
}

void MainWindow::BuildIdlePictures()
{
    wheelPicture_ = MakePicture(QStringLiteral("trigram_wheel_picture"), TrigramWheelPicture(),
                                {42, MainLayout::TrigramWheelTop}, this);
    scrollPicture_ = MakePicture(QStringLiteral("landscape_scroll_picture"), LandscapeScrollPicture(),
                                 {250, MainLayout::LandscapeScrollTop}, this);
    sealPicture_ = MakePicture(QStringLiteral("seal_picture"), SealPicture(), {558, 250}, this);
    sealPicture_->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(sealPicture_, CommandRole::Link, QStringLiteral("打开本软件主页"), QStringLiteral("F2"));
}

void MainWindow::BuildCastFrames()
{
    struct FrameRow {
        HexagramFrame &parts;
        // The first word of the frame's control names.
        const char16_t *side;
        const char16_t *caption;
        QRect geometry;
        const char16_t *designName;
        const char16_t *designLines;
        const char16_t *textTip;
        bool mirrored;
    };
    const std::array<FrameRow, 2> frames{{
        {primary_, u"primary", u"本卦", PrimaryFrameGeometry, u"乾", u"111111", u"查看译文(按键\"1\")", false},
        {resulting_, u"resulting", u"之卦", ResultingFrameGeometry, u"坤", u"000000", u"查看译文(按键\"2\")", true},
    }};

    for (const FrameRow &row : frames) {
        const QString side = QString::fromUtf16(row.side);
        const auto named = [&side](const char *part) {
            return QStringLiteral("%1_hexagram_%2").arg(side, QString::fromLatin1(part));
        };
        HexagramFrame &parts = row.parts;
        parts.frame = new QGroupBox(QString::fromUtf16(row.caption), this);
        parts.frame->setObjectName(named("frame"));
        parts.frame->setGeometry(row.geometry);
        parts.frame->setStyleSheet(FrameStyle);
        parts.frame->setFont(SerifFont(14, QFont::Bold));
        parts.frame->setAccessibleName(QString::fromUtf16(row.caption));

        const int width = row.geometry.width();
        parts.handle = MakeTextLabel(named("handle"), {}, QRect(0, 0, width, 116), font(), ArtPalette::WindowInk,
                                 parts.frame);
        const Qt::Alignment edge = row.mirrored ? Qt::AlignRight : Qt::AlignLeft;
        const QRect nameBox = row.mirrored ? QRect(width - 148, 20, 130, 62) : QRect(18, 20, 130, 62);
        parts.nameShadow = MakeTextLabel(named("name_shadow"), QString::fromUtf16(row.designName),
                                     nameBox.translated(2, 2), SerifFont(46, QFont::Bold), Qt::black, parts.frame);
        parts.name = MakeTextLabel(named("name_label"), QString::fromUtf16(row.designName), nameBox,
                               SerifFont(46, QFont::Bold), ArtPalette::NameGrey, parts.frame);
        parts.nameShadow->setAlignment(edge | Qt::AlignVCenter);
        parts.name->setAlignment(edge | Qt::AlignVCenter);

        const QRect badgeBox = row.mirrored ? QRect(width - 46, 88, 26, 26) : QRect(20, 88, 26, 26);
        parts.number = MakeTextLabel(named("number_label"), {}, badgeBox, SansFont(13, QFont::Bold),
                                 Qt::white, parts.frame);
        parts.number->setAlignment(Qt::AlignCenter);
        parts.number->setStyleSheet(NumberBadgeStyle);
        const QRect linesBox = row.mirrored ? QRect(width - 156, 90, 104, 22) : QRect(52, 90, 104, 22);
        parts.lines = MakeTextLabel(named("lines_label"), QString::fromUtf16(row.designLines), linesBox,
                                SansFont(13), ArtPalette::Caption, parts.frame);
        parts.lines->setAlignment(edge | Qt::AlignVCenter);

        parts.text = new HexagramTextBox(named("text"), parts.frame);
        parts.text->setGeometry(10, 122, width - 20, 80);
        parts.text->setToolTip(QString::fromUtf16(row.textTip));
        parts.text->setAccessibleName(QString::fromUtf16(row.caption) + QStringLiteral("卦辞"));
        parts.text->setAccessibleDescription(parts.text->toolTip());
        parts.text->setStyleSheet(TextBoxStyle);

        const int lineLeft = row.mirrored ? ResultingLineLeft : PrimaryLineLeft;
        const QStringView designLines(row.designLines);
        for (int line = 1; line <= 6; ++line) {
            const QString name = QStringLiteral("%1_line_%2_picture").arg(side).arg(line);
            parts.linePictures[line - 1] = MakePicture(name, LinePicture(designLines.mid(line - 1, 1)),
                                                       {lineLeft, LinePictureTop(line)}, parts.frame);
        }
    }

    // The position names sit between the two frames, level with the lines.
    const int column = PrimaryFrameGeometry.right() + 1;
    const int columnWidth = ResultingFrameGeometry.left() - column;
    for (int line = 1; line <= 6; ++line) {
        const QRect box(column, PrimaryFrameGeometry.top() + LinePictureTop(line) - 7, columnWidth, 18);
        linePositions_[line - 1] = MakeTextLabel(QStringLiteral("line_position_%1_label").arg(line),
                                                 LinePositionName(line), box, SerifFont(13, QFont::Bold),
                                                 ArtPalette::Caption, this);
        linePositions_[line - 1]->setAlignment(Qt::AlignCenter);
    }
}

void MainWindow::BuildCastDetails()
{
    struct DetailRow {
        const char16_t *captionName;
        const char16_t *caption;
        const char16_t *valueName;
        QRect captionBox;
        QRect valueBox;
    };
    constexpr std::array<DetailRow, 3> rows{{
        {u"cast_time_caption", u"成卦时间：", u"cast_time_label", QRect(30, 260, 72, 18), QRect(102, 260, 238, 18)},
        {u"diviner_name_caption", u"姓名：", u"diviner_name_label", QRect(340, 260, 46, 18), QRect(386, 260, 226, 18)},
        {u"matter_caption", u"占筮事由：", u"matter_label", QRect(30, 280, 72, 18), QRect(102, 280, 510, 18)},
    }};
    for (int i = 0; i < int(rows.size()); ++i) {
        detailCaptions_[i] = MakeTextLabel(QString::fromUtf16(rows[i].captionName), QString::fromUtf16(rows[i].caption),
                                       rows[i].captionBox, SansFont(12, QFont::Bold), ArtPalette::Caption, this);
        detailValues_[i] = MakeTextLabel(QString::fromUtf16(rows[i].valueName), {}, rows[i].valueBox, SansFont(DetailFontSize),
                                     ArtPalette::WindowInk, this);
    }
    ruleLabel_ = MakeClickableLabel(QStringLiteral("changing_line_rule_label"), QStringLiteral("变爻推论规则"),
                                    QRect(30, 300, 582, 20), SerifFont(13, QFont::DemiBold), ArtPalette::Cinnabar, this);
    ruleLabel_->setToolTip(QStringLiteral("推论帮助"));
    ruleLabel_->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(ruleLabel_, CommandRole::Link, ruleLabel_->text(), ruleLabel_->toolTip());
}

void MainWindow::BuildCommandBar()
{
    using namespace MainLayout;
    std::array<PictureButton **, 8> buttons{&castButton_,     &manualEntryButton_, &recordsButton_,
                                            &trigramsButton_, &printButton_,       &calendarButton_,
                                            &helpButton_,     &optionsButton_};
    for (int i = 0; i < int(CommandButtonRows.size()); ++i) {
        const QPoint position(CommandBarLeft + i * (CommandButtonWidth + CommandButtonGap), CommandBarTop + 2);
        *buttons[i] = MakeCommandButton(CommandButtonRows[i], position, this);
    }
}

void MainWindow::BuildFooter()
{
    using namespace MainLayout;
    lunarLine_ = MakeClickableLabel(QStringLiteral("lunar_date_line"), {}, QRect(42, FooterRow1, 320, 20), SansFont(13),
                                    ToColour(CalendarColour::DefaultText), this);
    lunarLine_->setToolTip(QStringLiteral("双击查看农历日历 F10"));
    weekdayLine_ = MakeTextLabel(QStringLiteral("weekday_line"), {}, QRect(366, FooterRow1, 90, 20), SansFont(13),
                             ToColour(CalendarColour::DefaultText), this);
    clockLine_ = MakeTextLabel(QStringLiteral("clock_line"), {}, QRect(42, FooterRow2, 320, 20), SansFont(12),
                           ArtPalette::InkSoft, this);

    musicToggle_ = new MusicToggleBox(QStringLiteral("music_toggle"), this);
    musicToggle_->setText(QStringLiteral("背景音乐(M)"));
    musicToggle_->setToolTip(QStringLiteral("背景音乐开关 M"));
    musicToggle_->setStyleSheet(ToggleStyle);
    musicToggle_->setFont(SansFont(12));
    musicToggle_->setGeometry(500, FooterRow1, 112, 20);
    musicToggle_->setAccessibleDescription(QStringLiteral("M"));

    aboutLink_ = MakeClickableLabel(QStringLiteral("about_link"), QStringLiteral("关于本软件(A)"),
                                    QRect(500, FooterRow2, 112, 20), SansFont(12), ArtPalette::WindowInk, this);
    aboutLink_->setToolTip(QStringLiteral("关于本软件 F3"));
    aboutLink_->setCursor(Qt::PointingHandCursor);
    MakeKeyboardCommand(aboutLink_, CommandRole::Link, QStringLiteral("关于本软件"), QStringLiteral("F3"));
}

void MainWindow::BuildFestivalOverlay()
{
    festivalOverlay_ = std::make_unique<FestivalOverlay>(
        this, std::array<QWidget *, 4>{wheelPicture_, scrollPicture_, saying_, sayingSource_});
}

void MainWindow::ShowDecorations(const DateEvaluation &evaluation)
{
    festivalOverlay_->Apply(evaluation);
}

void MainWindow::BuildHiddenStores()
{
    struct WindowButtonStoreRow {
        const char *name;
        WindowButtonKind kind;
        bool enabled;
    };
    // In the order the child-window guard takes them.
    constexpr std::array<WindowButtonStoreRow, 4> windowButtons{{
        {"minimise_enabled_store", WindowButtonKind::Minimise, true},
        {"minimise_disabled_store", WindowButtonKind::Minimise, false},
        {"close_enabled_store", WindowButtonKind::Close, true},
        {"close_disabled_store", WindowButtonKind::Close, false},
    }};
    for (int i = 0; i < int(windowButtons.size()); ++i) {
        const WindowButtonStoreRow &row = windowButtons[i];
        windowButtonStore_[i] = MakePicture(QString::fromLatin1(row.name), WindowButtonPicture(row.kind, row.enabled),
                                            {}, this);
        windowButtonStore_[i]->hide();
    }
    guard_ = new ChildWindowGuard(minimisePicture_, closePicture_, windowButtonStore_, this);

    struct LinePictureStoreRow {
        const char16_t *code;
        const char *name;
    };
    constexpr std::array<LinePictureStoreRow, 4> lineStores{{
        {u"0", "yin_line_store"},
        {u"00", "changing_yin_line_store"},
        {u"1", "yang_line_store"},
        {u"11", "changing_yang_line_store"},
    }};
    for (int i = 0; i < int(lineStores.size()); ++i) {
        const QString code = QString::fromUtf16(lineStores[i].code);
        PictureLabel *store = MakePicture(QString::fromLatin1(lineStores[i].name), LinePicture(code), {}, this);
        store->hide();
        linePictureStore_[i] = {code, store};
    }

    auto *guardStart = new QPushButton(this);
    guardStart->setObjectName(QStringLiteral("guard_start_button"));
    guardStart->hide();
    connect(guardStart, &QPushButton::clicked, guard_, &ChildWindowGuard::Begin);
    auto *resetView = new QPushButton(this);
    resetView->setObjectName(QStringLiteral("reset_view_button"));
    resetView->hide();
    connect(resetView, &QPushButton::clicked, this, &MainWindow::ResetToIdleView);
}

void MainWindow::BuildTimers()
{
    struct TimerRow {
        QTimer &timer;
        const char *name;
        int intervalMs;
        bool singleShot;
    };
    const std::array<TimerRow, 5> timers{{
        {clockTimer_, "clock_timer", services_.clockIntervalMs, false},
        {reshowTimer_, "reshow_timer", ReshowDelayMs, true},
        {dayChangeTimer_, "day_change_timer", DayChangeDelayMs, true},
        {todaysTipsTimer_, "todays_tips_timer", TodaysTipsDelayMs, true},
        {calendarGridTimer_, "calendar_grid_timer", CalendarGridDelayMs, true},
    }};
    for (const TimerRow &row : timers) {
        row.timer.setParent(this);
        row.timer.setObjectName(QString::fromLatin1(row.name));
        row.timer.setInterval(row.intervalMs);
        row.timer.setSingleShot(row.singleShot);
    }
    connect(&clockTimer_, &QTimer::timeout, this, &MainWindow::ClockTick);
    connect(&reshowTimer_, &QTimer::timeout, this, &MainWindow::ShowAgain);
    connect(&dayChangeTimer_, &QTimer::timeout, this, &MainWindow::DayChangeStep);
    connect(&todaysTipsTimer_, &QTimer::timeout, this, &MainWindow::TodaysTipsDue);
    connect(&calendarGridTimer_, &QTimer::timeout, this, &MainWindow::CalendarGridDue);
}

void MainWindow::BuildKeyTable()
{
    const auto always = [] { return true; };
    const auto usable = [this](QWidget *control) {
        return [this, control] { return control->isVisibleTo(this) && control->isEnabled(); };
    };
    const auto enabled = [](QWidget *control) { return [control] { return control->isEnabled(); }; };
    const auto shown = [this](QWidget *control) { return [this, control] { return control->isVisibleTo(this); }; };
    keyTable_ = {
        {Qt::Key_F1, always, [this] { OpenHelp(); }},
        {Qt::Key_F2, always, [this] { OpenWebPageWithClick(); }},
        {Qt::Key_L, always, [this] { OpenWebPageWithClick(); }},
        {Qt::Key_F3, always, [this] { OpenAbout(); }},
        {Qt::Key_A, always, [this] { OpenAbout(); }},
        {Qt::Key_F4, usable(optionsButton_), [this] { emit OptionsRequested(); }},
        {Qt::Key_F5, usable(castButton_), [this] { emit CastRequested(); }},
        {Qt::Key_F6, usable(manualEntryButton_), ClickThen(&MainWindow::ManualEntryRequested)},
        {Qt::Key_F7, usable(recordsButton_), ClickThen(&MainWindow::RecordsRequested)},
        {Qt::Key_F8, usable(trigramsButton_), ClickThen(&MainWindow::TrigramsRequested)},
        {Qt::Key_F9, usable(printButton_), [this] { emit PrintRequested(); }},
        {Qt::Key_F10, usable(calendarButton_), ClickThen(&MainWindow::CalendarRequested)},
        {Qt::Key_F11, enabled(minimisePicture_), [this] { showMinimized(); }},
        {Qt::Key_F12, enabled(closePicture_), [this] { ConfirmExit(); }},
        {Qt::Key_M, enabled(musicToggle_), [this] { ToggleMusic(); }},
        {Qt::Key_Y, [this] { return saying_->isVisibleTo(this) && sayingSource_->isVisibleTo(this); },
         [this] { PickQuote(); }},
        {Qt::Key_1, shown(primary_.frame), [this] { emit TranslationRequested(1); }},
        {Qt::Key_2, shown(resulting_.frame), [this] { emit TranslationRequested(2); }},
    };
}

void MainWindow::ConnectMouse()
{
    connect(castButton_, &QAbstractButton::clicked, this, &MainWindow::CastRequested);
    connect(manualEntryButton_, &QAbstractButton::clicked, this, ClickThen(&MainWindow::ManualEntryRequested));
    connect(recordsButton_, &QAbstractButton::clicked, this, ClickThen(&MainWindow::RecordsRequested));
    connect(trigramsButton_, &QAbstractButton::clicked, this, ClickThen(&MainWindow::TrigramsRequested));
    connect(printButton_, &QAbstractButton::clicked, this, &MainWindow::PrintRequested);
    connect(calendarButton_, &QAbstractButton::clicked, this, ClickThen(&MainWindow::CalendarRequested));
    connect(lunarLine_, &ClickableLabel::DoubleClicked, this, ClickThen(&MainWindow::CalendarRequested));
    connect(optionsButton_, &QAbstractButton::clicked, this, &MainWindow::OptionsRequested);
    // The help button sounds on its press and opens the help on its release.
    connect(helpButton_, &QAbstractButton::pressed, this, &MainWindow::PlayClick);
    connect(helpButton_, &QAbstractButton::released, this, &MainWindow::OpenHelp);

    connect(sealPicture_, &PictureLabel::Clicked, this, &MainWindow::OpenWebPageWithClick);
    connect(aboutLink_, &ClickableLabel::Clicked, this, &MainWindow::OpenAboutByLink);
    connect(minimisePicture_, &PictureLabel::Clicked, this, &QWidget::showMinimized);
    connect(closePicture_, &PictureLabel::Clicked, this, &MainWindow::ConfirmExit);
    connect(musicToggle_, &QAbstractButton::clicked, this, &MainWindow::ToggleMusic);
    connect(saying_, &ClickableLabel::DoubleClicked, this, &MainWindow::PickQuote);
    connect(sayingSource_, &ClickableLabel::DoubleClicked, this, &MainWindow::PickQuote);
    connect(primary_.text, &HexagramTextBox::Clicked, this, [this] { emit TranslationRequested(1); });
    connect(resulting_.text, &HexagramTextBox::Clicked, this, [this] { emit TranslationRequested(2); });
    connect(ruleLabel_, &ClickableLabel::Clicked, this, [this] { emit RuleHelpRequested(ruleLabel_->text()); });
}

void MainWindow::MakeDragHandles()
{
    drag_ = new WindowDrag(this);
    for (QWidget *handle : std::initializer_list<QWidget *>{background_, clockLine_, titleBarHandle_, primary_.handle,
                                                            resulting_.handle, lunarLine_, weekdayLine_, saying_,
                                                            sayingSource_})
        drag_->AddHandle(handle);
    for (QWidget *handle : festivalOverlay_->DragHandles())
        drag_->AddHandle(handle);
}

// Tab goes through the window in reading order: the title band, the cast
// (or the seal of the idle view), the command bar, the footer.
void MainWindow::SetTabOrder()
{
    const std::initializer_list<QWidget *> order{
        background_,     minimisePicture_, closePicture_,  primary_.text, resulting_.text, ruleLabel_,
        sealPicture_,    castButton_,      manualEntryButton_, recordsButton_, trigramsButton_, printButton_,
        calendarButton_, helpButton_,      optionsButton_, musicToggle_,  aboutLink_};
    for (auto previous = order.begin(), next = previous + 1; next != order.end(); ++previous, ++next)
        setTabOrder(*previous, *next);
}

void MainWindow::WatchKeys()
{
    WatchKeysOnWindowAndChildren(*this, *this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            return false;
        const int pressed = UnshiftedKey(key->key());
        for (const KeyCommand &command : keyTable_) {
            if (command.key != pressed)
                continue;
            if (command.allowed())
                command.run();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::ShowAgain()
{
    // A minimise leaves Qt's X11 layer with the "start iconic" hint, which it
    // keeps after the window manager restores the window, so every show
    // would map the window minimised again. Passing the hidden window through
    // the minimised state makes the platform write its hints afresh; a
    // window manager ignores a minimise of a window it does not show, while
    // a passing maximise is kept (Weston maps the window maximised).
    if (QWindow *handle = windowHandle(); handle && !isVisible()) {
        TellPlaceBeforeRemap(*this);
        handle->setWindowStates(Qt::WindowMinimized);
        handle->setWindowStates(Qt::WindowNoState);
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    background_->setFocus();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The system's close command ends the program without a question; the
    // window stays on screen until the exit sequence has saved the settings.
    event->ignore();
    emit ExitRequested();
}

void MainWindow::AttachMusic(MusicControl *music)
{
    music_ = music;
    ShowMusicToggle(music->Toggle());
}

void MainWindow::Load(const std::function<void()> &closeSplash)
{
    SetTextColour(aboutLink_, ArtPalette::LinkLavender);
    PickQuote();
    PlaceIdlePictures(ShowsQuotes(settings_));
    SetBannerVisible(ShowsQuotes(settings_));
    closeSplash();
    ShapeWindowOrWarn(*this, background_->Picture().toImage(), *services_.dialogs);

    today_ = services_.now().date();
    selectedDate_ = today_;
    EvaluateSelectedDay();

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    clockTimer_.start();
    ClockTick();
}

void MainWindow::PlayClick()
{
    services_.effects->PlayEffect(ClickSoundPath(services_.programFolder));
}

std::function<void()> MainWindow::ClickThen(void (MainWindow::*signal)())
{
    return [this, signal] {
        PlayClick();
        emit(this->*signal)();
    };
}

void MainWindow::PickQuote()
{
    PlayClick();
    const QuoteRow &row = ::PickQuote(services_.random());
    const QString saying = QString::fromUtf16(row.saying);
    saying_->setFont(SerifFont(saying_->FittingPixelSize(saying, SayingFontSize, SmallestSayingSize)));
    saying_->setText(saying);
    sayingSource_->setText(QString::fromUtf16(row.source));
}

void MainWindow::PlaceIdlePictures(bool bannerShown)
{
    const int drop = bannerShown ? 0 : MainLayout::BannerHeight;
    wheelPicture_->move(wheelPicture_->x(), MainLayout::TrigramWheelTop + drop);
    scrollPicture_->move(scrollPicture_->x(), MainLayout::LandscapeScrollTop + drop);
}

void MainWindow::SetBannerVisible(bool visible)
{
    saying_->setVisible(visible);
    sayingSource_->setVisible(visible);
}

void MainWindow::OpenHelp()
{
    services_.openHelp(this);
}

void MainWindow::OpenWebPageWithClick()
{
    PlayClick();
    services_.openWebPage();
}

void MainWindow::OpenAbout()
{
    AboutWindow about(*services_.aboutPlayer, services_.programFolder, services_.openWebPage, this);
    about.exec();
    guard_->EndSoon();
}

void MainWindow::OpenAboutByLink()
{
    PlayClick();
    services_.effectPlayer->Stop();
    services_.effectPlayer->Close();
    guard_->Begin();
    OpenAbout();
}

void MainWindow::ConfirmExit()
{
    if (services_.dialogs->AskYesNo(this, QStringLiteral("确定要退出程序吗?"), QStringLiteral("《Ravezaz》系统"),
                                    false))
        emit ExitRequested();
}

void MainWindow::ToggleMusic()
{
    if (music_)
        music_->ToggleByUser();
}

void MainWindow::ClockTick()
{
    const QDateTime now = services_.now();
    if (!calendarWindowOpen_)
        clockLine_->setText(QStringLiteral("现在时间:") + GeneralDateTimeText(now));
    if (now.date() == today_)
        return;
    today_ = now.date();
    emit TodaysTipsCloseRequested();
    if (calendarWindowOpen_) {
        emit CalendarCloseRequested();
        return;
    }
    selectedDate_ = today_;
    dayChangeTimer_.start();
}

void MainWindow::SelectDate(QDate date)
{
    selectedDate_ = date;
    dayChangeTimer_.start();
}

void MainWindow::ShowClockText(const QString &text)
{
    clockLine_->setText(text);
}

void MainWindow::DayChangeStep()
{
    services_.effectPlayer->Stop();
    services_.effectPlayer->Close();
    ResetToIdleView();
    if (music_)
        music_->BeginDayChange();
    EvaluateSelectedDay();
}

void MainWindow::EvaluateSelectedDay()
{
    ApplyEvaluation(EvaluateSelectedDate(selectedDate_, today_, AllowsTodayTips(settings_)));
}

void MainWindow::ApplyEvaluation(const DateEvaluation &evaluation)
{
    lunarLine_->setText(evaluation.lunarLineText);
    SetTextColour(lunarLine_, ToColour(evaluation.lunarLineColour));
    weekdayLine_->setText(evaluation.weekdayText);
    SetTextColour(weekdayLine_, ToColour(evaluation.weekdayColour));

    tunes_.gregorian = evaluation.gregorianMusicName;
    tunes_.lunar = evaluation.lunarMusicName;
    for (FestivalSound sound : evaluation.sounds)
        services_.effectPlayer->Open(services_.programFolder + FestivalSoundFile(sound));
    if (!evaluation.sounds.isEmpty())
        services_.effectPlayer->Play();

    emit DateEvaluated(evaluation);
    if (music_)
        music_->ApplyDayMusic();
    if (evaluation.todayTipsDue) {
        emit OptionsCloseRequested();
        todaysTipsTimer_.start();
    }
}

void MainWindow::ResetToIdleView()
{
    festivalOverlay_->HideAll();

    wheelPicture_->show();
    scrollPicture_->show();
    sealPicture_->show();
    HideCastView();

    if (ShowsQuotes(settings_))
        SetBannerVisible(true);

    for (PictureButton *button : {castButton_, recordsButton_, manualEntryButton_, optionsButton_})
        button->setEnabled(true);
}

void MainWindow::HideCastView()
{
    primary_.frame->hide();
    resulting_.frame->hide();
    for (QLabel *label : linePositions_)
        label->hide();
    for (int i = 0; i < 3; ++i) {
        detailCaptions_[i]->hide();
        detailValues_[i]->hide();
    }
    ruleLabel_->hide();
    printButton_->setEnabled(false);
}

void MainWindow::ShowQuotesBanner(bool shown)
{
    SetBannerVisible(shown);
    PlaceIdlePictures(shown);
    if (!shown)
        return;
    for (QWidget *picture : std::initializer_list<QWidget *>{wheelPicture_, scrollPicture_, sealPicture_})
        picture->show();
    HideCastView();
}

ShownCast MainWindow::ShownCastView() const
{
    const auto copy = [this](const HexagramView &view) {
        // The text as its box shows it: one line feed per line.
        QString text = view.text;
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        ShownHexagram hexagram{view.number, view.name, view.lines, text, {}};
        for (int line = 0; line < LinesPerHexagram; ++line) {
            if (const PictureLabel *store = LinePictureStore(view.pictures[line]))
                hexagram.pictures[line] = store->Picture();
        }
        return hexagram;
    };
    ShownCast shown;
    shown.divinerName = shownCast_.divinerName;
    shown.castTime = shownCast_.castTime;
    shown.matterText = shownCast_.matterText;
    shown.primary = copy(shownCast_.primary);
    shown.resulting = copy(shownCast_.resulting);
    shown.resultingShown = shownCast_.resultingShown;
    for (int line = 1; line <= LinesPerHexagram; ++line)
        shown.linePositions[line - 1] = LinePositionName(line);
    shown.ruleText = shownCast_.ruleText;
    return shown;
}

void MainWindow::SetPrintEnabled(bool enabled)
{
    printButton_->setEnabled(enabled);
}

MusicToggle MainWindow::ShownMusicToggle() const
{
    return {musicToggle_->Value(), musicToggle_->text(), musicToggle_->toolTip()};
}

void MainWindow::EnableMusicToggle()
{
    musicToggle_->setEnabled(true);
}

void MainWindow::ShowHexagram(const HexagramFrame &frame, const HexagramView &hexagram)
{
    frame.nameShadow->setText(hexagram.name);
    frame.name->setText(hexagram.name);
    frame.number->setText(hexagram.number);
    frame.lines->setText(hexagram.lines);
    frame.text->setPlainText(hexagram.text);
    for (int line = 0; line < LinesPerHexagram; ++line) {
        // A code without a picture leaves the line empty rather than showing
        // the line of an earlier cast.
        const PictureLabel *store = LinePictureStore(hexagram.pictures[line]);
        frame.linePictures[line]->SetPicture(store ? store->Picture() : QPixmap());
    }
}

const PictureLabel *MainWindow::LinePictureStore(const QString &code) const
{
    for (const auto &[storedCode, store] : linePictureStore_) {
        if (storedCode == code)
            return store;
    }
    return nullptr;
}

void MainWindow::PrepareForNewCast()
{
    for (QWidget *part : std::initializer_list<QWidget *>{saying_, sayingSource_, wheelPicture_, scrollPicture_,
                                                          sealPicture_, resulting_.frame})
        part->hide();
    printButton_->setEnabled(true);
}

void MainWindow::ShowCastLine(int line, const QString &primaryCode, const QString &resultingCode)
{
    for (const auto &[frame, code] : {std::pair{&primary_, primaryCode}, std::pair{&resulting_, resultingCode}}) {
        // A line being cast keeps its place empty until its code has a picture.
        if (const PictureLabel *store = LinePictureStore(code))
            frame->linePictures[line - 1]->SetPicture(store->Picture());
    }
}

void MainWindow::ShowCastView(const CastResolution &cast)
{
    // The festival decorations sit where the cast frames go; a cast on a
    // festival day would otherwise be hidden behind them.
    festivalOverlay_->HideAll();
    SetBannerVisible(false);
    wheelPicture_->hide();
    scrollPicture_->hide();
    sealPicture_->hide();

    shownCast_ = cast;
    ShowHexagram(primary_, cast.primary);
    ShowHexagram(resulting_, cast.resulting);
    ruleLabel_->setText(cast.ruleText);
    ruleLabel_->setAccessibleName(cast.ruleText);
    primary_.frame->setAccessibleName(SpokenHexagram(primary_.frame->title(), cast.primary, true));
    resulting_.frame->setAccessibleName(SpokenHexagram(resulting_.frame->title(), cast.resulting, false));
    for (QGroupBox *frame : {primary_.frame, resulting_.frame})
        frame->setAccessibleDescription(SpokenCastDetails(cast));
    for (int i = 0; const QString &value : {cast.castTime, cast.divinerName, cast.matterText})
        SetFittingText(detailValues_[i++], value, DetailFontSize);

    primary_.frame->show();
    resulting_.frame->setVisible(cast.resultingShown);
    ruleLabel_->show();
    for (QLabel *label : linePositions_)
        label->show();
    for (int i = 0; i < 3; ++i) {
        detailCaptions_[i]->show();
        detailValues_[i]->show();
    }
    printButton_->setEnabled(true);
}

void MainWindow::RunHiddenChild(QDialog &child)
{
    hide();
    child.exec();
    reshowTimer_.start();
}

void MainWindow::RunGuardedChild(QDialog &child)
{
    guard_->Begin();
    child.exec();
    guard_->EndSoon();
}

void MainWindow::ShowMusicMessage(const QString &text)
{
    services_.dialogs->ShowMessage(this, text, ProgramTitle(), DialogService::Icon::None);
}

void MainWindow::ShowMusicToggle(const MusicToggle &toggle)
{
    musicToggle_->SetValue(toggle.value);
    musicToggle_->setText(toggle.caption);
    musicToggle_->setToolTip(toggle.tooltip);
}
