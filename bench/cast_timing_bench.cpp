// Timing fidelity of an automatic cast: the casting window runs a whole cast
// with its real timers and sound effects, and the time from the automatic
// start to the resolved cast is compared with the sum of the speed table's
// durations for the stalks actually counted.
//
// Usage: cast_timing_bench [SPEED...] (default 5 3). One cast per speed;
// prints the expected and measured time in ms and the deviation in per cent
// (target: within 10). Run it with the platform the program would use (under
// Xvfb, or QT_QPA_PLATFORM=offscreen).

#include "core/casting_engine.h"
#include "core/casting_speed.h"
#include "core/cast_result.h"
#include "shell/program_folder.h"
#include "shell/settings.h"
#include "shell/sound_device.h"
#include "shell/sound_effect.h"
#include "ui/windows/cast_display.h"
#include "ui/windows/casting_window.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int DefaultSpeeds[] = {5, 3};

// Counting ticks a heap takes: one per group of four counted, one more that
// finds the remainder.
int CountingTicks(int heap)
{
    return (heap - 1) / StalksPerGroup + 1;
}

// The duration the speed table gives one change whose split left the heaps
// `left` and `right`.
qint64 ChangeDuration(const CastingTimings &timings, int left, int right)
{
    return timings.splitDelay + timings.heapsShown + timings.pause
        + qint64(CountingTicks(left) + CountingTicks(right)) * timings.countingTick + timings.nextStepDelay;
}

struct CastTiming {
    qint64 expectedMs = 0;
    qint64 measuredMs = 0;
    int changes = 0;
};

// Adds up the durations of the changes as the engine shows their heaps: the
// first heaps with the hung stalk after the counters were cleared are the
// split of a new change.
class ExpectedDuration : public QObject {
public:
    ExpectedDuration(CastingEngine &engine, const CastingTimings &timings) : timings_(timings)
    {
        connect(&engine, &CastingEngine::HeapsShown, this, [this](int left, int hung, int right) {
            if (hung == 0) {
                splitPending_ = true;
            } else if (splitPending_) {
                splitPending_ = false;
                totalMs += ChangeDuration(timings_, left, right);
                ++changes;
            }
        });
    }

    qint64 totalMs = 0;
    int changes = 0;

private:
    CastingTimings timings_;
    bool splitPending_ = false;
};

// Boxes are not expected: both fields are filled before the start.
class NoDialogs final : public DialogService {
public:
    void ShowMessage(QWidget *, const QString &text, const QString &, Icon) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    }
    bool AskYesNo(QWidget *, const QString &, const QString &, bool) override { return false; }
    std::optional<QString> AskText(QWidget *, const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
};

CastTiming TimeAutomaticCast(int speed, EffectSound &effects, DialogService &dialogs, const QString &recordFile)
{
    Settings settings;
    settings.castingSpeed = speed;
    settings.divinerName = QStringLiteral("某官");
    CastResult castInHand;
    MainWindowServices mainServices;
    mainServices.dialogs = &dialogs;
    mainServices.effects = &effects;
    mainServices.openHelp = [](QWidget *) {};
    mainServices.openWebPage = [] {};
    mainServices.now = [] { return QDateTime::currentDateTime(); };
    mainServices.random = UniformRandom;
    mainServices.programFolder = ProgramFolder();
    MainWindow mainWindow(mainServices, settings);
    MainWindowCastDisplay display(mainWindow);

    const CastingWindowServices services{&dialogs, &effects, ProgramFolder(), SystemRandomSource(),
                                         [] { return QDateTime::currentDateTime(); }, recordFile};
    CastingWindow window(services, settings, castInHand, display);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        std::fprintf(stderr, "the casting window was not exposed\n");
    window.findChild<QLineEdit *>(QStringLiteral("diviner_name_field"))->setText(QStringLiteral("某官"));
    window.findChild<QLineEdit *>(QStringLiteral("matter_field"))->setText(QStringLiteral("某事云云"));

    auto *engine = window.findChild<CastingEngine *>();
    ExpectedDuration expected(*engine, *TimingsOfSpeed(speed));
    QElapsedTimer clock;
    qint64 resolvedAt = -1;
    QObject::connect(engine, &CastingEngine::CastResolved, &window,
                     [&](const CastResult &, const ResolvedCast &) { resolvedAt = clock.elapsed(); });

    clock.start();
    window.findChild<QPushButton *>(QStringLiteral("automatic_button"))->click();
    while (resolvedAt < 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return {expected.totalMs, resolvedAt, expected.changes};
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SoundDevice soundDevice;
    SdlEffectSound effects([] { QApplication::beep(); });
    NoDialogs dialogs;
    const QTemporaryDir folder;
    const QString recordFile = folder.filePath(QStringLiteral("filelog.kdf"));

    QList<int> speeds;
    for (int i = 1; i < argc; ++i)
        speeds << std::atoi(argv[i]);
    if (speeds.isEmpty())
        speeds = QList<int>(std::begin(DefaultSpeeds), std::end(DefaultSpeeds));

    std::printf("speed  changes  expected ms  measured ms  deviation %%\n");
    for (const int speed : speeds) {
        if (!TimingsOfSpeed(speed)) {
            std::fprintf(stderr, "no speed %d\n", speed);
            return 1;
        }
        const CastTiming timing = TimeAutomaticCast(speed, effects, dialogs, recordFile);
        const double deviation = 100.0 * double(timing.measuredMs - timing.expectedMs) / double(timing.expectedMs);
        std::printf("%5d  %7d  %11lld  %11lld  %+10.1f\n", speed, timing.changes,
                    static_cast<long long>(timing.expectedMs), static_cast<long long>(timing.measuredMs), deviation);
        std::fflush(stdout);
    }
    return 0;
}
