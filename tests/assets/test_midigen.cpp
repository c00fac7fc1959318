// midigen: note lists read into timed notes, faults reported with their line,
// and the Standard MIDI File written from them.
#include "midi_file_reader.h"
#include "note_list.h"
#include "smf_writer.h"

#include <QTest>

namespace {

// A one-voice piece in 2/4 at 120 quarters a minute around the given notes;
// the notes stand on line 5.
std::string OneVoicePiece(const QString &voiceLine, const QString &notes, const QString &header = {})
{
    return QStringLiteral("tempo 120\nmeter 2/4\n%1\nsection s\nv: %2\nplay s\n%3")
        .arg(voiceLine, notes, header)
        .toStdString();
}

QString Describe(const std::vector<ScoreNote> &notes)
{
    QStringList parts;
    for (const ScoreNote &note : notes)
        parts << QStringLiteral("%1@%2+%3").arg(note.key).arg(note.start).arg(note.length);
    return parts.join(u' ');
}

} // namespace

class MidigenTest : public QObject {
    Q_OBJECT
private slots:
    void notesBecomeTimedKeys_data()
    {
        QTest::addColumn<QString>("voice");
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("expected"); // key@start+length, a quarter is 480 ticks

        const QString koto = QStringLiteral("voice v koto gate 100");
        QTest::newRow("durations carry on") << koto << "C4/4 D4/8 E4" << "60@0+480 62@480+240 64@720+240";
        QTest::newRow("sharps, flats, dots") << koto << "Bb3/4. F#5/8" << "58@0+720 78@720+240";
        QTest::newRow("triplets") << koto << "C4/8t D4 E4 F4/4" << "60@0+160 62@160+160 64@320+160 65@480+480";
        QTest::newRow("tied across a bar") << koto << "R/4 C4~ | C4/8 D4 R/4" << "60@480+720 62@1200+240";
        QTest::newRow("tied chord") << koto << "C4+E4/2~ | C4+E4/2" << "60@0+1920 64@0+1920";
        QTest::newRow("ties written as sums") << koto << "G4/2_8 R/8 R/4" << "67@0+1200";
        QTest::newRow("rests only move on") << koto << "R/8 A4/8 R/4" << "69@240+240";
        QTest::newRow("bar repeated") << koto << "| C4/8 D4/4. | %" << "60@0+240 62@240+720 60@960+240 62@1200+720";
        QTest::newRow("bar repeated twice") << koto << "| C4 D4/8 E4 | % | %"
                                            << "60@0+480 62@480+240 64@720+240 60@960+480 62@1440+240 64@1680+240 "
                                               "60@1920+480 62@2400+240 64@2640+240";
        QTest::newRow("gate shortens") << "voice v koto gate 50" << "C4/2" << "60@0+480";
        QTest::newRow("drums by name") << "drums v gate 100" << "kick+snare/4 chinese_cymbal" << "36@0+480 38@0+480 52@480+480";
    }
    void notesBecomeTimedKeys()
    {
        QFETCH(QString, voice);
        QFETCH(QString, notes);
        QFETCH(QString, expected);
        const NoteListResult result = ReadNoteList(OneVoicePiece(voice, notes));
        QVERIFY2(result.score.has_value(), result.error.c_str());
        QCOMPARE(Describe(result.score->voices.at(0).notes), expected);
    }

    void transposeMovesPitchesButNotDrums()
    {
        const std::string text = "tempo 90\nmeter 2/4\ntranspose 5\nvoice a flute\ndrums d\n"
                                 "section s\na: C4/2\nd: kick/2\nplay s\n";
        const NoteListResult result = ReadNoteList(text);
        QVERIFY2(result.score.has_value(), result.error.c_str());
        QCOMPARE(result.score->voices.at(0).notes.at(0).key, 65);
        QCOMPARE(result.score->voices.at(1).notes.at(0).key, 36);
        QCOMPARE(result.score->voices.at(1).channel, PercussionChannel);
    }

    void sectionsFollowThePlayLine()
    {
        const std::string text = "tempo 60\nmeter 3/4\nvoice a flute gate 100\nvoice b cello gate 100\n"
                                 "section x\na: C5/2.\nsection y\nmeter 2/4\na: D5/2\nb: G3/2\n"
                                 "play x y x\n";
        const NoteListResult result = ReadNoteList(text);
        QVERIFY2(result.score.has_value(), result.error.c_str());
        QCOMPARE(Describe(result.score->voices.at(0).notes), QStringLiteral("72@0+1440 74@1440+960 72@2400+1440"));
        QCOMPARE(Describe(result.score->voices.at(1).notes), QStringLiteral("55@1440+960"));
        QCOMPARE(result.score->endTick, 3840L);
        QCOMPARE(result.score->meters.size(), std::size_t(3));
        QCOMPARE(result.score->meters.at(1).tick, 1440L);
        QCOMPARE(result.score->meters.at(1).beats, 2);
    }

