#include "ui/windows/record_browser_window.h"

#include "core/program_sounds.h"
#include "records/recalled_cast.h"
#include "records/record_file.h"
#include "records/record_file_name.h"
#include "records/record_listing.h"
#include "records/record_search.h"
#include "shell/sound_effect.h"
#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/widgets/chinese_file_dialog.h"
#include "ui/widgets/dialog_picture_button.h"
#include "ui/widgets/key_release_watch.h"
#include "ui/widgets/picture_button.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QPushButton>
#include <QShortcut>

#include <limits>
#include <memory>
#include <utility>

namespace {

constexpr int WindowWidth = 860;
constexpr int WindowHeight = 570;
constexpr int Margin = 12;
constexpr int ListTop = 34;
constexpr int ListHeight = 412;
constexpr int RecordRowTop = ListTop + ListHeight + 12;
constexpr int PageRowTop = RecordRowTop + 46;
constexpr int PageBoxLength = 7;
constexpr int FindBoxWidth = 180;


const QString WindowStyle = QStringLiteral(
    "QMenuBar { background: #e6d3a8; color: #2a1c14; }"
    "QMenuBar::item:selected { background: #c8a866; }"
    "QMenu { background: #fffaf0; color: #2a1c14; border: 1px solid #b08850; }"
    "QMenu::item:selected { background: #8e1b1b; color: #f6e7c1; }"
    "QMenu::item:disabled { color: #a89880; }"
    "QPlainTextEdit { background: #fffdf6; border: 1px solid #b08850; color: #2a1c14;"
    " selection-background-color: #8e1b1b; selection-color: #fbf5e6; }"
    "QLineEdit { background: #fffaf0; border: 1px solid #b08850; border-radius: 3px; padding: 0 3px;"
    " color: #2a1c14; }"
    "QLineEdit:read-only { background: #efe4cc; }"
    "QPushButton { color: #2a1c14; border: 1px solid #b08850; border-radius: 5px; padding: 0 6px;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffaf0, stop:1 #e6d3a8); }"
    "QPushButton:hover { border-color: #c82a22; }"
    "QPushButton:pressed { background: #d8c292; }"
    "QPushButton:disabled { color: #a89880; border-color: #cfc2a8; background: #efe6d2; }");

const QString DeleteSelectedCaption = QStringLiteral("删除选中的记录");
const QString NotFoundRecordMessage = QStringLiteral("没有找到此条记录。");
const QString DamagedRecordMessage = QStringLiteral("此条记录已损坏，无法读取。");

QLabel *MakeCaption(const QString &name, const QString &text, const QRect &geometry, const QColor &colour,
                    Qt::Alignment alignment, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QPushButton *MakePageCommand(const QString &name, const QString &caption, const QString &tooltip,
                             const QRect &geometry, QWidget *parent)
{
    auto *command = new QPushButton(caption, parent);
    command->setObjectName(name);
    command->setGeometry(geometry);
    command->setToolTip(tooltip);
    command->setEnabled(false);
    // Enter in the page box must not press a command behind the user's back.
    command->setAutoDefault(false);
    return command;
}

// The file dialogs share their name, extension and filter.
std::unique_ptr<QFileDialog> MakeRecordFileDialog(QWidget *parent, const QString &title, const QString &folder)
{
    std::unique_ptr<QFileDialog> dialog = MakeChineseFileDialog(parent, title, folder);
    dialog->setNameFilter(QStringLiteral("记录文件(*.kdf)"));
    dialog->setDefaultSuffix(QStringLiteral("kdf"));
    dialog->selectFile(QStringLiteral("*.kdf"));
    return dialog;
}

std::optional<QString> RunFileDialog(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

std::optional<QString> WidgetRecordFileDialogs::ChooseFileToOpen(QWidget *parent, const QString &folder)
{
    const std::unique_ptr<QFileDialog> dialog =
        MakeRecordFileDialog(parent, QStringLiteral("读取Ravezaz记录文件 *.kdf"), folder);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(*dialog);
}

std::optional<QString> WidgetRecordFileDialogs::ChooseFileToSave(QWidget *parent, const QString &folder)
{
    const std::unique_ptr<QFileDialog> dialog =
        MakeRecordFileDialog(parent, QStringLiteral("存储Ravezaz记录文件 *.kdf"), folder);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    return RunFileDialog(*dialog);
}

RecordBrowserWindow::RecordBrowserWindow(const RecordBrowserServices &services, CastResult &castInHand,
                                         CastDisplay &display, QWidget *parent)
    : PanelDialog(QStringLiteral("record_browser_window"), SizeAroundPanel({WindowWidth, WindowHeight}), parent)
    , services_(services)
    , castInHand_(castInHand)
    , display_(display)
{
    setWindowTitle(QStringLiteral("查看占筮记录"));
    setStyleSheet(WindowStyle);

    BuildMenu();
    BuildList();
    BuildRecordRow();
    BuildPageRow();
    MoveControlsIntoPanel();
    NameControls();
    OrderTabStops();
    WatchKeys();

    notFoundTimer_.setParent(this);
    notFoundTimer_.setObjectName(QStringLiteral("not_found_timer"));
    notFoundTimer_.setInterval(services_.notFoundDelayMs);
    notFoundTimer_.setSingleShot(true);
    connect(&notFoundTimer_, &QTimer::timeout, this, &RecordBrowserWindow::ShowFileNotFound);

    deleteRecord_->setEnabled(false);
    BrowseDefaultFile();
    // Picking a record is the first step here.
    list_->setFocus();
}

void RecordBrowserWindow::BuildMenu()
{
    auto *menuBar = new QMenuBar(this);
    menuBar->setGeometry(0, 0, WindowWidth, 26);
    BuildFindBox(*menuBar);
    QMenu *fileMenu = menuBar->addMenu(QStringLiteral("文件"));
    fileMenu->setObjectName(QStringLiteral("file_menu"));

    // Each item has its key beside it; 退出 names its key, F12, in its
    // caption and is pressed by the window's own F12.
    struct ItemRow {
        QAction *&action;
        const char *name;
        const char16_t *caption;
        QKeySequence key;
        void (RecordBrowserWindow::*run)();
    };
    const std::array<ItemRow, 5> items{{
        {openOther_, "open_other_file_action", u"打开其它记录文件", QKeySequence(Qt::CTRL | Qt::Key_O),
         &RecordBrowserWindow::BrowseOtherFile},
        {openDefault_, "open_default_file_action", u"默认记录文件", QKeySequence(Qt::CTRL | Qt::Key_D),
         &RecordBrowserWindow::BrowseDefaultFile},
        {saveAs_, "save_as_action", u"记录文件另存为...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &RecordBrowserWindow::SaveFileAs},
        {deleteRecord_, "delete_record_action", u"删除选中的记录", QKeySequence(Qt::Key_Delete),
         &RecordBrowserWindow::DeleteSelectedRecord},
        {exit_, "exit_action", u"退出 F12", QKeySequence(), &RecordBrowserWindow::reject},
    }};
    for (const ItemRow &item : items) {
        if (!fileMenu->actions().isEmpty())
            fileMenu->addSeparator();
        item.action = fileMenu->addAction(QString::fromUtf16(item.caption));
        item.action->setObjectName(QString::fromLatin1(item.name));
        item.action->setShortcut(item.key);
        connect(item.action, &QAction::triggered, this, item.run);
    }
    // Delete deletes a record only from the list; in the find and page
    // boxes it deletes a character.
    deleteRecord_->setShortcutContext(Qt::WidgetShortcut);

    // The menu's caption is "文件" without a marked letter, so Alt+F is a
    // shortcut of the window.
    auto *openFileMenu = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F), this);
    connect(openFileMenu, &QShortcut::activated, menuBar,
            [menuBar, fileMenu] { menuBar->setActiveAction(fileMenu->menuAction()); });
}

// 查找 sits at the right end of the menu bar, where a search box is looked
// for; Enter in the box finds the next record as the command does.
void RecordBrowserWindow::BuildFindBox(QMenuBar &menuBar)
{
    auto *box = new QWidget(&menuBar);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 1, Margin, 1);
    layout->setSpacing(6);
    findBox_ = new QLineEdit(box);
    findBox_->setObjectName(QStringLiteral("find_field"));
    findBox_->setFixedWidth(FindBoxWidth);
    findBox_->setPlaceholderText(QStringLiteral("姓名、所占何事或卦名"));
    findBox_->setToolTip(QStringLiteral("查找姓名、所占何事或卦名中含有这些文字的下一条记录(Enter)"));
    findCommand_ = new QPushButton(QStringLiteral("查找"), box);
    findCommand_->setObjectName(QStringLiteral("find_button"));
    findCommand_->setAutoDefault(false);
    layout->addWidget(findBox_);
    layout->addWidget(findCommand_);
    menuBar.setCornerWidget(box, Qt::TopRightCorner);
    connect(findCommand_, &QPushButton::clicked, this, [this] {
        PlayClick();
        FindNextRecord();
    });
    connect(findBox_, &QLineEdit::returnPressed, findCommand_, &QPushButton::click);
}

void RecordBrowserWindow::BuildList()
{
    list_ = new QPlainTextEdit(this);
    list_->setObjectName(QStringLiteral("records_list"));
    list_->setGeometry(Margin, ListTop, WindowWidth - 2 * Margin, ListHeight);
    list_->setReadOnly(true);
    // The caret can still be moved, by the mouse and by the arrow keys, to
    // pick an entry.
    list_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setFont(SansFont(13));
    list_->viewport()->installEventFilter(this);
    list_->addAction(deleteRecord_);
}

void RecordBrowserWindow::BuildRecordRow()
{
    const Qt::Alignment rightAligned = Qt::AlignRight | Qt::AlignVCenter;
    MakeCaption(QStringLiteral("record_number_caption"), QStringLiteral("当前记录号："), QRect(Margin, RecordRowTop, 96, 30),
                ArtPalette::Caption, rightAligned, this);
    recordNumber_ = new QLineEdit(QStringLiteral("0"), this);
    recordNumber_->setObjectName(QStringLiteral("record_number_field"));
    recordNumber_->setGeometry(Margin + 98, RecordRowTop, 96, 30);
    recordNumber_->setReadOnly(true);
    recordNumber_->setAlignment(Qt::AlignCenter);

    readCommand_ = MakeDialogButton(QStringLiteral("read_button"), DialogIcon::Tick, QStringLiteral("读取"),
                                    {Margin + 208, RecordRowTop - 2}, this);
    readCommand_->setEnabled(false);
    connect(readCommand_, &QAbstractButton::clicked, this, &RecordBrowserWindow::ShowRecordInMainWindow);

    const int countLeft = Margin + 208 + DialogButtonWidth + 16;
    countLine_ = MakeCaption(QStringLiteral("record_count_label"), QStringLiteral("未有记录数据"),
                             QRect(countLeft, RecordRowTop, WindowWidth - Margin - countLeft, 30), ArtPalette::Ink,
                             rightAligned, this);
}

void RecordBrowserWindow::BuildPageRow()
{
    const Qt::Alignment centred = Qt::AlignCenter;
    pageCaption_ = MakeCaption(QStringLiteral("page_caption"), PageCaption(0), QRect(Margin, PageRowTop, 96, 30),
                               ArtPalette::Caption, Qt::AlignLeft | Qt::AlignVCenter, this);
    pageCaption_->setFont(SansFont(14, QFont::Bold));
    MakeCaption(QStringLiteral("go_to_page_caption"), QStringLiteral("到第"), QRect(Margin + 100, PageRowTop, 34, 30),
                ArtPalette::Ink, centred, this);
    pageBox_ = new QLineEdit(this);
    pageBox_->setObjectName(QStringLiteral("page_field"));
    pageBox_->setGeometry(Margin + 136, PageRowTop, 70, 30);
    pageBox_->setMaxLength(PageBoxLength);
    pageBox_->setAlignment(Qt::AlignCenter);
    MakeCaption(QStringLiteral("page_unit_caption"), QStringLiteral("页"), QRect(Margin + 208, PageRowTop, 22, 30),
                ArtPalette::Ink, centred, this);

    struct CommandRow {
        QPushButton *&command;
        const char *name;
        const char16_t *caption;
        const char16_t *tooltip;
        int left;
        int width;
    };
    const std::array<CommandRow, 5> commands{{
        {goCommand_, "go_button", u"确定", u"", Margin + 234, 56},
        {firstCommand_, "first_page_button", u"到第一页", u"到第一页(Home)", Margin + 312, 92},
        {previousCommand_, "previous_page_button", u"←上一页", u"上一页(PageUp)", Margin + 410, 92},
        {nextCommand_, "next_page_button", u"下一页→", u"下一页(PageDown)", Margin + 508, 92},
        {lastCommand_, "last_page_button", u"到最后页", u"最后一页(End)", Margin + 606, 92},
    }};
    for (const CommandRow &row : commands)
        row.command = MakePageCommand(QString::fromLatin1(row.name), QString::fromUtf16(row.caption),
                                      QString::fromUtf16(row.tooltip), QRect(row.left, PageRowTop, row.width, 30),
                                      this);

    // Every page command sounds first.
    connect(goCommand_, &QPushButton::clicked, this, [this] {
        PlayClick();
        GoToTypedPage();
    });
    // Enter in the page box is 确定, while 确定 can be pressed.
    connect(pageBox_, &QLineEdit::returnPressed, this, [this] {
        if (goCommand_->isEnabled())
            goCommand_->click();
    });
    const std::array<std::pair<QPushButton *, PageRange (RecordPager::*)()>, 4> pageMoves{{
        {firstCommand_, &RecordPager::First},
        {previousCommand_, &RecordPager::Previous},
        {nextCommand_, &RecordPager::Next},
        {lastCommand_, &RecordPager::Last},
    }};
    for (const auto &[command, pagerMove] : pageMoves) {
        connect(command, &QPushButton::clicked, this, [this, move = pagerMove] {
            PlayClick();
            ShowPage((pager_.*move)());
        });
    }

    closeCommand_ = MakeDialogButton(QStringLiteral("close_button"), DialogIcon::Cross, QStringLiteral("关闭窗口"),
                                     {WindowWidth - Margin - DialogButtonWidth, PageRowTop - 2}, this);
    connect(closeCommand_, &QAbstractButton::clicked, this, &QDialog::reject);
}

// What a screen reader says of each control: the caption a sighted user
// reads and, where one acts on it, the key.
void RecordBrowserWindow::NameControls()
{
    struct NameRow {
        QWidget *control;
        const char16_t *name;
        const char16_t *description;
    };
    const std::array<NameRow, 12> names{{
        {findBox_, u"查找内容", u"姓名、所占何事或卦名；Enter 查找下一条记录"},
        {findCommand_, u"查找", u"Enter"},
        {list_, u"占筮记录", u"上下箭头选择记录，Enter 读取，Delete 删除，PageUp/PageDown 翻页"},
        {recordNumber_, u"当前记录号", u""},
        {readCommand_, u"读取", u"在记录中按 Enter"},
        {pageBox_, u"到第几页", u"Enter"},
        {goCommand_, u"确定", u"到所填的页，Enter"},
        {firstCommand_, u"到第一页", u"Home"},
        {previousCommand_, u"上一页", u"PageUp"},
        {nextCommand_, u"下一页", u"PageDown"},
        {lastCommand_, u"到最后页", u"End"},
        {closeCommand_, u"关闭窗口", u"Esc、F12"},
    }};
    for (const NameRow &row : names) {
        row.control->setAccessibleName(QString::fromUtf16(row.name));
        row.control->setAccessibleDescription(QString::fromUtf16(row.description));
    }
}

// Tab goes as the window is read: the find box at the top, the list, the
// record row, the page row, and 关闭窗口 last. The picture commands take the
// focus like the others.
void RecordBrowserWindow::OrderTabStops()
{
    readCommand_->setFocusPolicy(Qt::StrongFocus);
    closeCommand_->setFocusPolicy(Qt::StrongFocus);
    const std::array<QWidget *, 12> stops{findBox_,       findCommand_,   list_,          recordNumber_,
                                          readCommand_,   pageBox_,       goCommand_,     firstCommand_,
                                          previousCommand_, nextCommand_, lastCommand_,   closeCommand_};
    for (std::size_t i = 1; i < stops.size(); ++i)
        setTabOrder(stops[i - 1], stops[i]);
}

void RecordBrowserWindow::WatchKeys()
{
    // Keys act wherever the focus is in the window.
    WatchKeysOnWindowAndChildren(*this, *this);
}

bool RecordBrowserWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && watched == list_->viewport()) {
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            SelectRecordAtCaret();
        return false;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape &&
        (watched == findBox_ || watched == findCommand_))
        return HandleFindRowEscape(watched);
    if (event->type() == QEvent::KeyPress && watched == list_ &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        // Delete without a selection asks for the entry at the caret; with one,
        // the menu item's key has asked already.
        SelectRecordAtCaret();
        if (deleteRecord_->isEnabled())
            deleteRecord_->trigger();
        return true;
    }
    if (watched == list_)
        NoteListEnterPress(*event);
    // The open 文件 menu answers its own keys.
    if (event->type() != QEvent::KeyRelease || qobject_cast<QMenu *>(watched))
        return PanelDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->isAutoRepeat())
        return false;
    // In the find box Home and End move the caret through the typed text.
    if (watched == findBox_ && (key->key() == Qt::Key_Home || key->key() == Qt::Key_End))
        return false;
    if (watched == list_ && HandleListKey(*key))
        return true;
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        list_->setFocus();
        SelectRecordAtCaret();
        return true;
    }
    const std::array<std::pair<int, QAbstractButton *>, 5> keyCommands{{
        {Qt::Key_PageUp, previousCommand_},
        {Qt::Key_PageDown, nextCommand_},
        {Qt::Key_End, lastCommand_},
        {Qt::Key_Home, firstCommand_},
        {Qt::Key_F12, closeCommand_},
    }};
    for (const auto &[keyCode, command] : keyCommands) {
        if (keyCode != key->key())
            continue;
        if (command->isVisible() && command->isEnabled())
            command->click();
        return true;
    }
    return PanelDialog::eventFilter(watched, event);
}

