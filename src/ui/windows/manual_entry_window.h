#pragma once

#include "core/manual_entry.h"
#include "ui/windows/panel_dialog.h"

#include <QDateTime>

#include <array>
#include <functional>

class CastDisplay;
class DialogService;
class EffectSound;
class MainWindow;
class PictureButton;
class QCheckBox;
class QLineEdit;
struct Settings;

// What the manual-entry window uses of the rest of the program. Tests hand
// in fakes and a fixed clock.
struct ManualEntryServices {
    DialogService *dialogs = nullptr;
    EffectSound *effects = nullptr;
    QString programFolder;
    std::function<QDateTime()> now;
    // The record file the entered cast is appended to.
    QString recordFilePath;
    // Opens a numbered topic of the help file, owned by the given window.
    std::function<void(QWidget *owner, int topic)> openHelpTopic;
};

// The manual-entry window "人工输入卦体": the time, name and matter,
// six one-character line boxes and six changing marks. On confirmation the
// fields are checked in order; a cast that passes is shown on the main
// window, appended to the record file and kept as the cast in hand, its name
// is remembered in the settings, and the window closes.
class ManualEntryWindow : public PanelDialog {
    Q_OBJECT
public:
    ManualEntryWindow(const ManualEntryServices &services, Settings &settings, CastResult &castInHand,
                      CastDisplay &display, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildHeading();
    void BuildTextFields();
    void BuildLineBoxes();
    void BuildCommands();
    void ConnectFields();

    void PlaySound(const char *relativePath);
    ManualEntryFields Fields() const;
    int LineBoxIndex(const QObject *object) const;
    QWidget *FieldAfterLine(int index) const;
    void FlipLineBox(int index);
    void MarkChanged(int index);
    void NameFieldDoubleClicked();
    void MatterFieldDoubleClicked();
    void OpenHelp();
    void Confirm();
    void Ask(const ManualFieldQuestion &question);
    void Report(const ManualLineFault &fault);
    void HandOver();

    ManualEntryServices services_;
    Settings &settings_;
    CastResult &castInHand_;
    CastDisplay &display_;

    QLineEdit *timeField_ = nullptr;
    QLineEdit *nameField_ = nullptr;
    QLineEdit *matterField_ = nullptr;
    std::array<QLineEdit *, LinesPerHexagram> lineBoxes_{};
    std::array<QCheckBox *, LinesPerHexagram> changingMarks_{};
    PictureButton *confirmCommand_ = nullptr;
    PictureButton *closeCommand_ = nullptr;
    PictureButton *helpCommand_ = nullptr;
    // The release that ends a double-click on a line box must not flip the
    // line a second time.
    bool swallowNextRelease_ = false;
};

// Connects the main window's manual-entry command (F6) to a new
// manual-entry window, run while the main window is hidden.
void ConnectManualEntryCommand(MainWindow &window, const ManualEntryServices &services, Settings &settings,
                               CastResult &castInHand);
