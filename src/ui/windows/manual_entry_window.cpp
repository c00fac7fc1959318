#include "ui/windows/manual_entry_window.h"

#include "core/resolution.h"
#include "fileformat/quoted_fields.h"
#include "records/divination_record.h"
#include "records/record_file.h"
#include "shell/settings.h"
#include "shell/sound_effect.h"
#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/widgets/dialog_picture_button.h"
#include "ui/widgets/field_limit_note.h"
#include "ui/widgets/key_release_watch.h"
#include "ui/widgets/picture_button.h"
#include "ui/widgets/text_start_in_view.h"
#include "ui/widgets/tick_box.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"

#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>
#include <utility>

namespace {

constexpr int WindowWidth = 600;
constexpr int WindowHeight = 376;
constexpr int FieldLeft = 128;
constexpr int LineBoxLeft = 354;
constexpr int LineBoxStep = 38;
constexpr int LineBoxSize = 28;
constexpr int LineCaptionTop = 184;
constexpr int LineBoxTop = 206;
constexpr int MarkTop = 244;

const QColor HeadingColour(0xa0, 0x2a, 0x1a);

const QString FieldStyle = QStringLiteral(
    "QLineEdit { background: #fffaf0; border: 1px solid #b08850; border-radius: 3px; padding: 0 3px; }"
    "QLineEdit:focus { border: 1px solid #a02a1a; }");

// A line box of a changing line shows its character in red.
const QString ChangingLineStyle = QStringLiteral("QLineEdit { color: rgb(255, 0, 0); }");

QLabel *MakeCaption(const QString &name, const QString &text, const QRect &geometry, const QFont &font,
                    const QColor &colour, Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QLineEdit *MakeField(const QString &name, const QRect &geometry, int maxLength, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setGeometry(geometry);
    field->setMaxLength(maxLength);
    field->setFont(SansFont(14));
    field->setStyleSheet(FieldStyle);
    return field;
}

int LineBoxX(int index)
{
    return LineBoxLeft + index * LineBoxStep;
}

bool IsTabFocus(const QFocusEvent &event)
{
    return event.reason() == Qt::TabFocusReason || event.reason() == Qt::BacktabFocusReason;
}

} // namespace

ManualEntryWindow::ManualEntryWindow(const ManualEntryServices &services, Settings &settings, CastResult &castInHand,
                                     CastDisplay &display, QWidget *parent)
    : PanelDialog(QStringLiteral("manual_entry_window"), SizeAroundPanel({WindowWidth, WindowHeight}), parent)
    , services_(services)
    , settings_(settings)
    , castInHand_(castInHand)
    , display_(display)
{
    setWindowTitle(QStringLiteral("人工输入卦体"));

    BuildHeading();
    BuildTextFields();
    BuildLineBoxes();
    BuildCommands();
    ConnectFields();
    MoveControlsIntoPanel();

    PlaySound("/wav/s3.wav");
    timeField_->setText(ManualEntryTimeText(services_.now()));
    timeField_->setFocus();
}

void ManualEntryWindow::BuildHeading()
{
    MakeCaption(QStringLiteral("heading"), QStringLiteral("输入卦体"), QRect(24, 12, 200, 36),
                SerifFont(24, QFont::Bold), HeadingColour, Qt::AlignLeft | Qt::AlignVCenter, this);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setGeometry(24, 50, WindowWidth - 48, 2);
}

void ManualEntryWindow::BuildTextFields()
{
    struct FieldRow {
        const char *captionName;
        const char16_t *caption;
        const char *fieldName;
        QLineEdit *&field;
        int width;
        int maxLength;
    };
    const std::array<FieldRow, 3> rows{{
        {"cast_time_caption", u"成卦时间", "cast_time_field", timeField_, 200, ManualTimeLength},
        {"diviner_name_caption", u"占卦者姓名", "diviner_name_field", nameField_, 260, ManualNameLength},
        {"matter_caption", u"所占何事", "matter_field", matterField_, 440, ManualMatterLength},
    }};
    for (int i = 0; i < int(rows.size()); ++i) {
        const int top = 64 + i * 36;
        MakeCaption(QString::fromLatin1(rows[i].captionName), QString::fromUtf16(rows[i].caption),
                    QRect(24, top, FieldLeft - 34, 28), SansFont(14, QFont::Bold), ArtPalette::Caption,
                    Qt::AlignRight | Qt::AlignVCenter, this);
        rows[i].field = MakeField(QString::fromLatin1(rows[i].fieldName), QRect(FieldLeft, top, rows[i].width, 28),
                                  rows[i].maxLength, this);
        rows[i].field->setAccessibleName(QString::fromUtf16(rows[i].caption));
        KeepTextStartInView(rows[i].field);
        ShowLimitWhenFull(rows[i].field);
    }
}

void ManualEntryWindow::BuildLineBoxes()
{
    const Qt::Alignment rightAligned = Qt::AlignRight | Qt::AlignVCenter;
    MakeCaption(QStringLiteral("line_entry_hint"), QStringLiteral("按照阳爻为“1”，阴爻为“0”的方式输入：→"),
                QRect(16, LineBoxTop, LineBoxLeft - 22, LineBoxSize), SansFont(13), ArtPalette::Ink, rightAligned, this);
    MakeCaption(QStringLiteral("changing_mark_hint"), QStringLiteral("如果有变爻请选中：→"),
                QRect(16, MarkTop, LineBoxLeft - 22, 24), SansFont(13), ArtPalette::Ink, rightAligned, this);
    MakeCaption(QStringLiteral("click_hint"), QStringLiteral("（可以用鼠标单击输入或更改爻符号）"),
                QRect(16, MarkTop + 34, WindowWidth - 40, 22), SansFont(13), ArtPalette::Caption, rightAligned, this);

    for (int i = 0; i < LinesPerHexagram; ++i) {
        MakeCaption(QStringLiteral("line_caption_%1").arg(i + 1), LinePositionName(i + 1),
                    QRect(LineBoxX(i), LineCaptionTop, LineBoxSize, 20), SerifFont(15, QFont::Bold), ArtPalette::Caption,
                    Qt::AlignCenter, this);
        lineBoxes_[i] = MakeField(QStringLiteral("line_box_%1").arg(i + 1),
                                  QRect(LineBoxX(i), LineBoxTop, LineBoxSize, LineBoxSize), 1, this);
        lineBoxes_[i]->setAlignment(Qt::AlignCenter);
        lineBoxes_[i]->setFont(SansFont(16, QFont::Bold));
        lineBoxes_[i]->setAccessibleName(LinePositionWord(i + 1));
        lineBoxes_[i]->setAccessibleDescription(QStringLiteral("阳爻输入1，阴爻输入0"));
        changingMarks_[i] = new TickBox(this);
        changingMarks_[i]->setObjectName(QStringLiteral("changing_mark_%1").arg(i + 1));
        changingMarks_[i]->setAccessibleName(LinePositionWord(i + 1) + QStringLiteral("为变爻"));
        changingMarks_[i]->setGeometry(LineBoxX(i) + 6, MarkTop, 20, 24);
    }
}

void ManualEntryWindow::BuildCommands()
{
    const int top = WindowHeight - 24 - DialogButtonHeight;
    const int gap = 28;
    const int left = (WindowWidth - 3 * DialogButtonWidth - 2 * gap) / 2;
    confirmCommand_ = MakeDialogButton(QStringLiteral("confirm_button"), DialogIcon::Tick, QStringLiteral("确定"),
                                       {left, top}, this);
    helpCommand_ = MakeDialogButton(QStringLiteral("help_button"), DialogIcon::Question, QStringLiteral("帮助"),
                                    {left + DialogButtonWidth + gap, top}, this);
    closeCommand_ = MakeDialogButton(QStringLiteral("close_button"), DialogIcon::Cross, QStringLiteral("关闭"),
                                     {left + 2 * (DialogButtonWidth + gap), top}, this);
    helpCommand_->setToolTip(QStringLiteral("帮助主题 F1"));
    helpCommand_->setAccessibleDescription(QStringLiteral("F1"));
    closeCommand_->setAccessibleDescription(QStringLiteral("F12"));

    connect(confirmCommand_, &QAbstractButton::clicked, this, &ManualEntryWindow::Confirm);
    connect(helpCommand_, &QAbstractButton::clicked, this, &ManualEntryWindow::OpenHelp);
    connect(closeCommand_, &QAbstractButton::clicked, this, &QDialog::reject);
}

void ManualEntryWindow::ConnectFields()
{
    for (int i = 0; i < LinesPerHexagram; ++i) {
        connect(lineBoxes_[i], &QLineEdit::textChanged, this, [this, i] { FieldAfterLine(i)->setFocus(); });
        connect(changingMarks_[i], &QCheckBox::clicked, this, [this, i] { MarkChanged(i); });
    }

    QWidget *previous = timeField_;
    for (QWidget *next : std::initializer_list<QWidget *>{nameField_, matterField_}) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (int i = 0; i < LinesPerHexagram; ++i) {
        setTabOrder(previous, lineBoxes_[i]);
        previous = lineBoxes_[i];
    }
    for (int i = 0; i < LinesPerHexagram; ++i) {
        setTabOrder(previous, changingMarks_[i]);
        previous = changingMarks_[i];
    }
    for (QWidget *next : std::initializer_list<QWidget *>{confirmCommand_, helpCommand_, closeCommand_}) {
        setTabOrder(previous, next);
        previous = next;
    }

    // Keys act wherever the focus is in the window; the filter also takes
    // the clicks on the line boxes and the double-clicks on name and matter.
    WatchKeysOnWindowAndChildren(*this, *this);
}

bool ManualEntryWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        // Tab selects a field's whole text, and the next key would replace
        // it; the time, filled in for the user, keeps its text and takes the
        // cursor at its end.
        if (watched == timeField_ && IsTabFocus(*static_cast<QFocusEvent *>(event)))
            QMetaObject::invokeMethod(timeField_, [field = timeField_] { field->end(false); }, Qt::QueuedConnection);
        break;
    case QEvent::MouseButtonDblClick:
        if (watched == nameField_) {
            NameFieldDoubleClicked();
            return true;
        }
        if (watched == matterField_) {
            MatterFieldDoubleClicked();
            return true;
        }
        if (LineBoxIndex(watched) >= 0)
            swallowNextRelease_ = true;
        break;
    case QEvent::MouseButtonRelease: {
        const int index = LineBoxIndex(watched);
        if (index < 0 || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        if (!std::exchange(swallowNextRelease_, false))
            FlipLineBox(index);
        break;
    }
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            break;
        if (key->key() == Qt::Key_F12) {
            if (closeCommand_->isVisible() && closeCommand_->isEnabled())
                closeCommand_->click();
            return true;
        }
        if (key->key() == Qt::Key_F1) {
            OpenHelp();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return PanelDialog::eventFilter(watched, event);
}

void ManualEntryWindow::PlaySound(const char *relativePath)
{
    services_.effects->PlayEffect(services_.programFolder + QString::fromLatin1(relativePath));
}

// Line breaks and other control characters pasted into a field become
// spaces here, so they never reach the record or the settings file.
ManualEntryFields ManualEntryWindow::Fields() const
{
    ManualEntryFields fields;
    fields.time = FoldControlCharacters(timeField_->text());
    fields.name = FoldControlCharacters(nameField_->text());
    fields.matter = FoldControlCharacters(matterField_->text());
    for (int i = 0; i < LinesPerHexagram; ++i) {
        fields.lines[i] = lineBoxes_[i]->text();
        fields.changing[i] = changingMarks_[i]->isChecked();
    }
    return fields;
}

int ManualEntryWindow::LineBoxIndex(const QObject *object) const
{
    const auto found = std::find(lineBoxes_.begin(), lineBoxes_.end(), object);
    return found == lineBoxes_.end() ? -1 : int(found - lineBoxes_.begin());
}

QWidget *ManualEntryWindow::FieldAfterLine(int index) const
{
    if (index + 1 < LinesPerHexagram)
        return lineBoxes_[index + 1];
    return changingMarks_[0];
}

// A click turns "1" into "0", "0" into "1", and anything else into "0"; the
// change of text then moves the focus on.
void ManualEntryWindow::FlipLineBox(int index)
{
    QLineEdit *box = lineBoxes_[index];
    const QString line = box->text().trimmed();
    box->setText(line == u"0" ? QStringLiteral("1") : QStringLiteral("0"));
}

void ManualEntryWindow::MarkChanged(int index)
{
    if (index + 1 < LinesPerHexagram)
        changingMarks_[index + 1]->setFocus();
    else
        confirmCommand_->setFocus();
    lineBoxes_[index]->setStyleSheet(FieldStyle + (changingMarks_[index]->isChecked() ? ChangingLineStyle : QString()));
}

void ManualEntryWindow::NameFieldDoubleClicked()
{
    const QString official = QStringLiteral("某官");
    const QString name = nameField_->text() == official ? settings_.divinerName : official;
    nameField_->setText(name.isEmpty() ? official : name);
}

void ManualEntryWindow::MatterFieldDoubleClicked()
{
    matterField_->setText(QStringLiteral("某事云云"));
}

void ManualEntryWindow::OpenHelp()
{
    services_.openHelpTopic(this, ManualEntryHelpTopic);
}

void ManualEntryWindow::Confirm()
{
    const std::optional<ManualEntryFault> fault = FirstManualEntryFault(Fields(), services_.now(), settings_.divinerName);
    if (!fault) {
        HandOver();
        return;
    }
    if (const auto *question = std::get_if<ManualFieldQuestion>(&*fault))
        Ask(*question);
    else
        Report(std::get<ManualLineFault>(*fault));
}

// Cancel leaves the field empty, so the next confirmation asks again.
void ManualEntryWindow::Ask(const ManualFieldQuestion &question)
{
    const std::array<QLineEdit *, 3> fields{timeField_, nameField_, matterField_};
    QLineEdit *field = fields[int(question.field)];
    field->setFocus();
    const std::optional<QString> answer =
        services_.dialogs->AskText(this, question.prompt, question.title, question.defaultText,
                                   question.maxLength);
    field->setText(FoldControlCharacters(answer.value_or(QString())).left(question.maxLength));
}

void ManualEntryWindow::Report(const ManualLineFault &fault)
{
    QLineEdit *box = lineBoxes_[fault.line - 1];
    // Emptying a box moves the focus on, so the box is focused after it.
    box->clear();
    box->setFocus();
    services_.dialogs->ShowMessage(this, fault.message, ProgramTitle(), DialogService::Icon::None);
}

// The cast is on the main window before the record is written, so a record
// file that cannot be written loses nothing the user sees.
void ManualEntryWindow::HandOver()
{
    castInHand_ = ManualEntryCast(Fields());
    settings_.divinerName = castInHand_.divinerName;
    const ResolvedCast resolved = ResolveCast(castInHand_);
    display_.PrepareForNewCast();
    display_.ShowCast(resolved.resolution);
    if (!AppendRecord(services_.recordFilePath, resolved.record))
        services_.dialogs->ShowMessage(this,
                                       QStringLiteral("无法把本次输入的卦写入记录文件：\n") +
                                           QDir::toNativeSeparators(services_.recordFilePath) +
                                           QStringLiteral("\n\n卦象仍显示在主窗口中，但没有保存到记录里。"),
                                       ProgramTitle(), DialogService::Icon::Warning);
    PlaySound("/wav/close.wav");
    accept();
}

void ConnectManualEntryCommand(MainWindow &window, const ManualEntryServices &services, Settings &settings,
                               CastResult &castInHand)
{
    QObject::connect(&window, &MainWindow::ManualEntryRequested, &window, [&window, services, &settings, &castInHand] {
        MainWindowCastDisplay display(window);
        ManualEntryWindow entry(services, settings, castInHand, display, &window);
        window.RunHiddenChild(entry);
    });
}
