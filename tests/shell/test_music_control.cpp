#include "shell/music_control.h"
#include "support/fake_sound.h"
#include "support/require_child.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A day and its festival tunes, or the user's click on the music toggle.
struct DayStep {
    QString gregorianTune;
    QString lunarTune;
    bool userToggle = false;
};

DayStep Day(const QString &gregorianTune = {}, const QString &lunarTune = {})
{
    return {gregorianTune, lunarTune, false};
}

DayStep UserToggle()
{
    return {{}, {}, true};
}

} // namespace

Q_DECLARE_METATYPE(DayStep)

namespace {

// A program folder with the given background pieces and festival tunes, the
// program-wide music texts, fakes and the music control over them.
struct MusicRig {
    explicit MusicRig(const QStringList &pieces = {}, const QStringList &tunes = {},
                      std::function<double()> random = UniformRandom)
        : control({musicState, gregorianMusicName, lunarMusicName}, backgroundPlayer, festivalPlayer, window,
                  folder.path(), std::move(random))
    {
        backgroundPlayer.folder = folder.path();
        festivalPlayer.folder = folder.path();
        QDir(folder.path()).mkpath(QStringLiteral("mid"));
        QDir(folder.path()).mkpath(QStringLiteral("festival"));
        for (const QString &piece : pieces)
            AddFile(QStringLiteral("mid/") + piece);
        for (const QString &tune : tunes)
            AddFile(tune);
    }

    void AddFile(const QString &relativePath)
    {
        QFile file(folder.filePath(relativePath));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    QTimer *timer(const char *name) const { return RequireChild<QTimer>(control, QString::fromLatin1(name)); }

    // Lets a pending one-shot timer fire now; false when none was pending.
    bool FireBackgroundPieceTimer() { return Fire(timer("background_piece_timer"), &MusicControl::StartBackgroundPiece); }
    bool FireFestivalTuneTimer() { return Fire(timer("festival_tune_timer"), &MusicControl::StartFestivalTune); }

    // Lets the starts still pending happen.
    void Settle()
    {
        FireBackgroundPieceTimer();
        FireFestivalTuneTimer();
    }

    // One step of a path: a day evaluated at start-up or by the day-change
    // step, or the user's click on the toggle.
    void Take(const DayStep &step, bool startUp)
    {
        if (step.userToggle) {
            control.ToggleByUser();
            return;
        }
        if (!startUp)
            control.BeginDayChange();
        gregorianMusicName = step.gregorianTune;
        lunarMusicName = step.lunarTune;
        control.ApplyDayMusic();
    }

    // The piece or tune playing now, empty when none.
    QString Sounding() const
    {
        for (const FakeMusicPlayer *player : {&backgroundPlayer, &festivalPlayer}) {
            if (!player->calls.isEmpty() && player->calls.last() == QStringLiteral("play"))
                return player->Started().last();
        }
        return {};
    }

    bool Fire(QTimer *pending, void (MusicControl::*tick)())
    {
        if (!pending->isActive())
            return false;
        pending->stop();
        (control.*tick)();
        return true;
    }

    QTemporaryDir folder;
    MusicState musicState = MusicState::Unset;
    QString gregorianMusicName;
    QString lunarMusicName;
    FakeMusicPlayer backgroundPlayer;
    FakeMusicPlayer festivalPlayer;
    FakeMusicWindow window;
    MusicControl control;
};

// Numbers handed out in order, for drawing pieces.
std::function<double()> Draws(QList<double> numbers)
{
    return [numbers]() mutable { return numbers.isEmpty() ? 0.0 : numbers.takeFirst(); };
}

constexpr MusicState Off = MusicState::Off;
constexpr MusicState On = MusicState::Background;
constexpr MusicState Festival = MusicState::Festival;
constexpr MusicState Unset = MusicState::Unset;

} // namespace

class MusicControlTest : public QObject {
    Q_OBJECT
private slots:
    void toggleStartsAtDesignCaption()
    {
        MusicRig rig;
        QCOMPARE(rig.control.Toggle(),
                 (MusicToggle{MusicOff, QStringLiteral("背景音乐(M)"), QStringLiteral("背景音乐开关 M")}));
    }

