#include "ui/windows/casting_window.h"

#include "fileformat/quoted_fields.h"
#include "records/divination_record.h"
#include "records/record_file.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "ui/art/casting_art.h"
#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/widgets/escape_key.h"
#include "ui/widgets/field_limit_note.h"
#include "ui/widgets/key_release_watch.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/opening_click_guard.h"
#include "ui/widgets/picture_button.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/text_start_in_view.h"
#include "ui/widgets/window_drag.h"
#include "ui/widgets/window_placement.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/dialog_service.h"

#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

const QColor ChangingLineColour(Qt::red);

const QString PlateStyle = QStringLiteral(
    "QLabel { background: rgba(250, 243, 224, 225); border: 1px solid rgba(120, 80, 30, 150);"
    " border-radius: 5px; }");

const QString FieldStyle = QStringLiteral(
    "QLineEdit { background: #fffaf0; border: 1px solid #b08850; border-radius: 3px; padding: 0 3px;"
    " color: #2a1c14; }"
    "QLineEdit:disabled { background: #efe4cc; color: #5a4632; }");

const QString CommandStyle = QStringLiteral(
    "QPushButton { color: #f6e3a4; border: 1px solid #d4a437; border-radius: 6px; padding: 0 8px;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b0362a, stop:1 #74150f); }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c8463a, stop:1 #8a1d15); }"
    "QPushButton:pressed { background: #5e1010; }"
    "QPushButton:focus { border: 2px solid #f4d985; }"
    "QPushButton:disabled { color: #c9a98a; border-color: #a07a50;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #9a6a5a, stop:1 #7a5040); }");

// A keypad key with Shift, Ctrl or Alt held: how the speed keys are typed.
bool IsKeypadWithModifier(Qt::KeyboardModifiers modifiers)
{
    return modifiers.testFlag(Qt::KeypadModifier) &&
           (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
}

// The stalk counters are figures in a heavy Latin face; where "Arial Black"
// is missing the bold DejaVu Sans stands in.
QFont CounterFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Black);
    return font;
}

QLabel *MakeLabel(const QString &name, const QString &text, const QRect &geometry, const QFont &font,
                  const QColor &colour, Qt::Alignment alignment, QWidget *parent)
{
    QLabel *label = MakeTextLabel(name, text, geometry, font, colour, parent);
    label->setAlignment(alignment);
    return label;
}

QPushButton *MakeCommand(const QString &name, const QString &caption, const QRect &geometry, QWidget *parent)
{
    auto *command = new QPushButton(caption, parent);
    command->setObjectName(name);
    command->setGeometry(geometry);
    command->setFont(SansFont(14, QFont::Bold));
    command->setStyleSheet(CommandStyle);
    command->setCursor(Qt::PointingHandCursor);
    // Enter presses a command only when the command has the focus, never
    // from a field (see the event filter).
    command->setAutoDefault(false);
    return command;
}

// `picture` washed over with `tint` where it is not transparent.
QPixmap Tinted(const QImage &picture, const QColor &tint, qreal opacity)
{
    QImage tinted = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&tinted);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.setOpacity(opacity);
    painter.fillRect(tinted.rect(), tint);
    return QPixmap::fromImage(tinted);
}

// A round picture command: the picture, lighter under the mouse, darker when
// pressed, faded when disabled.
PictureButton *MakeRoundCommand(const QString &name, const QImage &picture, QPoint position, QWidget *parent)
{
    const PictureButton::Pictures pictures{QPixmap::fromImage(picture), Tinted(picture, Qt::white, 0.25),
                                           Tinted(picture, Qt::black, 0.3), Tinted(picture, Qt::gray, 0.6)};
    auto *command = new PictureButton(name, pictures, parent);
    command->move(position);
    return command;
}

// The hidden lamp pictures, in the order of LampIndex.
struct LampStore {
    LampColour colour;
    const char *name;
};
const std::array<LampStore, 4> LampStores{{
    {LampColour::Grey, "grey_lamp_picture"},
    {LampColour::Yellow, "yellow_lamp_picture"},
    {LampColour::Red, "red_lamp_picture"},
    {LampColour::Green, "green_lamp_picture"},
}};

