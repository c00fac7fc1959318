#pragma once

#include "core/casting_engine.h"
#include "core/casting_speed.h"
#include "ui/art/casting_art.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class CastDisplay;
class DialogService;
class EffectSound;
class PictureButton;
class PictureLabel;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class WindowDrag;
struct Settings;

// What the casting window uses of the rest of the program. Tests hand in
// fakes and a fixed random source.
struct CastingWindowServices {
    DialogService *dialogs = nullptr;
    EffectSound *effects = nullptr;
    QString programFolder;
    RandomSource random;
    CastingEngine::Clock now;
    // The record file the finished cast is appended to.
    QString recordFilePath;
    CastingSchedule schedule = StandardCastingSchedule();
};

// The casting window "推演卦体": asks for the name and the matter,
// drives the casting engine with timers at the chosen speed and shows the
// stalks being split and counted, the line values and the progress. When the
// sixth line is cast it shows the result on the main window, appends the
// record, keeps the cast as the cast in hand and offers the finish command;
// in automatic mode it closes itself after a countdown. The diviner's name
// and the casting speed are kept in the settings. Created anew for every
// cast.
class CastingWindow : public QDialog {
    Q_OBJECT
public:
    CastingWindow(const CastingWindowServices &services, Settings &settings, CastResult &castInHand,
                  CastDisplay &display, QWidget *parent = nullptr);
    ~CastingWindow() override;

    // The escape key and the system's close command act as the close
    // command before the first step and as the finish command once the cast
    // is finished; while lines are cast they do nothing.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeyCommand {
        int key;
        bool keypadWithModifier; // keypad key with Shift, Ctrl or Alt held
        std::function<bool()> allowed;
        std::function<void()> run;
    };

    void BuildBackground();
    void BuildTray();
    void BuildEntryPanel();
    void BuildValuePanel();
    void BuildQuotePanel();
    void BuildCommands();
    void BuildKeyTable();
    void BuildTimers();
    void ConnectEngine();

    void PlaySound(const QString &relativePath);
    void ApplySpeed();
    void ChangeSpeed(const std::function<QString(const QString &)> &nextBar);
    void Step();
    void StartAutomatic();
    void AfterStep(const std::optional<FieldPrompt> &prompt);
    void AskForField(const FieldPrompt &prompt);
    void SchedulePendingPhase(std::optional<qint64> start = std::nullopt);
    void AdvancePhase();
    void FieldDoubleClicked(QLineEdit *field);
    bool IsSpeedKey(int key, Qt::KeyboardModifiers modifiers) const;
    bool KeyPressed(QObject *watched, const QKeyEvent &key);
    bool KeyReleased(const QKeyEvent &key);

    void OnStepStarted();
    void ShowLamp(StatusLamp lamp);
    void ShowHeaps(int left, int hung, int right);
    void ShowProgress(const QString &text, int finishedChanges);
    void ShowLineValue(int line, int value);
    void ShowChangingLines(const QString &label, const QList<int> &changedValues);
    void ShowReadyForStep(const QString &caption);
    void ShowResolution(const CastResult &cast, const ResolvedCast &resolved);
    void AppendCastRecord(const DivinationRecord &record);
    void EnterFinishedState();
    void NextAnimationFrame();
    void ExitCountdownTick();
    void Finish();
    void CloseWithoutCasting();

    CastingWindowServices services_;
    Settings &settings_;
    CastResult &castInHand_;
    CastDisplay &display_;
    CastingEngine *engine_ = nullptr;
    WindowDrag *drag_ = nullptr;
    CastingTimings timings_{};
    std::vector<KeyCommand> keyTable_;
    int exitCountdown_ = 0;
    int animationFrame_ = 1;
    Qt::KeyboardModifiers pressModifiers_;

    PictureLabel *background_ = nullptr;
    PictureLabel *banner_ = nullptr;
    PictureLabel *animation_ = nullptr;
    PictureLabel *lamp_ = nullptr;
    QLabel *trayHandle_ = nullptr;
    QLabel *changeMessage_ = nullptr;
    QLabel *stalkCounter_ = nullptr;
    std::array<QLabel *, 3> heapCounters_{}; // left heap, hung stalk, right heap
    QLineEdit *nameField_ = nullptr;
    QLineEdit *matterField_ = nullptr;
    QLabel *speedBar_ = nullptr;
    PictureButton *slowerCommand_ = nullptr;
    PictureButton *fasterCommand_ = nullptr;
    std::array<QLabel *, LinesPerHexagram> lineValues_{};
    std::array<QLabel *, LinesPerHexagram> changedValues_{};
    QLabel *changingLines_ = nullptr;
    QLabel *progressText_ = nullptr;
    QLabel *progressBar_ = nullptr;
    QLabel *exitHint_ = nullptr;
    QPushButton *stepCommand_ = nullptr;
    QPushButton *automaticCommand_ = nullptr;
    QPushButton *finishCommand_ = nullptr;
    PictureButton *closeCommand_ = nullptr;
    // Hidden stores: the four lamp pictures and the ten animation frames.
    std::array<PictureLabel *, 4> lampStore_{};
    std::array<PictureLabel *, StalkFrameCount> frameStore_{};

    QTimer phaseTimer_;
    // Times the phases: when the pending one is due, in ms since the window opened.
    QElapsedTimer clock_;
    qint64 phaseDue_ = 0;
    QTimer animationTimer_;
    QTimer exitTimer_;
};
