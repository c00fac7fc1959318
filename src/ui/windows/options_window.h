#pragma once

#include "shell/music_control.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class AnimatedPicture;
class DialogService;
class EffectSound;
class MainWindow;
class MusicToggleBox;
class PictureButton;
class PictureLabel;
class QCheckBox;
class QPushButton;
struct Settings;

// The two system tools the options window reaches.
enum class SystemTool { DateTime, Volume };

// One way to start a system tool: a program and its arguments.
struct ToolCommand {
    QString program;
    QStringList arguments;
};

// The desktop tools that show the date and time settings or the volume
// control, in the order they are tried.
const std::vector<ToolCommand> &ToolCommandsFor(SystemTool tool);

// Starts the first command whose program `find` locates and `start` can
// run. False when none could be started.
bool StartFirstInstalled(const std::vector<ToolCommand> &commands,
                         const std::function<QString(const QString &program)> &find,
                         const std::function<bool(const QString &program, const QStringList &arguments)> &start);

// The same on this machine: programs on the PATH, started detached.
bool StartSystemTool(SystemTool tool);

// What the options change on the main window.
class OptionsTarget {
public:
    virtual ~OptionsTarget() = default;
    // The main window's music toggle as it shows.
    virtual MusicToggle ShownMusicToggle() const = 0;
    // Enables the main window's music toggle and sets its value, which runs
    // the toggle's handler when the value changes.
    virtual void SetMusicToggle(int value) = 0;
    // The quotes banner switched on or off.
    virtual void ShowQuotes(bool shown) = 0;
    // Makes the main window's next clock tick count as a change of day.
    virtual void ForgetToday() = 0;
};

// The main window as the options see it.
class MainWindowOptionsTarget final : public OptionsTarget {
public:
    MainWindowOptionsTarget(MainWindow &window, MusicControl &music);

    MusicToggle ShownMusicToggle() const override;
    void SetMusicToggle(int value) override;
    void ShowQuotes(bool shown) override;
    void ForgetToday() override;

private:
    MainWindow &window_;
    MusicControl &music_;
};

// What the options window uses of the rest of the program.
struct OptionsServices {
    DialogService *dialogs = nullptr;
    EffectSound *effects = nullptr;
    QString programFolder;
    std::function<void()> openWebPage;
    std::function<bool(SystemTool)> startSystemTool = StartSystemTool;
};

// The options window "功能选项": background music, the quotes
// banner, printing with translation and today's tips, each taking effect at
// once; the product's web page, the system's date/time and volume tools,
// and a reload that makes the main window re-evaluate the day.
class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    // `endGuard` ends the main window's minimise/close guard when the window
    // closes.
    OptionsWindow(const OptionsServices &services, Settings &settings, OptionsTarget &target,
                  std::function<void()> endGuard, QWidget *parent);

    void done(int result) override;

protected:
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void BuildBackground();
    void BuildOptionBoxes();
    void BuildCommands();
    void ShowCurrentOptions();

    void PlayClick();
    void ToggleMusic();
    void SetQuotes(bool shown);
    void OpenWebPage();
    void StartTool(SystemTool tool);
    void Reload();

    OptionsServices services_;
    Settings &settings_;
    OptionsTarget &target_;
    std::function<void()> endGuard_;
    PictureLabel *background_ = nullptr;
    MusicToggleBox *musicBox_ = nullptr;
    QCheckBox *quotesBox_ = nullptr;
    QCheckBox *translationBox_ = nullptr;
    QCheckBox *tipsBox_ = nullptr;
    PictureButton *webButton_ = nullptr;
    QPushButton *dateTimeButton_ = nullptr;
    QPushButton *volumeButton_ = nullptr;
    AnimatedPicture *reload_ = nullptr;
};

// Connects the main window's options command (F4) to a new
// options window, run behind the main window's guard.
void ConnectOptionsCommand(MainWindow &window, MusicControl &music, Settings &settings,
                           const OptionsServices &services);