int LampIndex(StatusLamp lamp)
{
    switch (lamp) {
    case StatusLamp::Grey:
        return 0;
    case StatusLamp::Yellow:
        return 1;
    case StatusLamp::Red:
        return 2;
    case StatusLamp::Green:
        return 3;
    }
    return 0;
}

QString ProgressBar(int finishedChanges)
{
    return QString(finishedChanges, QChar(u'■'));
}

} // namespace

CastingWindow::CastingWindow(const CastingWindowServices &services, Settings &settings, CastResult &castInHand,
                             CastDisplay &display, QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint)
    , services_(services)
    , settings_(settings)
    , castInHand_(castInHand)
    , display_(display)
{
    setObjectName(QStringLiteral("casting_window"));
    setWindowTitle(QStringLiteral("推演卦体"));
    setModal(true);
    setFont(SansFont(13));

    BuildBackground();
    BuildTray();
    BuildEntryPanel();
    BuildValuePanel();
    BuildQuotePanel();
    BuildCommands();
    BuildKeyTable();
    BuildTimers();
    clock_.start();

    PlaySound(QStringLiteral("/wav/open.wav"));
    engine_ = new CastingEngine(settings_.divinerName, services_.random, services_.now, this);
    ConnectEngine();
    // A stored speed beyond five is shown and used as five; one below one as one.
    speedBar_->setText(SpeedBar(std::max(settings_.castingSpeed, SlowestCastingSpeed)));
    ApplySpeed();
    setFixedSize(CastingBackgroundWidth, CastingBackgroundHeight);
    CentreOverOwner(*this, parent);
    IgnoreTheOpeningDoubleClick(*this);
    ShapeWindowOrWarn(*this, CastingBackgroundPicture(), *services_.dialogs);

    connect(&phaseTimer_, &QTimer::timeout, this, &CastingWindow::AdvancePhase);
    connect(&animationTimer_, &QTimer::timeout, this, &CastingWindow::NextAnimationFrame);
    connect(&exitTimer_, &QTimer::timeout, this, &CastingWindow::ExitCountdownTick);
    CloseOnEscape(*this, [this] { reject(); });
    // The first step is typing the name.
    nameField_->setFocus();
}

CastingWindow::~CastingWindow() = default;

void CastingWindow::BuildBackground()
{
    background_ = MakePicture(QStringLiteral("background_picture"), CastingBackgroundPicture(), {0, 0}, this);
    const CastingLayout &layout = CastingBackgroundLayout();
    banner_ = MakePicture(QStringLiteral("banner_picture"), CastingBannerPicture(), layout.banner.topLeft(), this);
    drag_ = new WindowDrag(this);
}

void CastingWindow::BuildTray()
{
    const QRect tray = CastingBackgroundLayout().tray;
    // A caption-less label over the mat, so the whole tray drags the window.
    trayHandle_ = MakeLabel(QStringLiteral("tray_handle"), {}, tray, font(), ArtPalette::Ink, Qt::AlignCenter, this);

    for (int i = 0; i < int(LampStores.size()); ++i) {
        lampStore_[i] = MakePicture(QString::fromLatin1(LampStores[i].name), LampPicture(LampStores[i].colour), {},
                                    this);
        lampStore_[i]->hide();
    }
    const std::vector<QImage> frames = StalkAnimationFrames();
    for (int i = 0; i < int(frames.size()); ++i) {
        frameStore_[i] = MakePicture(QStringLiteral("stalk_frame_%1").arg(i + 1), frames[i], {}, this);
        frameStore_[i]->hide();
    }

    const int left = tray.left() + 16;
    lamp_ = MakePicture(QStringLiteral("lamp"), LampPicture(LampColour::Grey), {left, tray.top() + 13}, this);
    changeMessage_ = MakeLabel(QStringLiteral("change_message_label"), QStringLiteral("大衍之数"),
                               QRect(left + 22, tray.top() + 8, 216, 26), SansFont(15, QFont::Bold), ArtPalette::Ink,
                               Qt::AlignCenter, this);
    changeMessage_->setStyleSheet(PlateStyle);

    animation_ = MakePicture(QStringLiteral("stalk_animation"), frames.front(), {left, tray.top() + 44}, this);
    stalkCounter_ = MakeLabel(QStringLiteral("stalk_counter"), QStringLiteral("50"),
                              QRect(left + 88, tray.top() + 44, 150, StalkFrameSize), CounterFont(46),
                              ArtPalette::Heading, Qt::AlignCenter, this);
    stalkCounter_->setStyleSheet(PlateStyle);

    // Left heap, hung stalk, right heap, left to right.
    const std::array<const char *, 3> heapNames{"left_heap_counter", "hung_stalk_counter", "right_heap_counter"};
    for (int i = 0; i < int(heapNames.size()); ++i) {
        heapCounters_[i] = MakeLabel(QString::fromLatin1(heapNames[i]), QStringLiteral("0"),
                                     QRect(left + i * 82, tray.top() + 132, 74, 60), CounterFont(28), ArtPalette::Ink,
                                     Qt::AlignCenter, this);
        heapCounters_[i]->setStyleSheet(PlateStyle);
    }
}

