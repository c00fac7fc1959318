// The SDL2_mixer services, played for real under the dummy audio driver,
// which runs in real time and reports the end of a piece like a sound card.
#include "shell/music_control.h"
#include "shell/music_player.h"
#include "shell/sound_device.h"
#include "shell/sound_effect.h"
#include "shell/sound_mp3_player.h"
#include "support/fake_sound.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

Q_DECLARE_METATYPE(SoundLibraryFiles)

namespace {

void AppendLittleEndian(QByteArray &bytes, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit sine tone.
void WriteToneWav(const QString &path, double seconds, double frequency)
{
    constexpr int Rate = 22050;
    const int frames = int(seconds * Rate);
    QByteArray bytes("RIFF");
    AppendLittleEndian(bytes, 36 + frames * 2, 4);
    bytes.append("WAVEfmt ");
    AppendLittleEndian(bytes, 16, 4);
    AppendLittleEndian(bytes, 1, 2);
    AppendLittleEndian(bytes, 1, 2);
    AppendLittleEndian(bytes, Rate, 4);
    AppendLittleEndian(bytes, Rate * 2, 4);
    AppendLittleEndian(bytes, 2, 2);
    AppendLittleEndian(bytes, 16, 2);
    bytes.append("data");
    AppendLittleEndian(bytes, frames * 2, 4);
    for (int i = 0; i < frames; ++i)
        AppendLittleEndian(bytes, quint16(qint16(8000 * std::sin(2 * M_PI * frequency * i / Rate))), 2);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A standard MIDI file of one short note on the given General MIDI program.
// It ends with All Sound Off, so the piece is silent at its last event and
// its end arrives at once instead of after the SoundFont's release of some
// seconds.
void WriteOneNoteMidi(const QString &path, int program, int note)
{
    const QByteArray track = QByteArray::fromHex("00C0") + char(program)
        + QByteArray::fromHex("0090") + char(note) + QByteArray::fromHex("64")
        + QByteArray::fromHex("6080") + char(note) + QByteArray::fromHex("40")
        + QByteArray::fromHex("00B07800") + QByteArray::fromHex("00FF2F00");
    QByteArray bytes = QByteArray::fromHex("4D546864000000060000000101E0") + "MTrk";
    quint32 length = qToBigEndian(quint32(track.size()));
    bytes.append(reinterpret_cast<const char *>(&length), 4);
    bytes.append(track);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The tooltips of the background pieces the window was shown, in order.
QStringList PieceTooltips(const FakeMusicWindow &window)
{
    QStringList tooltips;
    for (const MusicToggle &toggle : window.shown) {
        if (toggle.tooltip.startsWith(u'【'))
            tooltips << toggle.tooltip;
    }
    return tooltips;
}

// FluidSynth reports a piece done two seconds after its last event; a wait
// this long without an end shows that none is coming.
constexpr int NoEndWithinMs = 3000;
// The music starts the next background piece this long after an end.
constexpr int NextPieceDelayMs = 500;

QString ProgramFile(const QString &relativePath)
{
    return QStringLiteral(RAVEZAZ_PROGRAM_DIR) + relativePath;
}

} // namespace

class SoundTest : public QObject {
    Q_OBJECT
private slots:
    void unusableDriverFallsBackToSilentOutput()
    {
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        {
            SoundDevice device;
            QVERIFY(SoundDevice::IsOpen());
            QCOMPARE(SoundDevice::DriverName(), QStringLiteral("dummy"));
        }
        QVERIFY(!SoundDevice::IsOpen());
        qputenv("SDL_AUDIODRIVER", driver);
    }

    void backgroundDeviceOpensAndClosesWithItsOwner()
    {
        {
            BackgroundSoundDevice device;
            device.WaitUntilOpen();
            QVERIFY(SoundDevice::IsOpen());
        }
        QVERIFY(!SoundDevice::IsOpen());
        // Ended before anyone waited for it, as when the program is closed
        // during the splash.
        {
            BackgroundSoundDevice device;
            device.Start();
        }
        QVERIFY(!SoundDevice::IsOpen());
    }

    void missingSoundLibraryLeavesThePlayersSilent_data()
    {
        QTest::addColumn<SoundLibraryFiles>("files");
        SoundLibraryFiles noSdl;
        noSdl.sdl.name = QStringLiteral("no-such-sdl");
        SoundLibraryFiles noMixer;
        noMixer.mixer.name = QStringLiteral("no-such-mixer");
        SoundLibraryFiles noSynth;
        noSynth.synth.name = QStringLiteral("no-such-fluidsynth");
        QTest::newRow("SDL2 missing") << noSdl;
        QTest::newRow("SDL2_mixer missing") << noMixer;
        QTest::newRow("FluidSynth missing") << noSynth;
    }
    void missingSoundLibraryLeavesThePlayersSilent()
    {
        QFETCH(SoundLibraryFiles, files);
        QTemporaryDir folder;
        const QString tone = folder.filePath(QStringLiteral("tone.wav"));
        const QString piece = folder.filePath(QStringLiteral("piece.mid"));
        WriteToneWav(tone, 0.5, 440);
        WriteOneNoteMidi(piece, 0, 60);
        BackgroundSoundDevice device;
        device.Start(files);
        device.WaitUntilOpen();
        QVERIFY(!SoundDevice::IsOpen());
        QCOMPARE(SoundDevice::DriverName(), QString());

        int beeps = 0;
        SdlEffectSound effects([&] { ++beeps; });
        effects.PlayEffect(tone);
        QCOMPARE(effects.SoundingEffect(), QString());
        QCOMPARE(beeps, 0);
        effects.PlayEffect(folder.filePath(QStringLiteral("missing.wav")));
        QCOMPARE(beeps, 1);
        SdlMp3Player mp3;
        QVERIFY(!mp3.Open(tone));
        QCOMPARE(mp3.DurationMs(), 0);
        SdlMusicPlayer midi;
        QSignalSpy ends(&midi, &MusicPlayer::Finished);
        QVERIFY(!midi.Open(piece));
        midi.Play();
        QVERIFY(!midi.IsPlaying());
        QCOMPARE(ends.count(), 0);

        // The right library still opens afterwards.
        SoundDevice working;
        QVERIFY(SoundDevice::IsOpen());
    }

    void playersStaySilentWithoutDevice()
    {
        QTemporaryDir folder;
        const QString tone = folder.filePath(QStringLiteral("tone.wav"));
        const QString piece = folder.filePath(QStringLiteral("piece.mid"));
        WriteToneWav(tone, 0.5, 440);
        WriteOneNoteMidi(piece, 0, 60);
        int beeps = 0;
        SdlEffectSound effects([&] { ++beeps; });
        effects.PlayEffect(tone);
        QCOMPARE(effects.SoundingEffect(), QString());
        QCOMPARE(beeps, 0);
        SdlMp3Player mp3;
        QVERIFY(!mp3.Open(tone));
        mp3.Play();
        QVERIFY(!mp3.IsPlaying());
        SdlMusicPlayer midi;
        QVERIFY(!midi.Open(piece));
        midi.Play();
        QVERIFY(!midi.IsPlaying());
    }

    void effectCutsOffTheOneSounding()
    {
        SoundDevice device;
        QTemporaryDir folder;
        const QString first = folder.filePath(QStringLiteral("first.wav"));
        const QString second = folder.filePath(QStringLiteral("second.wav"));
        WriteToneWav(first, 1.0, 440);
        WriteToneWav(second, 0.4, 660);
        int beeps = 0;
        SdlEffectSound effects([&] { ++beeps; });

        effects.PlayEffect(first);
        QCOMPARE(effects.SoundingEffect(), first);
        effects.PlayEffect(second);
        QCOMPARE(effects.SoundingEffect(), second);
        // The second ends on its own, well before the first would have, and
        // nothing queued behind it starts.
        QTRY_COMPARE_WITH_TIMEOUT(effects.SoundingEffect(), QString(), 900);
        QVERIFY(!QTest::qWaitFor([&] { return !effects.SoundingEffect().isEmpty(); }, 200));
        QCOMPARE(beeps, 0);
    }

    void unplayableEffectBeepsAndCutsTheOneSounding_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing file") << QStringLiteral("/no/such/folder/s1.wav");
        QTest::newRow("folder, not a file") << QStringLiteral(RAVEZAZ_FIXTURES "/sound");
        QTest::newRow("truncated header") << QStringLiteral(RAVEZAZ_FIXTURES "/sound/truncated-header.wav");
    }
    void unplayableEffectBeepsAndCutsTheOneSounding()
    {
        QFETCH(QString, path);
        SoundDevice device;
        QTemporaryDir folder;
        const QString tone = folder.filePath(QStringLiteral("tone.wav"));
        WriteToneWav(tone, 1.0, 440);
        int beeps = 0;
        SdlEffectSound effects([&] { ++beeps; });
        effects.PlayEffect(tone);
        effects.PlayEffect(path);
        QCOMPARE(beeps, 1);
        QCOMPARE(effects.SoundingEffect(), QString());
    }

    void mp3PlayerPlaysEveryOpenedFileInTurn()
    {
        SoundDevice device;
        QTemporaryDir folder;
        const QString gongs = folder.filePath(QStringLiteral("gongs.wav"));
        const QString crackers = folder.filePath(QStringLiteral("crackers.wav"));
        WriteToneWav(gongs, 0.3, 220);
        WriteToneWav(crackers, 0.3, 880);
        SdlMp3Player player;
        QVERIFY(player.Open(gongs));
        QVERIFY(player.Open(crackers));
        QVERIFY(qAbs(player.DurationMs() - 600) <= 5);

        QElapsedTimer played;
        played.start();
        player.Play();
        QVERIFY(player.IsPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(!player.IsPlaying(), 1500);
        QVERIFY2(played.elapsed() >= 500, "the second file follows the first");

        player.Play();
        QVERIFY(player.IsPlaying());
        player.Stop();
        QVERIFY(!player.IsPlaying());
        player.Close();
        QCOMPARE(player.DurationMs(), 0);
        player.Play();
        QVERIFY(!player.IsPlaying());
    }

    void mp3PlayersSoundTogether()
    {
        SoundDevice device;
        QTemporaryDir folder;
        const QString tone = folder.filePath(QStringLiteral("tone.wav"));
        WriteToneWav(tone, 0.5, 440);
        SdlMp3Player effectPlayer;
        SdlMp3Player aboutPlayer;
        QVERIFY(effectPlayer.Open(tone));
        QVERIFY(aboutPlayer.Open(tone));
        effectPlayer.Play();
        aboutPlayer.Play();
        QVERIFY(effectPlayer.IsPlaying());
        QVERIFY(aboutPlayer.IsPlaying());
        aboutPlayer.Stop();
        QVERIFY(effectPlayer.IsPlaying());
    }

    void festivalSoundsJoinWhenOpenedTogether()
    {
        SoundDevice device;
        const QString gongs = ProgramFile(QStringLiteral("/festival/锣鼓.mp3"));
        const QString crackers = ProgramFile(QStringLiteral("/festival/爆竹.mp3"));
        SdlMp3Player player;
        QVERIFY(player.Open(gongs));
        const int gongsMs = player.DurationMs();
        player.Close();
        QVERIFY(player.Open(crackers));
        const int crackersMs = player.DurationMs();
        player.Close();
        QVERIFY(gongsMs > 1000 && crackersMs > 1000);

        QVERIFY(player.Open(gongs));
        QVERIFY(player.Open(crackers));
        QVERIFY(qAbs(player.DurationMs() - (gongsMs + crackersMs)) <= 2);
    }

    void pieceEndIsReportedOnceAndOnlyWhenPlayedOut()
    {
        SoundDevice device;
        QTemporaryDir folder;
        const QString piece = folder.filePath(QStringLiteral("piece.mid"));
        WriteOneNoteMidi(piece, 0, 60);
        SdlMusicPlayer background;
        SdlMusicPlayer festival;
        QSignalSpy backgroundEnds(&background, &MusicPlayer::Finished);
        QSignalSpy festivalEnds(&festival, &MusicPlayer::Finished);

        QVERIFY(background.Open(piece));
        background.Play();
        QVERIFY(background.IsPlaying());
        QVERIFY(festival.Open(piece));
        festival.Play();
        QVERIFY2(!background.IsPlaying(), "the mixer has one music stream");
        QVERIFY(festivalEnds.wait(10000));
        QVERIFY(!festivalEnds.wait(300));
        QCOMPARE(festivalEnds.count(), 1);
        QCOMPARE(backgroundEnds.count(), 0);

        festival.Play();
        festival.Close();
        QVERIFY(!festivalEnds.wait(NoEndWithinMs));
        QCOMPARE(festivalEnds.count(), 1);
    }

    void twoBackgroundPiecesAlternateUntilMusicIsSwitchedOff()
    {
        SoundDevice device;
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("mid")));
        WriteOneNoteMidi(folder.filePath(QStringLiteral("mid/钟.mid")), 14, 72);
        WriteOneNoteMidi(folder.filePath(QStringLiteral("mid/笛.mid")), 73, 79);
        MusicState musicState = MusicState::Unset;
        QString gregorianMusicName;
        QString lunarMusicName;
        SdlMusicPlayer backgroundPlayer;
        SdlMusicPlayer festivalPlayer;
        FakeMusicWindow window;
        MusicControl music({musicState, gregorianMusicName, lunarMusicName}, backgroundPlayer, festivalPlayer,
                           window, folder.path());

        music.SetToggleValue(BackgroundMusic);
        QTRY_VERIFY_WITH_TIMEOUT(PieceTooltips(window).size() >= 3, 30000);
        const QStringList tooltips = PieceTooltips(window);
        for (qsizetype i = 1; i < tooltips.size(); ++i)
            QVERIFY2(tooltips[i] != tooltips[i - 1], qPrintable(tooltips.join(u' ')));
        QVERIFY(window.messages.isEmpty());

        music.ToggleByUser();
        QVERIFY(!backgroundPlayer.IsPlaying());
        const qsizetype started = PieceTooltips(window).size();
        QVERIFY(!QTest::qWaitFor([&] { return PieceTooltips(window).size() != started; },
                                 NoEndWithinMs + NextPieceDelayMs));
    }
};

QTEST_MAIN(SoundTest)
#include "test_sound.moc"