// Enter acts on its release. A message box over the window closes on the
// press of Enter and the release then comes to the list: only a release
// whose press the list saw since it last took the focus counts.
void RecordBrowserWindow::NoteListEnterPress(const QEvent &event)
{
    if (event.type() == QEvent::FocusIn)
        listEnterPressed_ = false;
    if (event.type() != QEvent::KeyPress)
        return;
    const auto &key = static_cast<const QKeyEvent &>(event);
    if ((key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && !key.isAutoRepeat())
        listEnterPressed_ = true;
}

// Enter in the list reads the entry at the caret back, as 读取 does.
bool RecordBrowserWindow::HandleListKey(const QKeyEvent &key)
{
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter)
        return false;
    if (!std::exchange(listEnterPressed_, false))
        return true;
    SelectRecordAtCaret();
    if (!recordNumber_->text().isEmpty() && readCommand_->isVisible() && readCommand_->isEnabled())
        readCommand_->click();
    return true;
}

// The menu bar that holds the find box and 查找 would keep Esc from the
// window. Esc in the find box first empties it, as a search box does; in an
// empty box and on 查找 it closes the window, as everywhere else in it.
bool RecordBrowserWindow::HandleFindRowEscape(const QObject *watched)
{
    if (watched == findBox_ && !findBox_->text().isEmpty())
        findBox_->clear();
    else
        reject();
    return true;
}