void CastingWindow::BuildEntryPanel()
{
    const QRect panel = CastingBackgroundLayout().entryPanel;
    const int captionLeft = panel.left() + 8;
    const int fieldLeft = panel.left() + 78;
    const int fieldWidth = panel.right() - 8 - fieldLeft;
    const QFont captionFont = SansFont(13, QFont::Bold);

    MakeLabel(QStringLiteral("diviner_name_caption"), QStringLiteral("姓名"), QRect(captionLeft, panel.top() + 9, 66, 24),
              captionFont, ArtPalette::Caption, Qt::AlignRight | Qt::AlignVCenter, this);
    nameField_ = new QLineEdit(this);
    nameField_->setObjectName(QStringLiteral("diviner_name_field"));
    nameField_->setGeometry(fieldLeft, panel.top() + 9, fieldWidth, 24);
    nameField_->setMaxLength(NameFieldLength);
    nameField_->setAccessibleName(QStringLiteral("姓名"));

    MakeLabel(QStringLiteral("matter_caption"), QStringLiteral("所占何事"), QRect(captionLeft, panel.top() + 38, 66, 24),
              captionFont, ArtPalette::Caption, Qt::AlignRight | Qt::AlignVCenter, this);
    matterField_ = new QLineEdit(this);
    matterField_->setObjectName(QStringLiteral("matter_field"));
    matterField_->setGeometry(fieldLeft, panel.top() + 38, fieldWidth, 24);
    matterField_->setMaxLength(MatterFieldLength);
    matterField_->setAccessibleName(QStringLiteral("所占何事"));

    for (QLineEdit *field : {nameField_, matterField_}) {
        field->setFont(SansFont(13));
        field->setStyleSheet(FieldStyle);
        KeepTextStartInView(field);
        ShowLimitWhenFull(field);
    }

    const int speedTop = panel.top() + 67;
    MakeLabel(QStringLiteral("speed_caption"), QStringLiteral("推演速度"), QRect(captionLeft, speedTop, 66, 24),
              captionFont, ArtPalette::Caption, Qt::AlignRight | Qt::AlignVCenter, this);
    slowerCommand_ = MakeRoundCommand(QStringLiteral("slower_button"), SlowerButtonPicture(), {fieldLeft, speedTop + 1},
                                      this);
    speedBar_ = MakeLabel(QStringLiteral("speed_bar"), {}, QRect(fieldLeft + 28, speedTop, 96, 24), SansFont(16),
                          ArtPalette::Heading, Qt::AlignCenter, this);
    fasterCommand_ = MakeRoundCommand(QStringLiteral("faster_button"), FasterButtonPicture(),
                                      {fieldLeft + 128, speedTop + 1}, this);
    slowerCommand_->setText(QStringLiteral("-"));
    slowerCommand_->setToolTip(QStringLiteral("减慢速度(按Alt键和小键盘\"-\"键)"));
    fasterCommand_->setText(QStringLiteral("+"));
    fasterCommand_->setToolTip(QStringLiteral("加快速度(按Alt键和小键盘\"+\"键)"));
    slowerCommand_->setAccessibleName(QStringLiteral("减慢速度"));
    fasterCommand_->setAccessibleName(QStringLiteral("加快速度"));
    for (PictureButton *command : {slowerCommand_, fasterCommand_})
        command->setAccessibleDescription(command->toolTip());
    speedBar_->setAccessibleDescription(QStringLiteral("推演速度"));
}

