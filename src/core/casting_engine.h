#pragma once

#include "core/cast_result.h"
#include "core/resolution.h"
#include "core/yarrow_stalks.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// What the name and matter fields of a cast keep, in the window and in the
// boxes that ask for them.
inline constexpr int NameFieldLength = 9;
inline constexpr int MatterFieldLength = 30;

// What the engine waits for. The timed phases are run by the casting
// window's timers: when the phase's delay has passed, it calls advance().
enum class CastingPhase {
    WaitingForStep, // before a line: the step command or the automatic start
    SplitDelay,
    HeapsShownDelay,
    Pause,
    LeftCounting,   // one tick per group of four, one more to finish the heap
    RightCounting,
    NextStepDelay,
    Finished,
};

enum class StatusLamp { Grey, Yellow, Red, Green };

enum class CastingField { Name, Matter };

// A step found a field empty: the window focuses the field, asks with an
// input box and puts the answer, cut to maxLength, into the field.
struct FieldPrompt {
    CastingField field;
    QString prompt;
    QString title;
    QString defaultText;
    int maxLength;
};

// The stalks of the change in hand: those in play (49 when a line begins;
// while a change is counted, the stalks counted off by fours), the two heaps
// and the hung stalk.
struct StalkCounters {
    int stalksInPlay = StalksPerLine;
    int leftPile = 0;
    int hungStalk = 0;
    int rightPile = 0;
};

// The yarrow-stalk procedure: three changes make a line, six lines a
// hexagram. The window drives the timed phases and draws what the signals
// report; after line 6 the cast is resolved and CastResolved carries the
// finished cast and its resolution. Created anew for every cast, as the
// window is.
class CastingEngine : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;

    // `divinerName`, the name remembered from earlier casts, is offered when
    // the name field is blank.
    CastingEngine(QString divinerName, RandomSource random, Clock clock, QObject *parent = nullptr);

    // The casting speed 1 … 5 chooses the sound a line starts with.
    void SetCastingSpeed(int speed) { castingSpeed_ = speed; }

    // The step command. Returns the prompt when the name or the matter field
    // is blank (automatic mode is then left); otherwise casts on. Ignored
    // unless the engine waits for a step.
    std::optional<FieldPrompt> Step(const QString &nameField, const QString &matterField);
    // The automatic-start command: available only before the first step.
    std::optional<FieldPrompt> StartAutomatic(const QString &nameField, const QString &matterField);
    // The delay of the pending timed phase has passed.
    void Advance();
    // Runs every pending timed phase at once, for a cast without animation.
    void RunPendingPhases();

    CastingPhase PendingPhase() const { return phase_; }
    bool IsTimedPhase() const;
    bool HasStarted() const { return started_; }
    bool AutoMode() const { return autoMode_; }
    int ChangeInLine() const { return changeInLine_; }
    int ChangesDone() const { return changesDone_; }
    // "推演初爻" … "推演上爻".
    QString StepCaption() const;
    const StalkCounters &Stalks() const { return stalks_; }
    // The cast so far: the values and characters of the lines finished, and,
    // once line 6 is finished, the time, name and matter.
    const CastResult &Cast() const { return cast_; }

signals:
    // Every step that casts on: disable the step command, prepare the main
    // window for a new result, start the animation, hide the automatic-start
    // and close commands, show the progress, disable the two fields.
    void StepStarted();
    // A sound file, relative to the program folder (ClickSound).
    void SoundRequested(const QString &path);
    void LampChanged(StatusLamp lamp);
    void ChangeMessageShown(const QString &message);
    void StalkCounterShown(int stalks);
    void HeapsShown(int left, int hung, int right);
    // "推演进度(5/18变)" and the progress bar, one "■" per finished change.
    void ProgressShown(const QString &text, int finishedChanges);
    // Value 6, 7, 8 or 9 of line 1..6; 6 and 9 are drawn red.
    void LineValueShown(int line, int value);
    // "变k爻" and the changed values of lines 1 … the line just finished.
    void ChangingLinesShown(const QString &label, const QList<int> &changedValues);
    // The main window's pictures of line 1..6 in both hexagrams.
    void LinePicturesShown(int line, const QString &primaryCode, const QString &resultingCode);
    // A line is finished and the next one waits for the step command, which
    // now carries `caption`, is enabled and has the focus.
    void ReadyForStep(const QString &caption);
    // Line 6 is finished and the cast resolved: the window shows the result,
    // appends the record and brings itself to its finished state.
    void CastResolved(const CastResult &cast, const ResolvedCast &resolved);

private:
    void CastOn();
    void StartLine();
    void SplitBundle();
    void ShowHeaps();
    void CountLeft();
    void CountRight();
    void FinishChange();
    void FinishLine();
    QString LineWord() const;
    QString ChangeMessage(const QString &event) const;

    QString divinerName_;
    RandomSource random_;
    Clock clock_;
    QString nameField_;
    QString matterField_;
    CastingPhase phase_ = CastingPhase::WaitingForStep;
    bool started_ = false;
    bool autoMode_ = false;
    int line_ = 1;
    int changeInLine_ = 0;
    int changesDone_ = 0;
    int castingSpeed_ = 0;
    StalkCounters stalks_;
    CastResult cast_;
};

// Casts `lineCount` lines with the engine and counts the values 6, 7, 8, 9
// (index 0 to 3).
std::array<int, 4> CountLineValues(int lineCount, RandomSource random);
