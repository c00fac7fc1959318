#pragma once

#include "core/cast_result.h"
#include "records/record_pager.h"
#include "ui/windows/panel_dialog.h"

#include <QTimer>

#include <array>
#include <optional>

class CastDisplay;
class DialogService;
class EffectSound;
class MainWindow;
class PictureButton;
class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
struct RecordDeletion;

// The open-file and save-file dialogs of the record browser; tests answer
// them without a modal loop.
class RecordFileDialogs {
public:
    virtual ~RecordFileDialogs() = default;
    // An existing record file to browse, chosen from `folder` on; nothing
    // when the user cancels.
    virtual std::optional<QString> ChooseFileToOpen(QWidget *parent, const QString &folder) = 0;
    // A name to save the browsed file as, asked before overwriting an
    // existing file; nothing when the user cancels.
    virtual std::optional<QString> ChooseFileToSave(QWidget *parent, const QString &folder) = 0;
};

// The real dialogs: Chinese file dialogs, filtered to record files (*.kdf).
class WidgetRecordFileDialogs final : public RecordFileDialogs {
public:
    std::optional<QString> ChooseFileToOpen(QWidget *parent, const QString &folder) override;
    std::optional<QString> ChooseFileToSave(QWidget *parent, const QString &folder) override;
};

// What the record browser uses of the rest of the program.
struct RecordBrowserServices {
    DialogService *dialogs = nullptr;
    RecordFileDialogs *fileDialogs = nullptr;
    EffectSound *effects = nullptr;
    QString programFolder;
    // The default record file, the one casts are appended to.
    QString recordFilePath;
    // How long the window waits before it says its file is missing.
    int notFoundDelayMs = 1000;
};

// The record browser "查看占筮记录": pages through a record file twenty
// records at a time, selects a record by a click on its entry, shows it
// again on the main window (读取), finds the next record that holds a text
// (查找), deletes it, browses another record file
// or the default one, and saves a copy of the browsed file. Every page and
// every record is read afresh from the file; only the page shown is held.
// Without a mouse: Tab walks the controls in reading order, Enter in the
// list reads the entry at the caret back, Delete asks to delete it, Alt+F
// opens the 文件 menu, Esc closes the window.
class RecordBrowserWindow : public PanelDialog {
    Q_OBJECT
public:
    // A record shown again becomes `castInHand`.
    RecordBrowserWindow(const RecordBrowserServices &services, CastResult &castInHand, CastDisplay &display,
                        QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildMenu();
    void BuildFindBox(QMenuBar &menuBar);
    void BuildList();
    void BuildRecordRow();
    void BuildPageRow();
    void NameControls();
    void OrderTabStops();
    void WatchKeys();
    void NoteListEnterPress(const QEvent &event);
    bool HandleListKey(const QKeyEvent &key);
    bool HandleFindRowEscape(const QObject *watched);

    void PlayClick();
    void BrowseDefaultFile();
    void BrowseOtherFile();
    void SaveFileAs();
    void BrowseFile(const QString &path);
    // The folder of the file browsed, where the file dialogs open.
    QString BrowsedFolder() const;
    void ReloadRecordFile();
    void GoToTypedPage();
    void ShowPage(const PageRange &range);
    void SetPageText(const QString &text);
    void ApplyPageCommands();
    void SelectRecordAtCaret();
    void FindNextRecord();
    void SelectListedRecord(qint64 number);
    void ShowRecordInMainWindow();
    void SetRecallCommandsVisible(bool visible);
    void DeleteSelectedRecord();
    void ReportDeletion(qint64 number, const RecordDeletion &deletion);
    void ShowFileNotFound();

    RecordBrowserServices services_;
    CastResult &castInHand_;
    CastDisplay &display_;
    QString filePath_;
    QString listing_; // the page as ListRecords gave it, before it is shaped for display
    RecordPager pager_;
    bool listEnterPressed_ = false; // Enter went down in the list, its release is due

    QAction *openOther_ = nullptr;
    QAction *openDefault_ = nullptr;
    QAction *saveAs_ = nullptr;
    QAction *deleteRecord_ = nullptr;
    QAction *exit_ = nullptr;
    QPlainTextEdit *list_ = nullptr;
    QLineEdit *recordNumber_ = nullptr;
    PictureButton *readCommand_ = nullptr;
    PictureButton *closeCommand_ = nullptr;
    QLabel *countLine_ = nullptr;
    QLabel *pageCaption_ = nullptr;
    QLineEdit *pageBox_ = nullptr;
    QLineEdit *findBox_ = nullptr;
    QPushButton *findCommand_ = nullptr;
    QPushButton *goCommand_ = nullptr;
    QPushButton *firstCommand_ = nullptr;
    QPushButton *previousCommand_ = nullptr;
    QPushButton *nextCommand_ = nullptr;
    QPushButton *lastCommand_ = nullptr;
    QTimer notFoundTimer_;
};

// Connects the main window's record command (F7) to a new record
// browser, run while the main window is hidden.
void ConnectRecordBrowserCommand(MainWindow &window, const RecordBrowserServices &services, CastResult &castInHand);