void CastingWindow::BuildValuePanel()
{
    const QRect panel = CastingBackgroundLayout().valuePanel;
    const int captionLeft = panel.left() + 8;
    const int cellLeft = panel.left() + 54;
    const int cellWidth = (panel.right() - 6 - cellLeft) / LinesPerHexagram;
    const QFont captionFont = SansFont(13, QFont::Bold);

    struct ValueRow {
        const char *captionName;
        const char16_t *caption;
        const char *valueName; // the value of line N is named valueName + "_N"
        std::array<QLabel *, LinesPerHexagram> &labels;
        int top;
    };
    const std::array<ValueRow, 2> rows{{
        {"primary_values_caption", u"本卦:", "line_value", lineValues_, panel.top() + 8},
        {"resulting_values_caption", u"之卦:", "resulting_line_value", changedValues_, panel.top() + 32},
    }};
    for (const ValueRow &row : rows) {
        MakeLabel(QString::fromLatin1(row.captionName), QString::fromUtf16(row.caption),
                  QRect(captionLeft, row.top, 46, 22), captionFont, ArtPalette::Caption, Qt::AlignLeft | Qt::AlignVCenter,
                  this);
        for (int line = 1; line <= LinesPerHexagram; ++line) {
            row.labels[line - 1] = MakeLabel(QStringLiteral("%1_%2").arg(QLatin1String(row.valueName)).arg(line),
                                             LinePositionWord(line),
                                             QRect(cellLeft + (line - 1) * cellWidth, row.top, cellWidth - 2, 22),
                                             SansFont(13, QFont::Bold), ArtPalette::Ink, Qt::AlignCenter, this);
        }
    }

    const int statusTop = panel.top() + 58;
    changingLines_ = MakeLabel(QStringLiteral("changing_lines_label"), QStringLiteral("未有变爻"),
                               QRect(captionLeft, statusTop, 90, 20), SansFont(13, QFont::Bold), ArtPalette::Heading,
                               Qt::AlignLeft | Qt::AlignVCenter, this);
    changingLines_->hide();
    progressText_ = MakeLabel(QStringLiteral("progress_label"), QStringLiteral("推演进度"),
                              QRect(captionLeft + 92, statusTop, panel.right() - 8 - captionLeft - 92, 20),
                              SansFont(13), ArtPalette::Ink, Qt::AlignRight | Qt::AlignVCenter, this);
    progressBar_ = MakeLabel(QStringLiteral("progress_bar"), {},
                             QRect(captionLeft, statusTop + 22, panel.right() - 8 - captionLeft, 18), SansFont(12),
                             ArtPalette::Heading, Qt::AlignLeft | Qt::AlignVCenter, this);
    progressText_->hide();
    progressBar_->hide();
}

void CastingWindow::BuildQuotePanel()
{
    const QRect panel = CastingBackgroundLayout().quotePanel;
    auto *classic = MakeLabel(QStringLiteral("classic_quote"),
                              QStringLiteral("  大衍之数五十,其用四十有九。分而为二，以象两；挂一，以象三。揲之以四，"
                                             "以象四时。归奇于扐，以象闰；五岁再闰；故再扐而后挂。……四营而成易，"
                                             "十有八变而成卦。—《系辞传》"),
                              QRect(panel.left() + 14, panel.top() + 8, panel.width() - 28, 64), SerifFont(12),
                              ArtPalette::Ink, Qt::AlignLeft | Qt::AlignTop, this);
    classic->setWordWrap(true);
    MakeLabel(QStringLiteral("invocation_opening"), QStringLiteral("假尔泰筮有常…"),
              QRect(panel.left() + 14, panel.top() + 78, 170, 22), SerifFont(15, QFont::Bold), ArtPalette::Caption,
              Qt::AlignLeft | Qt::AlignVCenter, this);
    MakeLabel(QStringLiteral("invocation_closing"), QStringLiteral("…尚明告之…"),
              QRect(panel.left() + 44, panel.top() + 102, 170, 22), SerifFont(15, QFont::Bold), ArtPalette::Caption,
              Qt::AlignLeft | Qt::AlignVCenter, this);
}