void RecordBrowserWindow::PlayClick()
{
    services_.effects->PlayEffect(services_.programFolder + ClickSound);
}

void RecordBrowserWindow::BrowseDefaultFile()
{
    openDefault_->setEnabled(false);
    BrowseFile(services_.recordFilePath);
}

void RecordBrowserWindow::BrowseOtherFile()
{
    if (const std::optional<QString> chosen = services_.fileDialogs->ChooseFileToOpen(this, BrowsedFolder()))
        BrowseFile(*chosen);
}

QString RecordBrowserWindow::BrowsedFolder() const
{
    return QFileInfo(filePath_).absolutePath();
}

void RecordBrowserWindow::BrowseFile(const QString &path)
{
    filePath_ = path;
    pager_.Reset(0);
    SetPageText({});
    ReloadRecordFile();
}

// The file dialog asks before replacing the name the user typed; when the
// name is then changed (a.kdf.kdf saved as a.kdf), replacing an existing
// file of the changed name is asked here.
void RecordBrowserWindow::SaveFileAs()
{
    const std::optional<QString> chosen = services_.fileDialogs->ChooseFileToSave(this, BrowsedFolder());
    if (!chosen)
        return;
    const QString destination = SaveAsRecordFilePath(*chosen);
    const QString shownDestination = QDir::toNativeSeparators(destination);
    if (destination != *chosen && QFileInfo::exists(destination) &&
        !services_.dialogs->AskYesNo(this, shownDestination + QStringLiteral(" 已存在。\n要替换它吗?"),
                                     QStringLiteral("记录文件另存为"), false))
        return;
    if (!CopyRecordFile(filePath_, destination))
        services_.dialogs->ShowMessage(this, QStringLiteral("记录文件没有保存为 ") + shownDestination +
                                                 QStringLiteral("。\n请检查文件夹是否存在、能否写入。"),
                                       ProgramTitle(), DialogService::Icon::Warning);
}

