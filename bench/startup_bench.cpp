// Times the program's own start-up work beside an empty Qt window. Every run
// starts, one after the other, the empty-window reference (startup_reference,
// built beside this bench: one label of Chinese text, shown and painted) and
// the program's start-up, so both meet the same load on the machine; the
// bench compares their medians.
//
// Usage: startup_bench [RUNS] (default 15). For the program the bench starts
// itself again as a child, so the figures include loading the executable and
// its libraries; the child builds what the program builds, in the same order
// and with the same sound services (leaving out only the wiring of the
// commands that open other windows, which makes connections and nothing
// else; the calendar side, which also sets up the festival decorations, is
// wired as in the program), without the splash's fixed wait (the 1.2 s
// progress bar and the 0.1 s after it), and reports the end of each phase on
// the monotonic clock the parent read just before starting it. The program's
// own work is the time to the main window's first paint less the sound
// device's wait: the program loads the sound library and opens the device
// while its progress bar fills, so that wait is hidden behind the bar. Prints
// the median of every phase, of the wholes and their ratios to the empty
// window's time to its first paint. Run it with the platform the program
// would use (under Xvfb, or QT_QPA_PLATFORM=offscreen).

#include "shell/music_control.h"
#include "shell/music_player.h"
#include "shell/program_folder.h"
#include "shell/settings.h"
#include "shell/sound_device.h"
#include "shell/sound_effect.h"
#include "shell/sound_mp3_player.h"
#include "startup_timing.h"
#include "ui/art/fonts.h"
#include "ui/windows/calendar_commands.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"
#include "ui/windows/splash_window.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int DefaultRuns = 15;
const char *const ChildFlag = "--child";

// The phases of the start-up in their order.
struct Phase {
    const char *name;
    const char *meaning;
};
constexpr int SplashPhase = 3;
constexpr int SoundWaitPhase = 4;
constexpr Phase Phases[] = {
    {"loaded", "exec, dynamic loading and static set-up until main()"},
    {"application", "QApplication, Qt's Chinese translation, the interface font"},
    {"players", "effect, music and MP3 players (nothing plays before the device is open)"},
    {"splash", "splash window built, shown and painted"},
    {"sound wait", "sound library loaded, device opened (behind the bar in the program)"},
    {"settings", "settings file read"},
    {"main window", "main window, music control and calendar side built"},
    {"load", "the window's load: saying, outline, today's festivals, show"},
    {"first paint", "events until the main window has painted itself"},
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

    SplashWindow splash(VersionText(), CachedSplashPicture(VersionText()));
    const PaintWatch splashPaint(splash);
    splash.show();
    splashPaint.WaitUntilPainted();
    clock.End(3);

    // The program starts the device here, once the splash is on screen, and
    // waits for it when the bar is full.
    soundDevice.WaitUntilOpen();
    clock.End(4);

    Settings settings;
    ReadSettings(SettingsFilePath(), settings);
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
    MainWindow window(services, settings);
    FestivalTunes &tunes = window.Tunes();
    MusicControl music(MusicRecords{settings.musicState, tunes.gregorian, tunes.lunar}, backgroundPlayer,
                       festivalPlayer, window, programFolder);
    window.AttachMusic(&music);
    ConnectCalendarCommands(window, settings);
    clock.End(6);

    const PaintWatch windowPaint(window);
    window.Load([&splash] { splash.close(); });
    clock.End(7);

    windowPaint.WaitUntilPainted();
    clock.End(8);
    std::fflush(stdout);
    return 0;
}

// Starts a program that reports its phases as PhaseClock does, with the
// monotonic time as its last argument, and returns the end of each of its
// `phases` phases in ms, or nothing when it failed.
std::vector<double> RunOnce(const std::string &program, std::vector<std::string> arguments, size_t phases)
{
    int output[2];
    if (pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    arguments.insert(arguments.begin(), program);
    arguments.push_back(std::to_string(MonotonicNanoseconds()));
    std::vector<char *> argv;
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
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

    std::vector<double> ends(phases, -1.0);
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

std::string ReferencePath()
{
    std::string self = "/proc/self/exe";
    char path[4096];
    const ssize_t length = readlink(self.c_str(), path, sizeof path - 1);
    if (length <= 0)
        return {};
    self.assign(path, size_t(length));
    return self.substr(0, self.rfind('/') + 1) + "startup_reference";
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], ChildFlag) == 0)
        return RunChild(argc, argv, std::atoll(argv[2]));

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : DefaultRuns;
    const std::string self = "/proc/self/exe";
    const std::string reference = ReferencePath();
    std::vector<std::vector<double>> durations(std::size(Phases));
    std::vector<double> referenceLoaded;
    std::vector<double> referencePainted;
    std::vector<double> splashPainted;
    std::vector<double> windowPainted;
    std::vector<double> ownWork;
    for (int run = 0; run < runs; ++run) {
        const std::vector<double> emptyWindow = RunOnce(reference, {}, 2);
        if (emptyWindow.empty()) {
            std::fprintf(stderr, "empty-window run %d failed (%s)\n", run + 1, reference.c_str());
            return 1;
        }
        referenceLoaded.push_back(emptyWindow[0]);
        referencePainted.push_back(emptyWindow[1]);

        const std::vector<double> ends = RunOnce(self, {ChildFlag}, std::size(Phases));
        if (ends.empty()) {
            std::fprintf(stderr, "start-up run %d failed\n", run + 1);
            return 1;
        }
        for (size_t phase = 0; phase < ends.size(); ++phase)
            durations[phase].push_back(ends[phase] - (phase ? ends[phase - 1] : 0.0));
        splashPainted.push_back(ends[SplashPhase]);
        windowPainted.push_back(ends.back());
        ownWork.push_back(ends.back() - durations[SoundWaitPhase].back());
    }
    const double emptyWindowMs = Median(referencePainted);
    std::printf("median of %d alternating runs, ms\n", runs);
    for (size_t phase = 0; phase < std::size(Phases); ++phase)
        std::printf("%-12s %8.1f  %s\n", Phases[phase].name, Median(durations[phase]), Phases[phase].meaning);
    std::printf("%-12s %8.1f  exec to the main window's first paint\n", "total", Median(windowPainted));
    std::printf("\nempty window: %.1f until main(), %.1f to its first paint\n", Median(referenceLoaded),
                emptyWindowMs);
    std::printf("own work     %8.1f  total less the sound wait; ratio %.2f (target: 1.5)\n", Median(ownWork),
                Median(ownWork) / emptyWindowMs);
    std::printf("splash paint %8.1f  exec to the splash's first paint; ratio %.2f (target: 1.2)\n",
                Median(splashPainted), Median(splashPainted) / emptyWindowMs);
    return 0;
}