void CastingWindow::BuildCommands()
{
    const CastingLayout &layout = CastingBackgroundLayout();
    const QRect panel = layout.quotePanel;
    const int top = panel.top() + 84;
    const QRect stepPlace(panel.right() - 14 - 130, top, 130, 34);

    stepCommand_ = MakeCommand(QStringLiteral("step_button"), QStringLiteral("推演初爻"), stepPlace, this);
    automaticCommand_ = MakeCommand(QStringLiteral("automatic_button"), QStringLiteral("自动推演 F5"),
                                    stepPlace.translated(-130, 0).adjusted(0, 0, -10, 0), this);
    finishCommand_ = MakeCommand(QStringLiteral("finish_button"), QStringLiteral("推演完成"), stepPlace, this);
    finishCommand_->setIcon(QPixmap::fromImage(CastingFinishButtonPicture()));
    finishCommand_->hide();
    finishCommand_->setEnabled(false);

    exitHint_ = MakeLabel(QStringLiteral("exit_hint"), QStringLiteral("点击推演完成按钮退出"),
                          QRect(stepPlace.left() - 200, top - 6, 190, 46), SansFont(13), ArtPalette::Ink,
                          Qt::AlignRight | Qt::AlignVCenter, this);
    exitHint_->hide();

    closeCommand_ = MakeRoundCommand(QStringLiteral("close_button"), CastingCloseButtonPicture(),
                                     layout.closeButton.topLeft(), this);
    closeCommand_->setAccessibleName(QStringLiteral("关闭"));
    closeCommand_->setAccessibleDescription(QStringLiteral("F12"));

    connect(stepCommand_, &QPushButton::clicked, this, &CastingWindow::Step);
    connect(automaticCommand_, &QPushButton::clicked, this, &CastingWindow::StartAutomatic);
    connect(finishCommand_, &QPushButton::clicked, this, &CastingWindow::Finish);
    connect(closeCommand_, &QAbstractButton::clicked, this, &CastingWindow::CloseWithoutCasting);
    connect(slowerCommand_, &QAbstractButton::clicked, this, [this] { ChangeSpeed(SlowerBar); });
    connect(fasterCommand_, &QAbstractButton::clicked, this, [this] { ChangeSpeed(FasterBar); });

    for (QWidget *handle : std::initializer_list<QWidget *>{background_, banner_, trayHandle_})
        drag_->AddHandle(handle);

    // Tab in reading order: the fields and the speed, then the commands
    // left to right, then the close command in the corner.
    const std::initializer_list<QWidget *> order{nameField_,        matterField_, slowerCommand_, fasterCommand_,
                                                 automaticCommand_, stepCommand_, finishCommand_, closeCommand_};
    for (auto previous = order.begin(), next = previous + 1; next != order.end(); ++previous, ++next)
        setTabOrder(*previous, *next);
}

// The timers are named children, so the speed they run at can be seen.
void CastingWindow::BuildTimers()
{
    struct TimerRow {
        QTimer &timer;
        const char *name;
        bool singleShot;
    };
    const std::array<TimerRow, 3> timers{{
        {phaseTimer_, "phase_timer", true},
        {animationTimer_, "animation_timer", false},
        {exitTimer_, "exit_timer", false},
    }};
    for (const TimerRow &row : timers) {
        row.timer.setParent(this);
        row.timer.setObjectName(QString::fromLatin1(row.name));
        row.timer.setSingleShot(row.singleShot);
    }
}