void RecordBrowserWindow::ReloadRecordFile()
{
    // A notice still pending is about the file read before; this read decides anew.
    notFoundTimer_.stop();
    pageBox_->clear();
    // Set before the file is read, so that the way back to the default file
    // stays open when another file cannot be read.
    const bool isDefault = filePath_ == services_.recordFilePath;
    openDefault_->setEnabled(!isDefault);
    const std::optional<qint64> count = CountRecords(filePath_);
    if (!count) {
        notFoundTimer_.start();
        return;
    }
    pager_.Reset(*count);
    countLine_->setText(RecordCountLine(*count));
    // A fresh load shows the last page, where the newest records are.
    pageBox_->setText(QString::number(pager_.PageCount()));
    GoToTypedPage();
    readCommand_->setEnabled(true);

    const QString shownPath = QDir::toNativeSeparators(filePath_);
    setWindowTitle((isDefault ? QStringLiteral("默认记录文件(") : QStringLiteral("记录文件(")) + shownPath +
                   QStringLiteral(")"));
}

// A page box that holds no whole number is ignored; the box is emptied in
// every case.
void RecordBrowserWindow::GoToTypedPage()
{
    if (const std::optional<PageRange> range = pager_.GoTo(pageBox_->text()))
        ShowPage(*range);
    pageBox_->clear();
}

