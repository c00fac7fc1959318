// The MIDI files the build lays out beside the program: every festival tune
// the festival tables name, the default festival tune and at least six
// background pieces, each a well-formed Standard MIDI File that plays for at
// least half a minute and releases every note it strikes.
#include "midi_file_reader.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

QString ProgramFile(const QString &relativePath)
{
    return QStringLiteral(RAVEZAZ_PROGRAM_DIR "/") + relativePath;
}

// The tune names of the Gregorian and lunar festival tables.
const char16_t *const FestivalTuneNames[] = {
    u"元旦", u"劳动节", u"儿童节", u"建党日", u"建军节", u"国庆节",
    u"圣诞节", u"春节", u"中秋节", u"除夕", u"正月",
};

const QString DefaultFestivalTune = QStringLiteral("节日.mid");

QStringList BackgroundPieces()
{
    return QDir(ProgramFile(QStringLiteral("mid"))).entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
}

QByteArray ContentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class MusicFilesTest : public QObject {
    Q_OBJECT
private slots:
    void everyTuneIsAPlayableMidiFile_data()
    {
        QTest::addColumn<QString>("relativePath");
        for (const char16_t *name : FestivalTuneNames) {
            const QString path = QStringLiteral("festival/") + QString::fromUtf16(name) + QStringLiteral(".mid");
            QTest::newRow(qPrintable(path)) << path;
        }
        QStringList pieces = BackgroundPieces();
        if (!pieces.contains(DefaultFestivalTune))
            pieces.append(DefaultFestivalTune);
        for (const QString &piece : std::as_const(pieces))
            QTest::newRow(qPrintable(QStringLiteral("mid/") + piece)) << QStringLiteral("mid/") + piece;
    }
    void everyTuneIsAPlayableMidiFile()
    {
        QFETCH(QString, relativePath);
        const QString path = ProgramFile(relativePath);
        QVERIFY2(QFile::exists(path), qPrintable(path + QStringLiteral(" is missing")));

        const MidiFileSummary midi = ReadMidiFile(ContentOf(path));
        QVERIFY2(midi.fault.isEmpty(), qPrintable(midi.fault));
        QCOMPARE(midi.format, 1);
        QVERIFY2(midi.trackCount >= 2, "a conductor track and at least one voice");
        QVERIFY(midi.noteCount > 0);
        QCOMPARE(midi.unreleasedNotes, 0);
        QCOMPARE(midi.restruckNotes, 0);
        QVERIFY2(midi.seconds >= 30.0, qPrintable(QStringLiteral("plays %1 s").arg(midi.seconds)));
        QVERIFY2(midi.seconds <= 300.0, qPrintable(QStringLiteral("plays %1 s").arg(midi.seconds)));
    }

    void backgroundFolderHoldsSixPiecesBesidesTheFestivalTune()
    {
        QStringList pieces = BackgroundPieces();
        pieces.removeAll(DefaultFestivalTune);
        QVERIFY2(pieces.size() >= 6, qPrintable(pieces.join(u' ')));
    }

    // The reader must see a damaged file for what it is, or the checks above prove nothing.
    void damagedFilesAreRejected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ContentOf(ProgramFile(QStringLiteral("festival/春节.mid")));
        QByteArray wrongMagic = good;
        wrongMagic[1] = 'X';
        QByteArray fewerTracksDeclared = good;
        fewerTracksDeclared[11] = char(fewerTracksDeclared[11] - 1);
        QByteArray noEndOfTrack = good;
        noEndOfTrack.replace(QByteArray("\xFF\x2F\x00", 3), QByteArray("\xFF\x01\x00", 3));
        QTest::newRow("cut short") << good.left(good.size() - 5);
        QTest::newRow("wrong magic") << wrongMagic;
        QTest::newRow("track count wrong") << fewerTracksDeclared;
        QTest::newRow("no end of track") << noEndOfTrack;
        QTest::newRow("empty") << QByteArray();
    }
    void damagedFilesAreRejected()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!ReadMidiFile(bytes).fault.isEmpty());
    }
};

QTEST_MAIN(MusicFilesTest)
#include "test_music_files.moc"
