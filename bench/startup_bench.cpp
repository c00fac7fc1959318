// Times the program's own start-up work: from the start of the process to the
// first paint of the main window, without the splash's fixed wait (the 1.2 s
// progress bar and the 0.1 s after it), which the bench skips.
//
// Usage: startup_bench [RUNS] (default 10). The bench starts itself again as
// a child for every run, so the figures include loading the executable and
// its libraries; the child builds what the program builds, in the same order
// and with the same sound services (leaving out only the wiring of the
// commands that open other windows, which makes connections and nothing
// else; the calendar side, which also sets up the festival decorations, is
// wired as in the program), and reports
// the end of each phase on the monotonic clock the parent read just before
// starting it. Prints the median of every phase and of the whole, in ms. Run
// it with the platform the program would use (under Xvfb, or
// QT_QPA_PLATFORM=offscreen).

#include "calendar_commands.h"
#include "current_cast.h"
#include "dialog_service.h"
#include "fonts.h"
#include "main_window.h"
#include "music_control.h"
#include "music_player.h"
#include "program_folder.h"
#include "settings.h"
#include "sound_device.h"
#include "sound_effect.h"
#include "sound_mp3_player.h"
#include "splash_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPaintEvent>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int DefaultRuns = 10;
const char *const ChildFlag = "--child";

qint64 MonotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// The phases of the start-up in their order.
struct Phase {
    const char *name;
    const char *meaning;
};
constexpr Phase Phases[] = {
    {"loaded", "exec, dynamic loading and static set-up until main()"},
    {"application", "QApplication, Qt's Chinese translation, the interface font"},
    {"players", "effect, music and MP3 players (the device opens on its own thread)"},
    {"splash", "splash window built, shown and painted"},
    {"sound wait", "what is left of the device's opening (hidden behind the bar in the program)"},
    {"settings", "settings file read"},
    {"main window", "main window, music control and calendar side built"},
    {"load", "the window's load: saying, outline, today's festivals, show"},
    {"first paint", "events until the main window has painted itself"},
};

// Reports the end of a phase to the parent: phase index and time since the
// parent started the child.
class PhaseClock {
public:
    explicit PhaseClock(qint64 startNanoseconds) : start_(startNanoseconds) {}
    void End(int phase) const
    {
        std::printf("%d %lld\n", phase, static_cast<long long>(MonotonicNanoseconds() - start_));
    }

private:
    qint64 start_;
};

// Notes the first paint of a widget. Installed before the widget is shown:
// some platforms paint within show().
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget &widget) : widget_(widget) { widget_.installEventFilter(this); }
    ~PaintWatch() override { widget_.removeEventFilter(this); }

    void WaitUntilPainted() const
    {
        while (!painted_)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &widget_ && event->type() == QEvent::Paint)
            painted_ = true;
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget &widget_;
    bool painted_ = false;
};

// One start-up, as the program runs it, with the splash's wait left out.
int RunChild(int argc, char *argv[], qint64 startNanoseconds)
{
    const PhaseClock clock(startNanoseconds);
    clock.End(0);

    QCoreApplication::setOrganizationName(QStringLiteral("Ravezaz"));
    QCoreApplication::setApplicationName(QStringLiteral("Ravezaz"));
    BackgroundSoundDevice soundDevice;
    QApplication app(argc, argv);
    QTranslator qtTranslation;
    if (qtTranslation.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslation);
    QApplication::setFont(SansFont(12));
    clock.End(1);

    const QString programFolder = ProgramFolder();
    SdlEffectSound effects([] { QApplication::beep(); });
    SdlMusicPlayer backgroundPlayer;
    SdlMusicPlayer festivalPlayer;
    SdlMp3Player effectPlayer;
    SdlMp3Player aboutPlayer;
    WidgetDialogService dialogs;
    clock.End(2);

    SplashWindow splash(VersionText());
    const PaintWatch splashPaint(splash);
    splash.show();
    splashPaint.WaitUntilPainted();
    clock.End(3);

    soundDevice.WaitUntilOpen();
    clock.End(4);

    ReadSettings(SettingsFilePath(), TheSettings(), TheCurrentCast());
    clock.End(5);

    MainWindowServices services;
    services.dialogs = &dialogs;
    services.effects = &effects;
    services.effectPlayer = &effectPlayer;
    services.aboutPlayer = &aboutPlayer;
    services.openHelp = [](QWidget *) {};
    services.openWebPage = [] {};
    services.now = [] { return QDateTime::currentDateTime(); };
    services.random = UniformRandom;
    services.programFolder = programFolder;
    MainWindow window(services, TheSettings());
    FestivalTunes &tunes = window.Tunes();
    MusicControl music(MusicRecords{TheSettings().musicState, tunes.gregorian, tunes.lunar}, backgroundPlayer,
                       festivalPlayer, window, programFolder);
    window.AttachMusic(&music);
    ConnectCalendarCommands(window, TheSettings());
    clock.End(6);

    const PaintWatch windowPaint(window);
    window.Load([&splash] { splash.close(); });
    clock.End(7);

    windowPaint.WaitUntilPainted();
    clock.End(8);
    std::fflush(stdout);
    return 0;
}

// Starts the child and returns the end of each phase in ms, or nothing when
// the child failed.
std::vector<double> RunOnce()
{
    int output[2];
    if (pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    const std::string start = std::to_string(MonotonicNanoseconds());
    const char *self = "/proc/self/exe";
    char *arguments[] = {const_cast<char *>(self), const_cast<char *>(ChildFlag), const_cast<char *>(start.c_str()),
                         nullptr};
    pid_t child = 0;
    const int spawned = posix_spawn(&child, self, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t count; (count = read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, size_t(count));
    close(output[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};

    std::vector<double> ends(std::size(Phases), -1.0);
    int phase = 0;
    long long nanoseconds = 0;
    for (const char *line = text.c_str(); std::sscanf(line, "%d %lld", &phase, &nanoseconds) == 2;) {
        if (phase >= 0 && phase < int(ends.size()))
            ends[size_t(phase)] = double(nanoseconds) / 1e6;
        line = std::strchr(line, '\n');
        if (!line)
            break;
        ++line;
    }
    if (std::find(ends.begin(), ends.end(), -1.0) != ends.end())
        return {};
    return ends;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], ChildFlag) == 0)
        return RunChild(argc, argv, std::atoll(argv[2]));

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultRuns;
    std::vector<std::vector<double>> durations(std::size(Phases));
    std::vector<double> totals;
    for (int run = 0; run < runs; ++run) {
        const std::vector<double> ends = RunOnce();
        if (ends.empty()) {
            std::fprintf(stderr, "start-up run %d failed\n", run + 1);
            return 1;
        }
        for (size_t phase = 0; phase < ends.size(); ++phase)
            durations[phase].push_back(ends[phase] - (phase ? ends[phase - 1] : 0.0));
        totals.push_back(ends.back());
    }
    std::printf("median of %d runs, ms\n", runs);
    for (size_t phase = 0; phase < std::size(Phases); ++phase)
        std::printf("%-12s %8.1f  %s\n", Phases[phase].name, Median(durations[phase]), Phases[phase].meaning);
    std::printf("%-12s %8.1f  (target: under 150)\n", "total", Median(totals));
    return 0;
}