void RecordBrowserWindow::ShowPage(const PageRange &range)
{
    const qint64 last = range.toEnd ? std::numeric_limits<qint64>::max() : range.last;
    const std::optional<QString> listing = ListRecords(filePath_, range.first, last);
    SetPageText(listing.value_or(QString()));
    pageCaption_->setText(PageCaption(pager_.CurrentPage()));
    ApplyPageCommands();
    if (!listing)
        notFoundTimer_.start();
}

// Every new listing drops the selection: the record number is valid only for
// the listing it was taken from.
void RecordBrowserWindow::SetPageText(const QString &text)
{
    listing_ = text;
    list_->setPlainText(ListingForDisplay(text));
    deleteRecord_->setText(DeleteSelectedCaption);
    deleteRecord_->setEnabled(false);
    recordNumber_->setText(QStringLiteral("0"));
    if (!text.trimmed().isEmpty())
        saveAs_->setEnabled(true);
}

void RecordBrowserWindow::ApplyPageCommands()
{
    const PageCommands &commands = pager_.Commands();
    goCommand_->setEnabled(commands.go);
    firstCommand_->setEnabled(commands.first);
    previousCommand_->setEnabled(commands.previous);
    nextCommand_->setEnabled(commands.next);
    lastCommand_->setEnabled(commands.last);
}