    void toggleChangeStoresStateAndShowsIt_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<MusicState>("musicState");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<bool>("backgroundPending");
        QTest::addColumn<bool>("festivalPending");
        QTest::newRow("off to background") << 0 << 1 << On << QStringLiteral("背景音乐(M)")
                                           << QStringLiteral("背景音乐开关 M") << true << false;
        QTest::newRow("off to festival") << 0 << 2 << Festival << QStringLiteral("节日音乐(M)")
                                         << QStringLiteral("点击关闭节日音乐画面 M") << false << true;
        QTest::newRow("background to off") << 1 << 0 << Off << QStringLiteral("背景音乐(M)")
                                           << QStringLiteral("点击开启背景音乐 M") << false << false;
        QTest::newRow("festival to off") << 2 << 0 << Off << QStringLiteral("背景音乐(M)")
                                         << QStringLiteral("点击开启背景音乐 M") << false << false;
    }
    void toggleChangeStoresStateAndShowsIt()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(MusicState, musicState);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        QFETCH(bool, backgroundPending);
        QFETCH(bool, festivalPending);
        MusicRig rig;
        rig.control.SetToggleValue(from);
        rig.control.SetToggleValue(to);
        QCOMPARE(rig.musicState, musicState);
        const MusicToggle expected{to, caption, tooltip};
        QCOMPARE(rig.control.Toggle(), expected);
        QCOMPARE(rig.window.shown.last(), expected);
        QCOMPARE(rig.timer("background_piece_timer")->isActive(), backgroundPending);
        QCOMPARE(rig.timer("festival_tune_timer")->isActive(), festivalPending);
    }

    void switchingOffClosesBothPlayersAndLeavesFestivalView_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("idleResets");
        QTest::newRow("from background") << 1 << 0;
        QTest::newRow("from festival") << 2 << 1;
    }
    void switchingOffClosesBothPlayersAndLeavesFestivalView()
    {
        QFETCH(int, from);
        QFETCH(int, idleResets);
        MusicRig rig({QStringLiteral("a.mid")});
        rig.control.SetToggleValue(from);
        rig.FireBackgroundPieceTimer();
        rig.FireFestivalTuneTimer();
        rig.backgroundPlayer.calls.clear();
        rig.festivalPlayer.calls.clear();
        rig.control.SetToggleValue(MusicOff);
        QCOMPARE(rig.backgroundPlayer.calls, QStringList{QStringLiteral("close")});
        QCOMPARE(rig.festivalPlayer.calls, QStringList{QStringLiteral("close")});
        QCOMPARE(rig.window.idleResets, idleResets);
    }

    void settingTheSameValueDoesNothing_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("off") << 0;
        QTest::newRow("background") << 1;
        QTest::newRow("festival") << 2;
    }
    void settingTheSameValueDoesNothing()
    {
        QFETCH(int, value);
        MusicRig rig({QStringLiteral("a.mid")});
        rig.musicState = Festival;
        rig.control.SetToggleValue(value);
        rig.FireBackgroundPieceTimer();
        rig.FireFestivalTuneTimer();
        const MusicState stateBefore = rig.musicState;
        const qsizetype shownBefore = rig.window.shown.size();
        const QStringList callsBefore = rig.backgroundPlayer.calls + rig.festivalPlayer.calls;

        rig.control.SetToggleValue(value);

        QCOMPARE(rig.musicState, stateBefore);
        QCOMPARE(rig.window.shown.size(), shownBefore);
        QCOMPARE(rig.backgroundPlayer.calls + rig.festivalPlayer.calls, callsBefore);
        QVERIFY(!rig.timer("background_piece_timer")->isActive());
        QVERIFY(!rig.timer("festival_tune_timer")->isActive());
        QCOMPARE(rig.window.idleResets, 0);
    }

    void userToggleTurnsMusicOffOrToBackground_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::newRow("off") << 0 << 1;
        QTest::newRow("background") << 1 << 0;
        QTest::newRow("festival") << 2 << 0;
    }
    void userToggleTurnsMusicOffOrToBackground()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        MusicRig rig;
        rig.control.SetToggleValue(from);
        rig.control.ToggleByUser();
        QCOMPARE(rig.control.Toggle().value, to);
    }

    void pickPieceIndex_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lastIndex");
        QTest::addColumn<QList<double>>("draws");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("drawsUsed");
        QTest::newRow("single piece, no draw") << 1 << 1 << QList<double>{0.5} << 1 << 0;
        QTest::newRow("first pick takes the draw") << 3 << 0 << QList<double>{0.0} << 1 << 1;
        QTest::newRow("repeat drawn again") << 2 << 1 << QList<double>{0.3, 0.49, 0.5} << 2 << 3;
        QTest::newRow("top of the range") << 5 << 2 << QList<double>{0.999999} << 5 << 1;
        QTest::newRow("bucket edges") << 5 << 2 << QList<double>{0.2, 0.39, 0.4} << 3 << 3;
        QTest::newRow("last index beyond a shrunk folder") << 2 << 7 << QList<double>{0.6} << 2 << 1;
    }
    void pickPieceIndex()
    {
        QFETCH(int, count);
        QFETCH(int, lastIndex);
        QFETCH(QList<double>, draws);
        QFETCH(int, index);
        QFETCH(int, drawsUsed);
        int used = 0;
        const auto random = [&] { return draws.at(used++); };
        QCOMPARE(PickPieceIndex(count, lastIndex, random), index);
        QCOMPARE(used, drawsUsed);
    }

    void backgroundPiecePlaysAndNamesItself()
    {
        MusicRig rig({QStringLiteral("高山流水.mid")});
        rig.control.SetToggleValue(BackgroundMusic);
        QVERIFY(rig.FireBackgroundPieceTimer());
        QCOMPARE(rig.backgroundPlayer.calls,
                 (QStringList{QStringLiteral("close"), QStringLiteral("open mid/高山流水.mid"), QStringLiteral("play")}));
        QCOMPARE(rig.control.Toggle().tooltip, QStringLiteral("【高山流水】- 背景音乐 M"));
        QCOMPARE(rig.window.shown.last(), rig.control.Toggle());
    }

    void onePieceRepeatsAfterEachEnd()
    {
        MusicRig rig({QStringLiteral("a.mid")});
        rig.control.SetToggleValue(BackgroundMusic);
        for (int round = 0; round < 3; ++round) {
            QVERIFY(rig.FireBackgroundPieceTimer());
            rig.backgroundPlayer.Finish();
        }
        QVERIFY(rig.timer("background_piece_timer")->isActive());
        QCOMPARE(rig.backgroundPlayer.Started(), QStringList(3, QStringLiteral("mid/a.mid")));
    }

    void twoPiecesAlternateStrictly()
    {
        MusicRig rig({QStringLiteral("a.mid"), QStringLiteral("b.mid")});
        rig.control.SetToggleValue(BackgroundMusic);
        for (int round = 0; round < 30; ++round) {
            QVERIFY(rig.FireBackgroundPieceTimer());
            rig.backgroundPlayer.Finish();
        }
        const QStringList started = rig.backgroundPlayer.Started();
        QCOMPARE(started.size(), 30);
        for (qsizetype i = 1; i < started.size(); ++i)
            QVERIFY2(started[i] != started[i - 1], qPrintable(started.join(u' ')));
    }

    void folderIsListedAfreshForEveryPiece()
    {
        MusicRig rig({QStringLiteral("a.mid")}, {}, Draws({0.9}));
        rig.control.SetToggleValue(BackgroundMusic);
        QVERIFY(rig.FireBackgroundPieceTimer());
        rig.AddFile(QStringLiteral("mid/b.mid"));
        rig.backgroundPlayer.Finish();
        QVERIFY(rig.FireBackgroundPieceTimer());
        QCOMPARE(rig.backgroundPlayer.Started(), (QStringList{QStringLiteral("mid/a.mid"), QStringLiteral("mid/b.mid")}));
        QVERIFY(rig.window.messages.isEmpty());
    }

    void emptiedFolderEndsMusicWithOneMessage()
    {
        MusicRig rig({QStringLiteral("a.mid")});
        rig.control.SetToggleValue(BackgroundMusic);
        QVERIFY(rig.FireBackgroundPieceTimer());
        QVERIFY(QFile::remove(rig.folder.filePath(QStringLiteral("mid/a.mid"))));
        rig.backgroundPlayer.Finish();
        QVERIFY(rig.FireBackgroundPieceTimer());
        QCOMPARE(rig.window.messages, QStringList{QStringLiteral("没找到MIDI背景音乐文件!")});
        QCOMPARE(rig.control.Toggle().value, int(MusicOff));
        QCOMPARE(rig.musicState, Off);
        QCOMPARE(rig.control.Toggle().tooltip, QStringLiteral("点击开启背景音乐 M"));
        QVERIFY(!rig.timer("background_piece_timer")->isActive());
    }

    void piecesOtherThanMidiAreIgnored()
    {
        MusicRig rig({QStringLiteral("notes.txt"), QStringLiteral("a.mid.bak")});
        QDir(rig.folder.path()).mkpath(QStringLiteral("mid/folder.mid"));
        rig.control.SetToggleValue(BackgroundMusic);
        QVERIFY(rig.FireBackgroundPieceTimer());
        QCOMPARE(rig.window.messages, QStringList{QStringLiteral("没找到MIDI背景音乐文件!")});
        QVERIFY(rig.backgroundPlayer.Started().isEmpty());
    }

    void backgroundStepsWaitForBackgroundMusic()
    {
        MusicRig rig({QStringLiteral("a.mid")});
        rig.control.SetToggleValue(BackgroundMusic);
        QVERIFY(rig.FireBackgroundPieceTimer());
        rig.control.SetToggleValue(MusicOff);
        rig.backgroundPlayer.calls.clear();

        rig.backgroundPlayer.Finish();
        QVERIFY(!rig.timer("background_piece_timer")->isActive());
        rig.control.StartBackgroundPiece();
        QVERIFY(rig.backgroundPlayer.calls.isEmpty());
    }

    void festivalTunePath_data()
    {
        QTest::addColumn<QString>("gregorian");
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<QString>("path");
        QTest::newRow("no festival") << QString() << QString() << QStringLiteral("/p/mid/节日.mid");
        QTest::newRow("Gregorian") << QStringLiteral("国庆节") << QString() << QStringLiteral("/p/festival/国庆节.mid");
        QTest::newRow("lunar") << QString() << QStringLiteral("中秋节") << QStringLiteral("/p/festival/中秋节.mid");
        QTest::newRow("lunar wins") << QStringLiteral("国庆节") << QStringLiteral("中秋节")
                                    << QStringLiteral("/p/festival/中秋节.mid");
    }
    void festivalTunePath()
    {
        QFETCH(QString, gregorian);
        QFETCH(QString, lunar);
        QFETCH(QString, path);
        QCOMPARE(FestivalTunePath(QStringLiteral("/p"), gregorian, lunar), path);
    }

    void festivalTuneRepeatsWhileFestivalMusicIsOn()
    {
        MusicRig rig({}, {QStringLiteral("festival/元旦.mid")});
        rig.gregorianMusicName = QStringLiteral("元旦");
        rig.control.SetToggleValue(FestivalMusic);
        for (int round = 0; round < 3; ++round) {
            QVERIFY(rig.FireFestivalTuneTimer());
            rig.festivalPlayer.Finish();
        }
        QCOMPARE(rig.festivalPlayer.Started(), QStringList(3, QStringLiteral("festival/元旦.mid")));
        QCOMPARE(rig.gregorianMusicName, QStringLiteral("元旦"));
        QVERIFY(rig.window.messages.isEmpty());
    }

    void lunarAndGregorianTunesAlternate()
    {
        MusicRig rig({}, {QStringLiteral("festival/国庆节.mid"), QStringLiteral("festival/中秋节.mid")});
        rig.gregorianMusicName = QStringLiteral("国庆节");
        rig.lunarMusicName = QStringLiteral("中秋节");
        rig.control.SetToggleValue(FestivalMusic);
        for (int round = 0; round < 4; ++round) {
            QVERIFY(rig.FireFestivalTuneTimer());
            rig.festivalPlayer.Finish();
        }
        QCOMPARE(rig.festivalPlayer.Started(),
                 (QStringList{QStringLiteral("festival/中秋节.mid"), QStringLiteral("festival/国庆节.mid"),
                              QStringLiteral("festival/中秋节.mid"), QStringLiteral("festival/国庆节.mid")}));
    }

    void missingTuneIsReportedAndToggleStays()
    {
        MusicRig rig({}, {QStringLiteral("mid/节日.mid")});
        rig.lunarMusicName = QStringLiteral("春节");
        rig.control.SetToggleValue(FestivalMusic);
        QVERIFY(rig.FireFestivalTuneTimer());
        QCOMPARE(rig.window.messages, QStringList{QStringLiteral("未找到相关MID背景音乐！")});
        QCOMPARE(rig.control.Toggle().value, int(FestivalMusic));
        QCOMPARE(rig.musicState, Festival);
        QVERIFY(rig.festivalPlayer.Started().isEmpty());
    }

    // A program folder that lost its music folders gives the messages of
    // missing pieces and opens nothing.
    void missingMusicFoldersAreReported_data()
    {
        QTest::addColumn<int>("toggle");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("toggleAfter");
        QTest::newRow("background") << int(BackgroundMusic) << QStringLiteral("没找到MIDI背景音乐文件!") << int(MusicOff);
        QTest::newRow("festival") << int(FestivalMusic) << QStringLiteral("未找到相关MID背景音乐！")
                                  << int(FestivalMusic);
    }
    void missingMusicFoldersAreReported()
    {
        QFETCH(int, toggle);
        QFETCH(QString, message);
        QFETCH(int, toggleAfter);
        MusicRig rig;
        for (const char *folder : {"mid", "festival"})
            QVERIFY(QDir(rig.folder.filePath(QString::fromLatin1(folder))).removeRecursively());
        rig.lunarMusicName = QStringLiteral("春节");
        rig.control.SetToggleValue(toggle);
        QVERIFY(toggle == BackgroundMusic ? rig.FireBackgroundPieceTimer() : rig.FireFestivalTuneTimer());
        QCOMPARE(rig.window.messages, QStringList{message});
        QCOMPARE(rig.control.Toggle().value, toggleAfter);
        QVERIFY(rig.backgroundPlayer.Started().isEmpty());
        QVERIFY(rig.festivalPlayer.Started().isEmpty());
    }

    void festivalEndIgnoredOnceMusicIsOff()
    {
        MusicRig rig({}, {QStringLiteral("festival/国庆节.mid"), QStringLiteral("festival/中秋节.mid")});
        rig.gregorianMusicName = QStringLiteral("国庆节");
        rig.lunarMusicName = QStringLiteral("中秋节");
        rig.control.SetToggleValue(FestivalMusic);
        QVERIFY(rig.FireFestivalTuneTimer());
        rig.control.SetToggleValue(MusicOff);
        rig.festivalPlayer.Finish();
        QVERIFY(!rig.timer("festival_tune_timer")->isActive());
        QCOMPARE(rig.lunarMusicName, QStringLiteral("中秋节"));
    }

    void switchingOffCancelsPendingStarts()
    {
        MusicRig rig({QStringLiteral("a.mid")}, {QStringLiteral("mid/节日.mid")});
        rig.control.SetToggleValue(FestivalMusic);
        rig.control.SetToggleValue(MusicOff);
        QVERIFY(!rig.timer("festival_tune_timer")->isActive());
        rig.control.SetToggleValue(BackgroundMusic);
        rig.control.SetToggleValue(MusicOff);
        QVERIFY(!rig.timer("background_piece_timer")->isActive());
    }

    void musicToggleForDay_data()
    {
        QTest::addColumn<MusicState>("musicState");
        QTest::addColumn<MusicState>("saved");
        QTest::addColumn<QString>("gregorian");
        QTest::addColumn<QString>("lunar");
        QTest::addColumn<int>("toggle");
        const int keep = -1;
        QTest::newRow("first run") << Unset << Unset << QString() << QString() << 1;
        QTest::newRow("background on") << On << Unset << QString() << QString() << 1;
        QTest::newRow("background saved over the day change") << Off << On << QString() << QString() << 1;
        QTest::newRow("off stays off") << Off << Unset << QString() << QString() << keep;
        QTest::newRow("festival remembered does not count as on") << Festival << Unset << QString() << QString()
                                                                  << keep;
        QTest::newRow("Gregorian tune overrides off") << Off << Unset << QStringLiteral("元旦") << QString() << 2;
        QTest::newRow("lunar tune overrides off") << Off << Unset << QString() << QStringLiteral("春节") << 2;
        QTest::newRow("tune with background on") << On << On << QStringLiteral("国庆节") << QStringLiteral("中秋节") << 2;
    }
    void musicToggleForDay()
    {
        QFETCH(MusicState, musicState);
        QFETCH(MusicState, saved);
        QFETCH(QString, gregorian);
        QFETCH(QString, lunar);
        QFETCH(int, toggle);
        QCOMPARE(MusicToggleForDay(musicState, saved, gregorian, lunar).value_or(-1), toggle);
    }

    void dayChangeRestartsBackgroundWithAnotherPiece()
    {
        MusicRig rig({QStringLiteral("a.mid"), QStringLiteral("b.mid")});
        rig.control.ApplyDayMusic();
        QVERIFY(rig.FireBackgroundPieceTimer());
        rig.control.BeginDayChange();
        QCOMPARE(rig.control.SavedMusicState(), On);
        QCOMPARE(rig.control.Toggle().value, int(MusicOff));
        rig.control.ApplyDayMusic();
        QVERIFY(rig.FireBackgroundPieceTimer());
        const QStringList started = rig.backgroundPlayer.Started();
        QCOMPARE(started.size(), 2);
        QVERIFY(started[0] != started[1]);
    }

    // Paths through the days, as the calendar and midnight select them: the
    // first day is evaluated at start-up, every later one by the day-change
    // step. The user's own choice is what the settings keep; a festival's tune
    // only borrows the toggle for its day.
    void userChoiceSurvivesEveryPathThroughTheDays_data()
    {
        QTest::addColumn<MusicState>("stored");
        QTest::addColumn<QList<DayStep>>("path");
        QTest::addColumn<bool>("settleBetweenSteps");
        QTest::addColumn<MusicState>("storedAfter");
        QTest::addColumn<int>("toggle");
        QTest::addColumn<QString>("sounding");
        const DayStep ordinary = Day();
        const DayStep springFestival = Day({}, QStringLiteral("春节"));
        const DayStep newYear = Day(QStringLiteral("元旦"));
        const DayStep nationalAndMidAutumn = Day(QStringLiteral("国庆节"), QStringLiteral("中秋节"));
        const DayStep userToggle = UserToggle();
        const QString piece = QStringLiteral("mid/a.mid");
        const QString springTune = QStringLiteral("festival/春节.mid");
        using Path = QList<DayStep>;

        QTest::newRow("festival then ordinary") << On << Path{ordinary, springFestival, ordinary} << true << On
                                                << 1 << piece;
        QTest::newRow("ordinary then festival") << On << Path{ordinary, ordinary, springFestival} << true << On
                                                << 2 << springTune;
        QTest::newRow("closing on a festival day") << On << Path{springFestival, ordinary, springFestival} << true
                                                   << On << 2 << springTune;
        QTest::newRow("quick successive selections")
            << On << Path{ordinary, springFestival, ordinary, newYear, springFestival, ordinary} << false << On << 1
            << piece;
        QTest::newRow("several festivals in a row")
            << On << Path{ordinary, newYear, springFestival, nationalAndMidAutumn, ordinary} << true << On << 1
            << piece;
        QTest::newRow("several festivals, closing on one")
            << On << Path{ordinary, newYear, nationalAndMidAutumn} << true << On << 2
            << QStringLiteral("festival/中秋节.mid");
        QTest::newRow("first run on a festival day") << Unset << Path{springFestival, ordinary} << true << On << 1
                                                     << piece;
        QTest::newRow("first run ending on a festival day") << Unset << Path{springFestival} << true << On << 2
                                                            << springTune;
        QTest::newRow("user switches off on a festival day")
            << On << Path{ordinary, springFestival, userToggle, ordinary} << true << Off << 0 << QString();
        QTest::newRow("user switches off on a festival day, then another festival")
            << On << Path{ordinary, springFestival, userToggle, ordinary, newYear} << true << Festival << 2
            << QStringLiteral("festival/元旦.mid");
        QTest::newRow("user switches off and on again on a festival day")
            << On << Path{ordinary, springFestival, userToggle, userToggle, ordinary} << true << On << 1 << piece;
        QTest::newRow("music off: festivals play, ordinary days stay quiet")
            << Off << Path{ordinary, springFestival, ordinary} << true << Off << 0 << QString();
        QTest::newRow("music off, ending on a festival day") << Off << Path{ordinary, springFestival} << true
                                                             << Festival << 2 << springTune;
        QTest::newRow("stored festival music on an ordinary day") << Festival << Path{ordinary, ordinary} << true
                                                                  << Festival << 0 << QString();
    }
    void userChoiceSurvivesEveryPathThroughTheDays()
    {
        QFETCH(MusicState, stored);
        QFETCH(QList<DayStep>, path);
        QFETCH(bool, settleBetweenSteps);
        QFETCH(MusicState, storedAfter);
        QFETCH(int, toggle);
        QFETCH(QString, sounding);
        MusicRig rig({QStringLiteral("a.mid")}, {QStringLiteral("festival/春节.mid"), QStringLiteral("festival/元旦.mid"),
                                                 QStringLiteral("festival/国庆节.mid"),
                                                 QStringLiteral("festival/中秋节.mid")});
        rig.musicState = stored;
        for (qsizetype i = 0; i < path.size(); ++i) {
            rig.Take(path[i], i == 0);
            if (settleBetweenSteps)
                rig.Settle();
        }
        rig.Settle();

        QCOMPARE(rig.musicState, storedAfter);
        QCOMPARE(rig.control.Toggle().value, toggle);
        QCOMPARE(rig.control.Toggle().caption,
                 toggle == FestivalMusic ? QStringLiteral("节日音乐(M)") : QStringLiteral("背景音乐(M)"));
        if (!rig.window.shown.isEmpty())
            QCOMPARE(rig.window.shown.last(), rig.control.Toggle());
        QCOMPARE(rig.Sounding(), sounding);
        QVERIFY(rig.window.messages.isEmpty());
    }

    // On a festival day the remembered choice stays background music, yet
    // the festival tune is what plays, repeats and is left by the user.
    void festivalTuneRulesItsDayOverTheUsersBackgroundMusic()
    {
        MusicRig rig({QStringLiteral("a.mid")}, {QStringLiteral("festival/春节.mid")});
        rig.musicState = On;
        rig.lunarMusicName = QStringLiteral("春节");
        rig.control.ApplyDayMusic();
        QCOMPARE(rig.musicState, On);
        QVERIFY(rig.FireFestivalTuneTimer());
        rig.festivalPlayer.Finish();
        QVERIFY(rig.timer("festival_tune_timer")->isActive());

        rig.control.StartBackgroundPiece();
        rig.backgroundPlayer.Finish();
        QVERIFY(rig.backgroundPlayer.calls.isEmpty());
        QVERIFY(!rig.timer("background_piece_timer")->isActive());

        rig.control.ToggleByUser();
        QCOMPARE(rig.window.idleResets, 1);
        QCOMPARE(rig.musicState, Off);
    }

    void festivalMusicComesBackAfterUserSwitchedItOff()
    {
        MusicRig rig({}, {QStringLiteral("festival/春节.mid")});
        rig.musicState = Off;
        rig.lunarMusicName = QStringLiteral("春节");
        rig.control.ApplyDayMusic();
        rig.control.ToggleByUser();
        QCOMPARE(rig.musicState, Off);
        rig.control.BeginDayChange();
        rig.control.ApplyDayMusic();
        QCOMPARE(rig.control.Toggle().value, int(FestivalMusic));
        QVERIFY(rig.FireFestivalTuneTimer());
        QCOMPARE(rig.festivalPlayer.Started(), QStringList{QStringLiteral("festival/春节.mid")});
    }
};

QTEST_MAIN(MusicControlTest)
#include "test_music_control.moc"