void CastingWindow::BuildKeyTable()
{
    const auto usable = [this](QWidget *command) {
        return [this, command] { return command->isVisibleTo(this) && command->isEnabled(); };
    };
    const auto always = [] { return true; };
    keyTable_ = {
        {Qt::Key_Plus, true, always, [this] { fasterCommand_->setFocus(); fasterCommand_->click(); }},
        {Qt::Key_Minus, true, always, [this] { slowerCommand_->setFocus(); slowerCommand_->click(); }},
        {Qt::Key_F5, false, usable(automaticCommand_), [this] { StartAutomatic(); }},
        {Qt::Key_F12, false, usable(closeCommand_), [this] { CloseWithoutCasting(); }},
    };
    // Keys act wherever the focus is in the window; the filter also takes the
    // double-clicks on the two fields.
    WatchKeysOnWindowAndChildren(*this, *this);
}

void CastingWindow::ConnectEngine()
{
    CastingEngine *engine = engine_;
    connect(engine, &CastingEngine::StepStarted, this, &CastingWindow::OnStepStarted);
    connect(engine, &CastingEngine::SoundRequested, this, &CastingWindow::PlaySound);
    connect(engine, &CastingEngine::LampChanged, this, &CastingWindow::ShowLamp);
    connect(engine, &CastingEngine::ChangeMessageShown, changeMessage_, &QLabel::setText);
    connect(engine, &CastingEngine::StalkCounterShown, this,
            [this](int stalks) { stalkCounter_->setText(QString::number(stalks)); });
    connect(engine, &CastingEngine::HeapsShown, this, &CastingWindow::ShowHeaps);
    connect(engine, &CastingEngine::ProgressShown, this, &CastingWindow::ShowProgress);
    connect(engine, &CastingEngine::LineValueShown, this, &CastingWindow::ShowLineValue);
    connect(engine, &CastingEngine::ChangingLinesShown, this, &CastingWindow::ShowChangingLines);
    connect(engine, &CastingEngine::LinePicturesShown, this,
            [this](int line, const QString &primary, const QString &resulting) {
                display_.ShowLinePictures(line, primary, resulting);
            });
    connect(engine, &CastingEngine::ReadyForStep, this, &CastingWindow::ShowReadyForStep);
    connect(engine, &CastingEngine::CastResolved, this, &CastingWindow::ShowResolution);
}

void CastingWindow::reject()
{
    if (closeCommand_->isVisibleTo(this) && closeCommand_->isEnabled())
        CloseWithoutCasting();
    else if (finishCommand_->isVisibleTo(this) && finishCommand_->isEnabled())
        Finish();
}