void RecordBrowserWindow::SelectRecordAtCaret()
{
    recordNumber_->clear();
    QTextCursor cursor = list_->textCursor();
    const std::optional<ListingEntry> entry = ListingEntryAt(list_->toPlainText(), cursor.position());
    if (!entry)
        return;
    // Selected from its end back to its start, so the caret, which the list
    // keeps in view, stands at the start: the record numbers and dates stay
    // shown however long the line is.
    cursor.setPosition(int(entry->end));
    cursor.setPosition(int(entry->start), QTextCursor::KeepAnchor);
    list_->setTextCursor(cursor);
    const QString number = QString::number(entry->number);
    recordNumber_->setText(number);
    deleteRecord_->setText(QStringLiteral("删除第 ") + number + QStringLiteral(" 号记录"));
    deleteRecord_->setEnabled(true);
}

// From the selected record, or from the top of the page when none is
// selected, to the next record that holds the text; past the last one the
// search starts again at the first record of the file.
void RecordBrowserWindow::FindNextRecord()
{
    const QString text = findBox_->text().trimmed();
    if (text.isEmpty()) {
        services_.dialogs->ShowMessage(this, QStringLiteral("请输入要查找的文字：姓名、所占何事或卦名。"),
                                       ProgramTitle(), DialogService::Icon::None);
        findBox_->setFocus();
        return;
    }
    bool selected = false;
    qint64 after = recordNumber_->text().toLongLong(&selected);
    if (!selected || after < 1) {
        const std::optional<ListingEntry> top = ListingEntryAt(listing_, 0);
        after = top ? top->number - 1 : 0;
    }
    const NextRecordSearch search = ::FindNextRecord(filePath_, text, after);
    if (search.status != RecordFileStatus::Done) {
        notFoundTimer_.start();
        return;
    }
    const std::optional<qint64> next = search.number;
    if (!next) {
        services_.dialogs->ShowMessage(this, QStringLiteral("没有找到含有“") + text + QStringLiteral("”的记录。"),
                                       ProgramTitle(), DialogService::Icon::None);
        return;
    }
    // A record appended since the file was counted lies past the last page.
    if (*next > pager_.RecordCount())
        ReloadRecordFile();
    ShowPage(pager_.PageHolding(*next));
    SelectListedRecord(*next);
}

