#pragma once

#include "shell/music_state.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class MusicPlayer;
class QTimer;

// Values of the music toggle.
enum MusicToggleValue { MusicOff = 0, BackgroundMusic = 1, FestivalMusic = 2 };

// What the music toggle shows: its value, caption and tooltip.
struct MusicToggle {
    int value = MusicOff;
    QString caption;
    QString tooltip;

    bool operator==(const MusicToggle &) const = default;
};

// What the music needs of the window that carries the toggle.
class MusicWindow {
public:
    virtual ~MusicWindow() = default;
    // An OK box without icon under the program title.
    virtual void ShowMusicMessage(const QString &text) = 0;
    // The toggle's value, caption or tooltip changed.
    virtual void ShowMusicToggle(const MusicToggle &toggle) = 0;
    // Leaving festival music takes the festival decorations away.
    virtual void ResetToIdleView() = 0;
};

// The program-wide values the music reads and writes: the remembered music
// state of the settings and the day's festival tune names.
struct MusicRecords {
    MusicState &musicState;
    QString &gregorianMusicName;
    QString &lunarMusicName;
};

// A number uniform in [0, 1) from the seeded-by-clock generator.
double UniformRandom();

// The 1-based index of the next background piece among `count`: with two or
// more, drawn again until it differs from `lastIndex`. `random` gives numbers
// uniform in [0, 1).
int PickPieceIndex(int count, int lastIndex, const std::function<double()> &random);

// The names of the background pieces (*.mid in "/mid/"), in listing order.
QStringList ListBackgroundPieces(const QString &programFolder);

// The toggle's tooltip while a background piece plays.
QString BackgroundPieceTooltip(const QString &pieceName);

// The day's festival tune: the lunar festival's if any, else the Gregorian
// one's, else the general festival tune.
QString FestivalTunePath(const QString &programFolder, const QString &gregorianMusicName,
                         const QString &lunarMusicName);

// The music for a newly evaluated day: festival music when a tune name is
// set, background music when music counts as on, nothing to change otherwise.
std::optional<int> MusicToggleForDay(MusicState musicState, MusicState savedMusicState,
                                     const QString &gregorianMusicName, const QString &lunarMusicName);

// Background and festival music, driven by the music toggle. The toggle's
// value lives here; the window shows it and forwards the user's clicks. The
// one-shot timers "background_piece_timer" (next background piece) and
// "festival_tune_timer" (festival tune) are children of this object.
class MusicControl : public QObject {
    Q_OBJECT
public:
    MusicControl(MusicRecords records, MusicPlayer &backgroundPlayer, MusicPlayer &festivalPlayer,
                 MusicWindow &window, QString programFolder,
                 std::function<double()> random = UniformRandom, QObject *parent = nullptr);

    const MusicToggle &Toggle() const { return toggle_; }
    MusicState SavedMusicState() const { return savedMusicState_; }

    // Sets the toggle; the change handler runs only when the value changes.
    void SetToggleValue(int value);
    // A click or key M: music that is on goes off, music that is off goes to
    // background music.
    void ToggleByUser();

    // Ticks of the two timers.
    void StartBackgroundPiece();
    void StartFestivalTune();

    // The change of day: remembers whether background music was on and
    // switches all music off until the new day's music is decided.
    void BeginDayChange();
    // After the new day's festivals are known: switches to festival or
    // background music by MusicToggleForDay.
    void ApplyDayMusic();

private:
    void OnToggleChanged(int previous);
    void OnBackgroundFinished();
    void OnFestivalFinished();
    void ShowToggle(const QString &caption, const QString &tooltip);

    MusicRecords records_;
    MusicPlayer &backgroundPlayer_;
    MusicPlayer &festivalPlayer_;
    MusicWindow &window_;
    const QString programFolder_;
    const std::function<double()> random_;
    QTimer *const backgroundTimer_;
    QTimer *const festivalTimer_;
    MusicToggle toggle_;
    int lastPieceIndex_ = 0;
    MusicState savedMusicState_ = MusicState::Unset;
};
