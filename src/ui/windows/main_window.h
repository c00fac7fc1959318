#pragma once

#include "core/resolution.h"
#include "shell/music_control.h"
#include "ui/windows/shown_cast.h"

#include <QDate>
#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class SayingLabel;
class FestivalOverlay;
class ChildWindowGuard;
class ClickableLabel;
class DialogService;
class EffectSound;
class HexagramTextBox;
class Mp3Player;
class MusicToggleBox;
class PictureButton;
class PictureLabel;
class QDialog;
class QGroupBox;
class QLabel;
class WindowDrag;
struct CastResolution;
struct DateEvaluation;
struct HexagramView;
struct Settings;

// What the main window uses of the rest of the program. Tests hand in fakes.
struct MainWindowServices {
    DialogService *dialogs = nullptr;
    EffectSound *effects = nullptr;
    // The festival sound effects (the window's MP3 player).
    Mp3Player *effectPlayer = nullptr;
    // The about window's music.
    Mp3Player *aboutPlayer = nullptr;
    std::function<void(QWidget *owner)> openHelp;
    std::function<void()> openWebPage;
    std::function<QDateTime()> now;
    // Numbers uniform in [0, 1) for the banner's draw.
    std::function<double()> random;
    QString programFolder;
    // How often the clock line is redrawn and a new day is looked for; tests
    // that change the day tick faster.
    int clockIntervalMs = 1000;
};

// The names of the day's festival tunes, read by the music.
struct FestivalTunes {
    QString gregorian;
    QString lunar;
};