void RecordBrowserWindow::SelectListedRecord(qint64 number)
{
    const QString shown = list_->toPlainText();
    const std::optional<ListingEntry> entry = ListingEntryOf(shown, number);
    if (!entry)
        return;
    QTextCursor cursor = list_->textCursor();
    cursor.setPosition(int(entry->start));
    list_->setTextCursor(cursor);
    SelectRecordAtCaret();
}

void RecordBrowserWindow::ShowRecordInMainWindow()
{
    PlayClick();
    SetRecallCommandsVisible(false);
    bool converted = false;
    const qint64 number = recordNumber_->text().toLongLong(&converted);
    const RecordReading reading =
        converted ? ReadRecord(filePath_, number) : RecordReading{RecordFileStatus::RecordNotFound, {}};
    const std::optional<RecalledCast> recalled =
        reading.status == RecordFileStatus::Done ? RecallRecord(reading.record) : std::nullopt;
    if (!recalled) {
        SetRecallCommandsVisible(true);
        // A line that is there but holds no hexagram is damaged, not missing.
        const QString &message =
            reading.status == RecordFileStatus::Done ? DamagedRecordMessage : NotFoundRecordMessage;
        services_.dialogs->ShowMessage(this, message, ProgramTitle(), DialogService::Icon::None);
        recordNumber_->setText(QStringLiteral("0"));
        return;
    }
    castInHand_ = recalled->cast;
    display_.PrepareForNewCast();
    display_.ShowCast(recalled->resolution);
    accept();
}