bool CastingWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (watched == nameField_ || watched == matterField_) {
            FieldDoubleClicked(static_cast<QLineEdit *>(watched));
            return true;
        }
        break;
    case QEvent::KeyPress:
        if (KeyPressed(watched, *static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::KeyRelease:
        if (KeyReleased(*static_cast<QKeyEvent *>(event)))
            return true;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

// The speed keys act when they are let go; their presses, repeats included,
// are taken here so they never type "+" or "-" into a field.
bool CastingWindow::KeyPressed(QObject *watched, const QKeyEvent &key)
{
    if (IsSpeedKey(key.key(), key.modifiers())) {
        if (!key.isAutoRepeat())
            pressModifiers_ = key.modifiers();
        return true;
    }
    if (key.isAutoRepeat())
        return false;
    pressModifiers_ = key.modifiers();
    auto *command = qobject_cast<QPushButton *>(watched);
    if (command && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)) {
        command->click();
        return true;
    }
    return false;
}

// A modifier counts when it was held as the key went down or as it came up:
// a modifier let go a moment before the key still means the key with it.
bool CastingWindow::KeyReleased(const QKeyEvent &key)
{
    if (key.isAutoRepeat())
        return false;
    const bool keypadWithModifier = IsKeypadWithModifier(key.modifiers() | pressModifiers_);
    for (const KeyCommand &command : keyTable_) {
        if (command.key != key.key() || (command.keypadWithModifier && !keypadWithModifier))
            continue;
        if (command.allowed())
            command.run();
        return true;
    }
    return false;
}

bool CastingWindow::IsSpeedKey(int key, Qt::KeyboardModifiers modifiers) const
{
    const auto isSpeedCommand = [key](const KeyCommand &command) {
        return command.keypadWithModifier && command.key == key;
    };
    return IsKeypadWithModifier(modifiers) && std::any_of(keyTable_.begin(), keyTable_.end(), isSpeedCommand);
}

void CastingWindow::PlaySound(const QString &relativePath)
{
    services_.effects->PlayEffect(services_.programFolder + relativePath);
}

// The speed is what the bar shows; an empty bar sets no durations.
void CastingWindow::ApplySpeed()
{
    settings_.castingSpeed = SpeedOfBar(speedBar_->text());
    engine_->SetCastingSpeed(settings_.castingSpeed);
    const std::optional<CastingTimings> timings = TimingsOfSpeed(settings_.castingSpeed, services_.schedule);
    if (!timings)
        return;
    timings_ = *timings;
    animationTimer_.setInterval(timings_.animationFrame);
    if (phaseTimer_.isActive())
        SchedulePendingPhase();
}

void CastingWindow::ChangeSpeed(const std::function<QString(const QString &)> &nextBar)
{
    speedBar_->setText(nextBar(speedBar_->text()));
    ApplySpeed();
}

// Line breaks and other control characters pasted into a field become
// spaces here, so they never reach the record or the settings file.
void CastingWindow::Step()
{
    AfterStep(engine_->Step(FoldControlCharacters(nameField_->text()), FoldControlCharacters(matterField_->text())));
}

void CastingWindow::StartAutomatic()
{
    AfterStep(engine_->StartAutomatic(FoldControlCharacters(nameField_->text()),
                                      FoldControlCharacters(matterField_->text())));
}

void CastingWindow::AfterStep(const std::optional<FieldPrompt> &prompt)
{
    if (prompt)
        AskForField(*prompt);
    else
        SchedulePendingPhase();
}

// Cancel leaves the field empty, so the next step asks again.
void CastingWindow::AskForField(const FieldPrompt &prompt)
{
    QLineEdit *field = prompt.field == CastingField::Name ? nameField_ : matterField_;
    field->setFocus();
    const std::optional<QString> answer =
        services_.dialogs->AskText(this, prompt.prompt, prompt.title, prompt.defaultText, prompt.maxLength);
    field->setText(FoldControlCharacters(answer.value_or(QString())).left(prompt.maxLength));
}

// A phase runs its duration from `start`, when the one before it was due, or
// from now; so the drawing and sounds between phases do not add up over a
// cast. A phase already overdue runs at once and the next is timed from then.
void CastingWindow::SchedulePendingPhase(std::optional<qint64> start)
{
    if (!engine_->IsTimedPhase())
        return;
    const qint64 now = clock_.elapsed();
    phaseDue_ = std::max(start.value_or(now) + PhaseDelay(timings_, engine_->PendingPhase()), now);
    phaseTimer_.start(int(phaseDue_ - now));
}

void CastingWindow::AdvancePhase()
{
    engine_->Advance();
    SchedulePendingPhase(phaseDue_);
}

// The name field offers "某官", then the last diviner's name; the matter
// field offers "某事云云".
void CastingWindow::FieldDoubleClicked(QLineEdit *field)
{
    if (!field->isEnabled())
        return;
    if (field == matterField_) {
        field->setText(QStringLiteral("某事云云"));
        return;
    }
    const QString official = QStringLiteral("某官");
    const QString name = field->text() == official ? settings_.divinerName : official;
    field->setText(name.isEmpty() ? official : name);
}

void CastingWindow::OnStepStarted()
{
    settings_.divinerName = engine_->Cast().divinerName;
    stepCommand_->setEnabled(false);
    display_.PrepareForNewCast();
    if (!animationTimer_.isActive())
        animationTimer_.start();
    automaticCommand_->hide();
    closeCommand_->hide();
    progressText_->show();
    progressBar_->show();
    nameField_->setEnabled(false);
    matterField_->setEnabled(false);
}

void CastingWindow::ShowLamp(StatusLamp lamp)
{
    lamp_->SetPicture(lampStore_[LampIndex(lamp)]->Picture());
}

void CastingWindow::ShowHeaps(int left, int hung, int right)
{
    const std::array<int, 3> heaps{left, hung, right};
    for (int i = 0; i < int(heaps.size()); ++i)
        heapCounters_[i]->setText(QString::number(heaps[i]));
}

void CastingWindow::ShowProgress(const QString &text, int finishedChanges)
{
    progressText_->setText(text);
    progressBar_->setText(ProgressBar(finishedChanges));
}

void CastingWindow::ShowLineValue(int line, int value)
{
    QLabel *label = lineValues_[line - 1];
    label->setText(QString::number(value));
    SetTextColour(label, IsChangingLine(value) ? ChangingLineColour : ArtPalette::Ink);
}

void CastingWindow::ShowChangingLines(const QString &label, const QList<int> &changedValues)
{
    changingLines_->setText(label);
    for (int i = 0; i < int(changedValues.size()); ++i) {
        changedValues_[i]->setText(QString::number(changedValues[i]));
        SetTextColour(changedValues_[i], IsChangingLine(changedValues[i]) ? ChangingLineColour : ArtPalette::Ink);
    }
    changingLines_->show();
}

void CastingWindow::ShowReadyForStep(const QString &caption)
{
    stepCommand_->setText(caption);
    stepCommand_->setEnabled(true);
    stepCommand_->setFocus();
}

// The result is on the main window before the record is written, so a
// record file that cannot be written loses nothing the user sees.
void CastingWindow::ShowResolution(const CastResult &cast, const ResolvedCast &resolved)
{
    castInHand_ = cast;
    changingLines_->show();
    display_.ShowCast(resolved.resolution);
    AppendCastRecord(resolved.record);
    EnterFinishedState();
}

void CastingWindow::AppendCastRecord(const DivinationRecord &record)
{
    if (AppendRecord(services_.recordFilePath, record))
        return;
    services_.dialogs->ShowMessage(this,
                                   QStringLiteral("无法把本次占筮写入记录文件：\n") +
                                       QDir::toNativeSeparators(services_.recordFilePath) +
                                       QStringLiteral("\n\n推演结果仍显示在主窗口中，但没有保存到记录里。"),
                                   ProgramTitle(), DialogService::Icon::Warning);
}

void CastingWindow::EnterFinishedState()
{
    animationTimer_.stop();
    ShowLamp(StatusLamp::Green);
    PlaySound(QStringLiteral("/wav/end.wav"));
    stalkCounter_->setText(QStringLiteral("50"));
    stepCommand_->setText({});
    stepCommand_->hide();
    finishCommand_->show();
    finishCommand_->setEnabled(true);
    finishCommand_->setFocus();
    exitHint_->show();
    if (!engine_->AutoMode())
        return;
    exitCountdown_ = ExitCountdownStart;
    exitHint_->setText(QStringLiteral("点击推演完成按钮或\n 5秒后自动退出"));
    exitTimer_.start(services_.schedule.exitCountdown.hintMs);
}

void CastingWindow::NextAnimationFrame()
{
    animationFrame_ = animationFrame_ % StalkFrameCount + 1;
    animation_->SetPicture(frameStore_[animationFrame_ - 1]->Picture());
}

// The hint, then 5 … 0 one step each; the window closes one step after 0.
void CastingWindow::ExitCountdownTick()
{
    if (exitCountdown_ < 0) {
        exitTimer_.stop();
        Finish();
        return;
    }
    PlaySound(QStringLiteral("/wav/step.wav"));
    exitTimer_.setInterval(services_.schedule.exitCountdown.tickMs);
    exitHint_->setFont(CounterFont(16));
    exitHint_->setText(QString::number(exitCountdown_));
    --exitCountdown_;
}

void CastingWindow::Finish()
{
    exitTimer_.stop();
    PlaySound(QStringLiteral("/wav/close.wav"));
    done(QDialog::Accepted);
}

void CastingWindow::CloseWithoutCasting()
{
    done(QDialog::Rejected);
}