// The main window: the hub of the program. It shows the idle view
// (sayings banner and decorative pictures) or the cast view (primary and
// resulting hexagram), the clock and the date lines, and starts every
// function by a picture button or a key.
class MainWindow : public QWidget, public MusicWindow {
    Q_OBJECT
public:
    MainWindow(const MainWindowServices &services, Settings &settings, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Connects the music toggle to the music. Until then the toggle only shows.
    void AttachMusic(MusicControl *music);

    // The window's own part of start-up, after the settings are read: the
    // about link's colour, the first saying, the banner option, the outline,
    // today's date and its evaluation; `closeSplash` runs when the splash is
    // due to go. Shows the window at the end.
    void Load(const std::function<void()> &closeSplash);

    // The cast view, filled from a resolved cast.
    void ShowCastView(const CastResolution &cast);
    // A cast begins behind the casting window: the banner and the idle
    // pictures go, the resulting hexagram's frame hides and printing opens.
    void PrepareForNewCast();
    // The pictures of line 1..6 of both hexagrams while they are cast, by
    // line-picture code.
    void ShowCastLine(int line, const QString &primaryCode, const QString &resultingCode);
    // The cast view as values, for a print layout: the last cast shown.
    ShownCast ShownCastView() const;
    void SetPrintEnabled(bool enabled);
    // Switched on, the quotes banner brings back the idle view's pictures in
    // their upper places and takes a shown cast off the window; switched
    // off, the banner goes and the pictures move down into its place. The
    // festival decorations are left as they are.
    void ShowQuotesBanner(bool shown);
    // The music toggle as the window shows it, and making it usable.
    MusicToggle ShownMusicToggle() const;
    void EnableMusicToggle();
    // Switches on the festival decorations an evaluation asks for; the idle
    // view takes them all off again.
    void ShowDecorations(const DateEvaluation &evaluation);

    // ResetToIdleView: festival overlay off, idle pictures and banner back,
    // cast hidden, print disabled, the cast commands enabled.
    void ResetToIdleView() override;

    // Runs a child window that replaces this one: this window hides and
    // comes back half a second after the child closes.
    void RunHiddenChild(QDialog &child);
    // Runs a child window over this one behind the minimise/close guard.
    void RunGuardedChild(QDialog &child);
    ChildWindowGuard &Guard() { return *guard_; }

    // Selects a date and starts the day-change step (the calendar window).
    void SelectDate(QDate date);
    void SetCalendarWindowOpen(bool open) { calendarWindowOpen_ = open; }
    // The calendar window writes the clock line while it is open.
    void ShowClockText(const QString &text);
    // The calendar window's cells are filled at the calendar grid timer's tick.
    void StartCalendarGridTimer() { calendarGridTimer_.start(); }
    QDate Today() const { return today_; }
    const MainWindowServices &Services() const { return services_; }
    // The options window's reload: the next clock tick counts as a change of day.
    void ForgetToday() { today_ = QDate(); }
    QDate SelectedDate() const { return selectedDate_; }
    FestivalTunes &Tunes() { return tunes_; }

    // MusicWindow
    void ShowMusicMessage(const QString &text) override;
    void ShowMusicToggle(const MusicToggle &toggle) override;

signals:
    // The user asked for a function whose window lives elsewhere.
    void CastRequested();
    void ManualEntryRequested();
    void RecordsRequested();
    void TrigramsRequested();
    void PrintRequested();
    void CalendarRequested();
    void OptionsRequested();
    // 1 for the primary hexagram, 2 for the resulting one.
    void TranslationRequested(int which);
    // `rule` is the changing-line rule the cast view shows.
    void RuleHelpRequested(const QString &rule);
    // The festival evaluation of the selected date is done; the festival
    // overlay and the calendar window show their part of it.
    void DateEvaluated(const DateEvaluation &evaluation);
    void TodaysTipsDue();
    void CalendarGridDue();
    // A new day began: the today's-tips window closes, and an open calendar
    // window closes (its closing selects today).
    void TodaysTipsCloseRequested();
    // The today's tips are about to open: the options window, whose music
    // box the day change has made stale, closes first.
    void OptionsCloseRequested();
    void CalendarCloseRequested();
    // The user confirmed the exit, or the system closed the window.
    void ExitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    struct KeyCommand {
        int key;
        std::function<bool()> allowed;
        std::function<void()> run;
    };

    // The controls of one hexagram's frame.
    struct HexagramFrame {
        QGroupBox *frame = nullptr;
        QLabel *handle = nullptr;
        QLabel *nameShadow = nullptr;
        QLabel *name = nullptr;
        QLabel *number = nullptr;
        QLabel *lines = nullptr;
        HexagramTextBox *text = nullptr;
        // Lines 1..6, the bottom line first.
        std::array<PictureLabel *, 6> linePictures{};
    };

    void BuildBackground();
    void BuildHeader();
    void BuildBanner();
    void BuildIdlePictures();
    void BuildCommandBar();
    void BuildFooter();
    void BuildCastFrames();
    void BuildCastDetails();
    void BuildFestivalOverlay();
    void BuildHiddenStores();
    void BuildTimers();
    void BuildKeyTable();
    void ConnectMouse();
    void MakeDragHandles();
    void SetTabOrder();
    void WatchKeys();

    void PlayClick();
    // The click sound, then `signal`.
    std::function<void()> ClickThen(void (MainWindow::*signal)());
    void PickQuote();
    void PlaceIdlePictures(bool bannerShown);
    void HideCastView();
    void SetBannerVisible(bool visible);
    void OpenHelp();
    void OpenWebPageWithClick();
    void OpenAbout();
    void OpenAboutByLink();
    void ConfirmExit();
    void ToggleMusic();
    void ClockTick();
    // The reshow timer's tick: back after a hidden child, normal and active whatever state
    // the window was in before it hid.
    void ShowAgain();
    void DayChangeStep();
    void EvaluateSelectedDay();
    void ApplyEvaluation(const DateEvaluation &evaluation);
    void ShowHexagram(const HexagramFrame &frame, const HexagramView &hexagram);
    // The stored line picture of a line-picture code; none for another code.
    const PictureLabel *LinePictureStore(const QString &code) const;

    MainWindowServices services_;
    Settings &settings_;
    MusicControl *music_ = nullptr;
    WindowDrag *drag_ = nullptr;
    ChildWindowGuard *guard_ = nullptr;
    std::vector<KeyCommand> keyTable_;

    QDate today_;
    QDate selectedDate_;
    bool calendarWindowOpen_ = false;
    FestivalTunes tunes_;

    PictureLabel *background_ = nullptr;
    QLabel *titleBarHandle_ = nullptr;
    PictureLabel *minimisePicture_ = nullptr;
    PictureLabel *closePicture_ = nullptr;
    std::array<PictureLabel *, 4> windowButtonStore_{};
    // The four line pictures with their line-picture codes.
    std::array<std::pair<QString, PictureLabel *>, 4> linePictureStore_{};
    SayingLabel *saying_ = nullptr;
    ClickableLabel *sayingSource_ = nullptr;
    PictureLabel *wheelPicture_ = nullptr;
    PictureLabel *scrollPicture_ = nullptr;
    PictureLabel *sealPicture_ = nullptr;

    PictureButton *castButton_ = nullptr;
    PictureButton *manualEntryButton_ = nullptr;
    PictureButton *recordsButton_ = nullptr;
    PictureButton *trigramsButton_ = nullptr;
    PictureButton *printButton_ = nullptr;
    PictureButton *calendarButton_ = nullptr;
    PictureButton *helpButton_ = nullptr;
    PictureButton *optionsButton_ = nullptr;

    QLabel *clockLine_ = nullptr;
    ClickableLabel *lunarLine_ = nullptr;
    QLabel *weekdayLine_ = nullptr;
    MusicToggleBox *musicToggle_ = nullptr;
    ClickableLabel *aboutLink_ = nullptr;

    CastResolution shownCast_;
    HexagramFrame primary_;
    HexagramFrame resulting_;
    std::array<QLabel *, 6> linePositions_{};
    std::array<QLabel *, 3> detailCaptions_{};
    std::array<QLabel *, 3> detailValues_{};
    ClickableLabel *ruleLabel_ = nullptr;

    std::unique_ptr<FestivalOverlay> festivalOverlay_;

    QTimer clockTimer_;
    QTimer reshowTimer_;
    QTimer dayChangeTimer_;
    QTimer todaysTipsTimer_;
    QTimer calendarGridTimer_;
};