void RecordBrowserWindow::SetRecallCommandsVisible(bool visible)
{
    for (QWidget *command : std::initializer_list<QWidget *>{closeCommand_, readCommand_, goCommand_, firstCommand_,
                                                             previousCommand_, nextCommand_, lastCommand_})
        command->setVisible(visible);
}

void RecordBrowserWindow::DeleteSelectedRecord()
{
    bool converted = false;
    const qint64 number = recordNumber_->text().toLongLong(&converted);
    if (!converted)
        return;
    if (!services_.dialogs->AskYesNo(this,
                                     QStringLiteral("将要彻底删除第 ") + QString::number(number) +
                                         QStringLiteral(" 号记录!\n确定要删除吗?"),
                                     QStringLiteral("删除记录文件"), false))
        return;
    // Deletes only while the record is still the line listed: another program
    // may have changed the file since.
    ReportDeletion(number, DeleteRecord(filePath_, number, ListedRecordLine(listing_, number)));

    deleteRecord_->setText(DeleteSelectedCaption);
    deleteRecord_->setEnabled(false);
    recordNumber_->setText(QStringLiteral("0"));
    openDefault_->setEnabled(false);
    pager_.Reset(0);
    SetPageText({});
    ReloadRecordFile();
}

void RecordBrowserWindow::ReportDeletion(qint64 number, const RecordDeletion &deletion)
{
    QString message;
    switch (deletion.status) {
    case RecordFileStatus::Done:
        message = deletion.recordsLeft > 0
            ? QStringLiteral("所选记录已成功删除!\n系统将重新读取刷新记录文件。")
            : QStringLiteral("所选记录已成功删除!\n现在记录文件为空。系统将彻底删除 ") +
                QDir::toNativeSeparators(filePath_) + QStringLiteral(" 文件！");
        break;
    case RecordFileStatus::RecordNotFound:
        message = NotFoundRecordMessage;
        break;
    case RecordFileStatus::RecordChanged:
        message = QStringLiteral("记录文件已被其它程序改动，第 ") + QString::number(number) +
                  QStringLiteral(" 号记录已不是所选的记录，没有删除任何记录。\n系统将重新读取刷新记录文件。");
        break;
    case RecordFileStatus::FileUnreadable:
    case RecordFileStatus::NotRecordFile:
    case RecordFileStatus::WriteFailed:
        message = QStringLiteral("无法删除第 ") + QString::number(number) +
                  QStringLiteral(" 号记录，记录文件没有改动。");
        break;
    }
    services_.dialogs->ShowMessage(this, message, ProgramTitle(), DialogService::Icon::None);
}

void RecordBrowserWindow::ShowFileNotFound()
{
    notFoundTimer_.stop();
    countLine_->setText(QStringLiteral("未有记录数据"));
    SetPageText({});
    const bool notRecordFile = ProbeRecordFile(filePath_) == RecordFileStatus::NotRecordFile;
    services_.dialogs->ShowMessage(this, notRecordFile ? QStringLiteral("不是记录文件。") : QStringLiteral("没有找到记录文件。"),
                                   ProgramTitle(), DialogService::Icon::None);
    saveAs_->setEnabled(false);
    readCommand_->setEnabled(false);
    pager_.DisableAll();
    ApplyPageCommands();
}

void ConnectRecordBrowserCommand(MainWindow &window, const RecordBrowserServices &services, CastResult &castInHand)
{
    QObject::connect(&window, &MainWindow::RecordsRequested, &window, [&window, services, &castInHand] {
        MainWindowCastDisplay display(window);
        RecordBrowserWindow browser(services, castInHand, display, &window);
        window.RunHiddenChild(browser);
    });
}