    void faultsNameTheirLine_data()
    {
        QTest::addColumn<QString>("notes");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("error");
        QTest::newRow("bar too long") << "| C4/4 D4 E4 |" << "" << "line 5: bar holds 1440 ticks";
        QTest::newRow("bar too short") << "| C4/4 | D4/2 |" << "" << "line 5: bar holds 480 ticks";
        QTest::newRow("not a pitch") << "H4/4" << "" << "line 5: \"H4\" is not a pitch";
        QTest::newRow("no octave") << "C/4" << "" << "line 5: \"C\" is not a pitch";
        QTest::newRow("odd duration") << "C4/3" << "" << "line 5: duration \"3\"";
        QTest::newRow("tie to another note") << "C4/4~ D4" << "" << "line 5: a tie must continue";
        QTest::newRow("tie left open") << "C4/2~" << "" << "line 5: a tie at the end";
        QTest::newRow("nothing to repeat") << "% C4/2" << "" << "line 5: % has no bar";
        QTest::newRow("key twice in a chord") << "C4+E4+C4/2" << "" << "line 5: \"C4+E4+C4\" strikes one key twice";
        QTest::newRow("above the keys") << "A9/2" << "" << "line 5: \"A9\" lies outside the MIDI keys";
        QTest::newRow("unknown section") << "C4/2" << "play s t" << "line 7: there is no section \"t\"";
        QTest::newRow("unequal voices") << "C4/2" << "voice w flute\nsection u\nv: C4/2\nw: C4/4\nplay u"
                                        << "line 8: in section u voice w lasts 480";
        QTest::newRow("undeclared voice") << "C4/2" << "section u\nx: C4/2\nplay u" << "line 8: voice \"x\" is not declared";
    }
    void faultsNameTheirLine()
    {
        QFETCH(QString, notes);
        QFETCH(QString, header);
        QFETCH(QString, error);
        const NoteListResult result = ReadNoteList(OneVoicePiece(QStringLiteral("voice v koto"), notes, header));
        QVERIFY(!result.score.has_value());
        QVERIFY2(QString::fromStdString(result.error).contains(error), result.error.c_str());
    }

    void dynamicsAccentsAndTheBeatSetTheLevel()
    {
        const NoteListResult result = ReadNoteList(OneVoicePiece(QStringLiteral("voice v koto"),
                                                                 QStringLiteral("| p C4/4 ^C4 | f C4 C4 |")));
        QVERIFY2(result.score.has_value(), result.error.c_str());
        QList<int> velocities;
        for (const ScoreNote &note : result.score->voices.at(0).notes)
            velocities << note.velocity;
        // p is 50 and f is 92; an accent adds 16, a downbeat 6 and the other beat 2.
        QCOMPARE(velocities, QList<int>({56, 68, 98, 94}));
    }

    void writtenFileReadsBack()
    {
        const std::string text = "title 测试\ntempo 120\nmeter 2/4\nvoice a flute gate 100\n"
                                 "section s\na: | C5/4 C5 | tempo=60 C5/2 |\nplay s\n";
        const NoteListResult result = ReadNoteList(text);
        QVERIFY2(result.score.has_value(), result.error.c_str());
        const std::string bytes = StandardMidiFile(*result.score);
        QVERIFY(QByteArray::fromStdString(bytes).startsWith(QByteArray("MThd\0\0\0\6\0\1\0\2\1\xE0", 14)));

        const MidiFileSummary midi = ReadMidiFile(QByteArray::fromStdString(bytes));
        QVERIFY2(midi.fault.isEmpty(), qPrintable(midi.fault));
        QCOMPARE(midi.trackCount, 2);
        QCOMPARE(midi.noteCount, 3);
        QCOMPARE(midi.unreleasedNotes, 0);
        // A repeated key is released before it is struck again.
        QCOMPARE(midi.restruckNotes, 0);
        // One bar at 120 (1 s) and one at 60 (2 s).
        QCOMPARE(midi.seconds, 3.0);
    }
};

QTEST_MAIN(MidigenTest)
#include "test_midigen.moc"
