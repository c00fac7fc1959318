#include "as_ordinary_user.h"
#include "file_size_limit.h"
#include "core/resolution.h"
#include "fileformat/gbk_codec.h"
#include "fileformat/line_scanner.h"
#include "records/divination_record.h"
#include "records/record_file.h"
#include "records/record_listing.h"
#include "records/record_search.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(RAVEZAZ_FIXTURES "/records/") + name;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct CastFields {
    const char16_t *time;
    const char16_t *name;
    const char16_t *matter;
    const char16_t *primaryLines;
    const char16_t *resultingLines;
};

// The record the resolution of the cast gives.
DivinationRecord RecordOfCast(const CastFields &fields)
{
    CastResult cast;
    cast.castTime = QString::fromUtf16(fields.time);
    cast.divinerName = QString::fromUtf16(fields.name);
    cast.matterText = QString::fromUtf16(fields.matter);
    cast.primaryLines = QString::fromUtf16(fields.primaryLines);
    cast.resultingLines = QString::fromUtf16(fields.resultingLines);
    return ResolveCast(cast).record;
}

// The casts stored in three-casts.kdf. The second has no changing line and
// follows one with changing lines; the third was typed with double quotes in
// its name and matter.
constexpr CastFields threeCasts[] = {
    {u"2006-7-16 10:20:30", u"张三", u"某事云云", u"111111", u"000111"},
    {u"2006-7-17 8:05:09", u"李四", u"问行程", u"000000", u"000000"},
    {u"2006-7-18 21:00(人工输入)", u"王\"五", u"问\"远行\"", u"111111", u"000000"},
};

DivinationRecord RecordOf(std::initializer_list<const char16_t *> fields)
{
    DivinationRecord record;
    auto value = fields.begin();
    for (const RecordField &field : RecordFields())
        record.*field.member = QString::fromUtf16(*value++);
    return record;
}

// A record whose cast time names its number, so a listing shows which
// record stands where.
DivinationRecord NumberedRecord(int number)
{
    DivinationRecord record = RecordOfCast(threeCasts[0]);
    record.castTime = QStringLiteral("第%1条").arg(number);
    return record;
}

// A device that takes `capacity` bytes and then refuses, like a full disk.
class FullDevice : public QIODevice {
public:
    explicit FullDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override
    {
        const qint64 taken = qMin(length, capacity_);
        capacity_ -= taken;
        return taken == 0 ? -1 : taken;
    }

private:
    qint64 capacity_;
};

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString tempPath(const QString &name) const { return dir_.filePath(name); }

    // A fresh file of `count` numbered records.
    QString numberedFile(const QString &name, int count) const
    {
        const QString path = tempPath(name);
        QFile::remove(path);
        for (int number = 1; number <= count; ++number) {
            if (!AppendRecord(path, NumberedRecord(number)))
                return {};
        }
        return path;
    }

    QString copyOfFixture(const QString &name) const
    {
        const QString path = tempPath(name);
        QFile::remove(path);
        QFile::copy(fixture(name), path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

private slots:
    void appendingCastsWritesTheGoldenFile()
    {
        const QString path = tempPath(QStringLiteral("golden.kdf"));
        for (const CastFields &fields : threeCasts)
            QVERIFY(AppendRecord(path, RecordOfCast(fields)));
        QCOMPARE(bytesOf(path), bytesOf(fixture(QStringLiteral("three-casts.kdf"))));
    }

    void appendingToMissingFileCreatesOneLine()
    {
        const QString path = tempPath(QStringLiteral("new.kdf"));
        QVERIFY(AppendRecord(path, RecordOfCast(threeCasts[0])));
        QCOMPARE(bytesOf(path), FormatRecordLine(RecordOfCast(threeCasts[0])));
    }

    void appendAfterLineWithoutLineEndKeepsRecordsApart()
    {
        const QString path = copyOfFixture(QStringLiteral("no-final-crlf.kdf"));
        const QByteArray before = bytesOf(path);
        QVERIFY(AppendRecord(path, RecordOfCast(threeCasts[1])));
        QCOMPARE(bytesOf(path), before + "\r\n" + FormatRecordLine(RecordOfCast(threeCasts[1])));
    }

    void failedAppendIsReported_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing folder") << tempPath(QStringLiteral("no-such-folder/filelog.kdf"));
        QTest::newRow("folder as file") << dir_.path();
    }
    void failedAppendIsReported()
    {
        QFETCH(QString, path);
        QVERIFY(!AppendRecord(path, RecordOfCast(threeCasts[0])));
        QVERIFY(!QFile::exists(tempPath(QStringLiteral("no-such-folder"))));
    }

    void appendOnFullDiskLeavesFileAsItWas()
    {
        const QString path = tempPath(QStringLiteral("full.kdf"));
        const QByteArray before = bytesOf(fixture(QStringLiteral("three-casts.kdf")));
        WriteBytes(path, before);
        const FileSizeLimit limit(before.size() + 10);
        QVERIFY(!AppendRecord(path, RecordOfCast(threeCasts[0])));
        QCOMPARE(bytesOf(path), before);
    }

    void deviceThatFillsUpReportsFailure()
    {
        const DivinationRecord record = RecordOfCast(threeCasts[0]);
        FullDevice device(FormatRecordLine(record).size() - 1);
        QVERIFY(!AppendRecord(device, record));
        FullDevice roomy(FormatRecordLine(record).size());
        QVERIFY(AppendRecord(roomy, record));
    }

    void countTakesEveryLine_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("count");
        QTest::newRow("three casts") << "three-casts.kdf" << qint64(3);
        QTest::newRow("no final line end") << "no-final-crlf.kdf" << qint64(1);
        QTest::newRow("empty") << "empty.kdf" << qint64(0);
        QTest::newRow("blank lines") << "blank-lines.kdf" << qint64(5);
        QTest::newRow("LF line ends") << "unquoted-fields.kdf" << qint64(1);
    }
    void countTakesEveryLine()
    {
        QFETCH(QString, file);
        QFETCH(qint64, count);
        QCOMPARE(CountRecords(fixture(file)), std::optional<qint64>(count));
    }

    void missingFileIsReportedByEveryReader()
    {
        const QString path = tempPath(QStringLiteral("missing.kdf"));
        QCOMPARE(CountRecords(path), std::nullopt);
        QCOMPARE(ListRecords(path, 1, 20), std::nullopt);
        QCOMPARE(ReadRecord(path, 1).status, RecordFileStatus::FileUnreadable);
        QCOMPARE(DeleteRecord(path, 1).status, RecordFileStatus::FileUnreadable);
        QVERIFY(!CopyRecordFile(path, tempPath(QStringLiteral("copy.kdf"))));
        QVERIFY(!QFile::exists(path));
    }

    void listingShowsNumberAndStoredLine()
    {
        const std::optional<QString> listing = ListRecords(fixture(QStringLiteral("three-casts.kdf")), 2, 3);
        QVERIFY(listing);
        const QStringList stored = DecodeGbk(bytesOf(fixture(QStringLiteral("three-casts.kdf")))).split(QStringLiteral("\r\n"));
        QCOMPARE(*listing, QStringLiteral(" №<2>") + stored[1] + QStringLiteral("\r\n №<3>") + stored[2] + QStringLiteral("\r\n"));
    }

    void listingCoversTheAskedRange_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("last");
        QTest::addColumn<QList<int>>("listed");
        QTest::newRow("page 2 of 25") << 25 << qint64(21) << qint64(40) << QList<int>{21, 22, 23, 24, 25};
        QTest::newRow("last page to the end") << 25 << qint64(21) << std::numeric_limits<qint64>::max()
                                              << QList<int>{21, 22, 23, 24, 25};
        QTest::newRow("page 1 of 25") << 25 << qint64(1) << qint64(20)
                                      << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
        QTest::newRow("first below 1") << 3 << qint64(-5) << qint64(2) << QList<int>{1, 2};
        QTest::newRow("past the end") << 3 << qint64(4) << qint64(20) << QList<int>{};
        QTest::newRow("reversed") << 3 << qint64(3) << qint64(2) << QList<int>{};
        QTest::newRow("empty file") << 0 << qint64(1) << qint64(20) << QList<int>{};
    }
    void listingCoversTheAskedRange()
    {
        QFETCH(int, records);
        QFETCH(qint64, first);
        QFETCH(qint64, last);
        QFETCH(QList<int>, listed);
        const QString path = numberedFile(QStringLiteral("numbered.kdf"), records);
        if (records == 0)
            WriteBytes(path, {});
        QString expected;
        for (int number : listed)
            expected += QStringLiteral(" №<%1>").arg(number) + DecodeGbk(FormatRecordLine(NumberedRecord(number)));
        QCOMPARE(ListRecords(path, first, last), std::optional<QString>(expected));
    }

    void listingReachesPastSixteenBitNumbers()
    {
        const QString path = tempPath(QStringLiteral("long.kdf"));
        const QByteArray line = FormatRecordLine(NumberedRecord(0));
        QByteArray bytes;
        for (int i = 0; i < 40000; ++i)
            bytes += line;
        WriteBytes(path, bytes);
        QCOMPARE(CountRecords(path), std::optional<qint64>(40000));
        const std::optional<QString> listing = ListRecords(path, 39981, 40000);
        QVERIFY(listing);
        QCOMPARE(listing->count(u'№'), 20);
        QVERIFY(listing->startsWith(QStringLiteral(" №<39981>\"时间:第0条\"")));
        QVERIFY(listing->endsWith(QStringLiteral(" №<40000>") + DecodeGbk(line)));
        QCOMPARE(ReadRecord(path, 40000).status, RecordFileStatus::Done);
    }

    void readRecordFindsOnlyExistingNumbers_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<RecordFileStatus>("status");
        QTest::newRow("1 of 1") << "no-final-crlf.kdf" << qint64(1) << RecordFileStatus::Done;
        QTest::newRow("2 of 1") << "no-final-crlf.kdf" << qint64(2) << RecordFileStatus::RecordNotFound;
        QTest::newRow("0") << "no-final-crlf.kdf" << qint64(0) << RecordFileStatus::RecordNotFound;
        QTest::newRow("negative") << "three-casts.kdf" << qint64(-1) << RecordFileStatus::RecordNotFound;
        QTest::newRow("3 of 3") << "three-casts.kdf" << qint64(3) << RecordFileStatus::Done;
        QTest::newRow("1 of empty") << "empty.kdf" << qint64(1) << RecordFileStatus::RecordNotFound;
        QTest::newRow("empty line") << "blank-lines.kdf" << qint64(2) << RecordFileStatus::Done;
        QTest::newRow("last without line end") << "blank-lines.kdf" << qint64(5) << RecordFileStatus::Done;
        QTest::newRow("6 of 5") << "blank-lines.kdf" << qint64(6) << RecordFileStatus::RecordNotFound;
    }
    void readRecordFindsOnlyExistingNumbers()
    {
        QFETCH(QString, file);
        QFETCH(qint64, number);
        QFETCH(RecordFileStatus, status);
        QCOMPARE(ReadRecord(fixture(file), number).status, status);
    }

    void readRecordStripsLabels_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<DivinationRecord>("record");
        QTest::newRow("changing lines") << "three-casts.kdf" << qint64(1)
            << RecordOf({u"2006-7-16 10:20:30", u"张三", u"某事云云", u"1", u"111111", u"乾", u"变3爻", u"12", u"000111", u"否"});
        QTest::newRow("no changing line") << "three-casts.kdf" << qint64(2)
            << RecordOf({u"2006-7-17 8:05:09", u"李四", u"问行程", u"2", u"000000", u"坤", u"未变爻", u"", u"", u""});
        QTest::newRow("typed quotes") << "three-casts.kdf" << qint64(3)
            << RecordOf({u"2006-7-18 21:00(人工输入)", u"王“五", u"问“远行“", u"1", u"111111", u"乾", u"变6爻", u"2", u"000000", u"坤"});
        QTest::newRow("label inside value") << "label-in-value.kdf" << qint64(1)
            << RecordOf({u"2006-7-16 10:20", u"张三", u"问何事", u"1", u"111111", u"乾", u"变1爻", u"44", u"011111", u"姤"});
        QTest::newRow("empty line") << "blank-lines.kdf" << qint64(1)
            << RecordOf({u"", u"", u"", u"", u"", u"", u"", u"", u"", u""});
    }
    void readRecordStripsLabels()
    {
        QFETCH(QString, file);
        QFETCH(qint64, number);
        QFETCH(DivinationRecord, record);
        const RecordReading reading = ReadRecord(fixture(file), number);
        QCOMPARE(reading.status, RecordFileStatus::Done);
        QCOMPARE(reading.record, record);
    }

    void brokenLinesAreReadWithoutLosingTheirPlace_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<DivinationRecord>("record");
        QTest::newRow("seven fields") << "seven-fields.kdf"
            << RecordOf({u"2006-7-16 10:20:30", u"张三", u"问事", u"1", u"111111", u"乾", u"变3爻", u"", u"", u""});
        QTest::newRow("unclosed quote") << "unclosed-quote.kdf"
            << RecordOf({u"2006-7-16 10:20:30", u"张三", u"问事,\"卦序号:1", u"", u"", u"", u"", u"", u"", u""});
        QTest::newRow("embedded quote") << "embedded-quote.kdf"
            << RecordOf({u"2006-7-16 10:20:30", u"张\"三", u"问事", u"1", u"111111", u"乾", u"未变爻", u"", u"", u""});
        QTest::newRow("unquoted fields") << "unquoted-fields.kdf"
            << RecordOf({u"2006-7-16 10:20:30", u"张三", u"问事", u"1", u"111111", u"乾", u"未变爻", u"", u"", u""});
    }
    void brokenLinesAreReadWithoutLosingTheirPlace()
    {
        QFETCH(QString, file);
        QFETCH(DivinationRecord, record);
        const RecordReading reading = ReadRecord(fixture(file), 1);
        QCOMPARE(reading.status, RecordFileStatus::Done);
        QCOMPARE(reading.record, record);
    }

    void invalidGbkBytesBecomeReplacementCharacters()
    {
        const RecordReading reading = ReadRecord(fixture(QStringLiteral("invalid-gbk.kdf")), 1);
        QCOMPARE(reading.status, RecordFileStatus::Done);
        QCOMPARE(reading.record.castTime, QStringLiteral("2006-7-16 10:20:30"));
        QVERIFY(reading.record.divinerName.contains(QChar::ReplacementCharacter));
        QVERIFY(reading.record.matterText.contains(QChar::ReplacementCharacter));
        QCOMPARE(reading.record.primaryNumber, QStringLiteral("1"));
        QCOMPARE(reading.record.changingLines, QStringLiteral("未变爻"));
    }

    // A line of megabytes (a file that is no record file) is never held
    // whole: it is read cut short, listed with a mark, and a deletion of
    // another record keeps it byte for byte.
    void hugeLineIsCountedListedAndRead()
    {
        const QString path = tempPath(QStringLiteral("huge.kdf"));
        const QByteArray huge = "\"" + QByteArray(3 << 20, 'x') + "\"";
        WriteBytes(path, FormatRecordLine(NumberedRecord(1)) + huge + "\r\n" + FormatRecordLine(NumberedRecord(3)));
        QCOMPARE(CountRecords(path), std::optional<qint64>(3));
        const RecordReading reading = ReadRecord(path, 2);
        QCOMPARE(reading.status, RecordFileStatus::Done);
        QCOMPARE(reading.record.castTime, QString(LongestStoredLine - 1, u'x'));
        QCOMPARE(ReadRecord(path, 3).record, NumberedRecord(3));
        const std::optional<QString> listing = ListRecords(path, 2, 3);
        QVERIFY(listing);
        QCOMPARE(ListedRecordLine(*listing, 2), u'"' + QString(LongestStoredLine - 1, u'x') + u'…');
        QVERIFY(listing->endsWith(QStringLiteral(" №<3>") + DecodeGbk(FormatRecordLine(NumberedRecord(3)))));
        QCOMPARE(DeleteRecord(path, 1).status, RecordFileStatus::Done);
        QCOMPARE(bytesOf(path), huge + "\r\n" + FormatRecordLine(NumberedRecord(3)));
    }

    // Pasted line breaks and other control characters become spaces, so one
    // cast is always one line.
    void controlCharactersNeverBreakARecord_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("matter");
        QTest::addColumn<QString>("storedName");
        QTest::addColumn<QString>("storedMatter");
        QTest::newRow("CR LF after the name") << "张三\r\n" << "某事" << "张三  " << "某事";
        QTest::newRow("LF inside the matter") << "张三" << "问\n行程" << "张三" << "问 行程";
        QTest::newRow("CR alone, tab") << "\r李\t四" << "问事" << " 李 四" << "问事";
        QTest::newRow("NUL, escape, C1") << "王五" << QString::fromUtf16(u"a\0b\x1b[31m\x9b", 9) << "王五"
                                         << "a b [31m ";
    }
    void controlCharactersNeverBreakARecord()
    {
        QFETCH(QString, name);
        QFETCH(QString, matter);
        QFETCH(QString, storedName);
        QFETCH(QString, storedMatter);
        const QString path = numberedFile(QStringLiteral("control.kdf"), 0);
        DivinationRecord record = NumberedRecord(1);
        record.divinerName = name;
        record.matterText = matter;
        QVERIFY(AppendRecord(path, record));
        QVERIFY(AppendRecord(path, NumberedRecord(2)));
        QCOMPARE(CountRecords(path), std::optional<qint64>(2));
        record.divinerName = storedName;
        record.matterText = storedMatter;
        QCOMPARE(ReadRecord(path, 1).record, record);
        QCOMPARE(ReadRecord(path, 2).record, NumberedRecord(2));
    }

    // A record an earlier version split with a pasted line break stays two
    // listed lines; the records after it keep their places and the pieces
    // can be deleted.
    void recordSplitByAnEarlierVersionLeavesTheOthersInPlace()
    {
        const QString path = copyOfFixture(QStringLiteral("line-break-in-name.kdf"));
        const RecordReading intact = ReadRecord(fixture(QStringLiteral("three-casts.kdf")), 2);
        QCOMPARE(CountRecords(path), std::optional<qint64>(3));
        QCOMPARE(ReadRecord(path, 3).record, intact.record);
        QCOMPARE(DeleteRecord(path, 1).status, RecordFileStatus::Done);
        QCOMPARE(DeleteRecord(path, 1).status, RecordFileStatus::Done);
        QCOMPARE(CountRecords(path), std::optional<qint64>(1));
        QCOMPARE(ReadRecord(path, 1).record, intact.record);
    }

    // Files from old Mac editors end lines with CR alone.
    void crAloneEndsALine_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("count");
        QTest::newRow("CR alone") << "cr-line-ends.kdf" << 2;
        QTest::newRow("CR, LF and CR LF mixed") << "mixed-line-ends.kdf" << 3;
    }
    void crAloneEndsALine()
    {
        QFETCH(QString, file);
        QFETCH(int, count);
        const QString path = copyOfFixture(file);
        QCOMPARE(CountRecords(path), std::optional<qint64>(count));
        const QList<QByteArray> lines = bytesOf(fixture(QStringLiteral("three-casts.kdf"))).split('\n');
        for (int number = 1; number <= count; ++number)
            QCOMPARE(ReadRecord(path, number).record, ReadRecord(fixture(QStringLiteral("three-casts.kdf")), number).record);
        const RecordDeletion deletion = DeleteRecord(path, 1);
        QCOMPARE(deletion.status, RecordFileStatus::Done);
        QCOMPARE(deletion.recordsLeft, count - 1);
        QByteArray expected;
        for (int number = 2; number <= count; ++number)
            expected += lines[number - 1] + '\n';
        QCOMPARE(bytesOf(path), expected);
    }

    // A device or a FIFO would fill the memory or hang the reader.
    void specialFilesAreNoRecordFiles_data()
    {
        QTest::addColumn<QString>("path");
        const QString fifo = tempPath(QStringLiteral("fifo.kdf"));
        QFile::remove(fifo);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QTest::newRow("endless device") << "/dev/zero";
        QTest::newRow("FIFO without a writer") << fifo;
        QTest::newRow("folder") << dir_.path();
    }
    void specialFilesAreNoRecordFiles()
    {
        QFETCH(QString, path);
        QCOMPARE(ProbeRecordFile(path), RecordFileStatus::NotRecordFile);
        QCOMPARE(CountRecords(path), std::nullopt);
        QCOMPARE(ListRecords(path, 1, 20), std::nullopt);
        QCOMPARE(ReadRecord(path, 1).status, RecordFileStatus::NotRecordFile);
        QCOMPARE(DeleteRecord(path, 1).status, RecordFileStatus::NotRecordFile);
        QVERIFY(!AppendRecord(path, NumberedRecord(1)));
        QVERIFY(!CopyRecordFile(path, tempPath(QStringLiteral("copy-of-special.kdf"))));
    }

    // The browser deletes record n only while it is still the line it listed:
    // another program may have deleted an earlier record meanwhile.
    void deletionChecksTheListedLine()
    {
        const QString path = numberedFile(QStringLiteral("changed.kdf"), 5);
        const std::optional<QString> third = ListedRecordLine(ListRecords(path, 1, 5).value(), 3);
        QVERIFY(third);
        QCOMPARE(DeleteRecord(path, 1).status, RecordFileStatus::Done);
        const QByteArray before = bytesOf(path);
        QCOMPARE(DeleteRecord(path, 3, third).status, RecordFileStatus::RecordChanged);
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(DeleteRecord(path, 2, third).status, RecordFileStatus::Done);
        QCOMPARE(ReadRecord(path, 2).record, NumberedRecord(4));
    }

    void expectedLineMatchesControlCharactersAsShown()
    {
        const QString path = tempPath(QStringLiteral("escape.kdf"));
        WriteBytes(path, "\"\x1b[2J\",\"x\"\r\n" + FormatRecordLine(NumberedRecord(2)));
        QCOMPARE(DeleteRecord(path, 1, QStringLiteral("\"\uFFFD[2J\",\"x\"")).status, RecordFileStatus::Done);
        QCOMPARE(bytesOf(path), FormatRecordLine(NumberedRecord(2)));
    }

    void deletionKeepsModeAndOwner()
    {
        const QString path = numberedFile(QStringLiteral("owned.kdf"), 3);
        const QByteArray name = QFile::encodeName(path);
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        const bool root = ::geteuid() == 0;
        if (root)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
        QCOMPARE(DeleteRecord(path, 2).status, RecordFileStatus::Done);
        struct stat status{};
        QCOMPARE(::stat(name.constData(), &status), 0);
        QCOMPARE(status.st_mode & 07777, 0640u);
        if (root) {
            QCOMPARE(status.st_uid, 65534u);
            QCOMPARE(status.st_gid, 65534u);
        }
    }

    // A record file the user may write, in a program folder that takes no
    // new files: deleting rewrites it in place, appending works as always.
    void readOnlyFolderKeepsItsRecordFile()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("filelog.kdf"));
        for (int number = 1; number <= 3; ++number)
            QVERIFY(AppendRecord(path, NumberedRecord(number)));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther));
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        {
            const AsOrdinaryUser user;
            const RecordDeletion deletion = DeleteRecord(path, 1);
            QCOMPARE(deletion.status, RecordFileStatus::Done);
            QCOMPARE(deletion.recordsLeft, 2);
            QVERIFY(AppendRecord(path, NumberedRecord(4)));
        }
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(bytesOf(path), FormatRecordLine(NumberedRecord(2)) + FormatRecordLine(NumberedRecord(3)) +
                                    FormatRecordLine(NumberedRecord(4)));
    }

    void deletingMovesLaterRecordsUp()
    {
        const QString path = numberedFile(QStringLiteral("five.kdf"), 5);
        const RecordDeletion deletion = DeleteRecord(path, 3);
        QCOMPARE(deletion.status, RecordFileStatus::Done);
        QCOMPARE(deletion.recordsLeft, 4);
        QByteArray expected;
        for (int number : {1, 2, 4, 5})
            expected += FormatRecordLine(NumberedRecord(number));
        QCOMPARE(bytesOf(path), expected);
        QCOMPARE(ReadRecord(path, 3).record, NumberedRecord(4));
    }

    // Through a symbolic link, a deletion rewrites or removes the file the
    // link points to, and the link stays.
    void deletionThroughALinkActsOnItsTarget_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<qint64>("deleted");
        QTest::newRow("a middle record") << 3 << qint64(2);
        QTest::newRow("the last record of two") << 2 << qint64(2);
        QTest::newRow("the only record") << 1 << qint64(1);
    }
    void deletionThroughALinkActsOnItsTarget()
    {
        QFETCH(int, records);
        QFETCH(qint64, deleted);
        const QString target = numberedFile(QStringLiteral("link-target.kdf"), records);
        const QString link = tempPath(QStringLiteral("link.kdf"));
        QFile::remove(link);
        QVERIFY(QFile::link(target, link));
        const RecordDeletion deletion = DeleteRecord(link, deleted);
        QCOMPARE(deletion.status, RecordFileStatus::Done);
        QCOMPARE(deletion.recordsLeft, records - 1);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QCOMPARE(CountRecords(target), records == 1 ? std::nullopt : std::optional<qint64>(records - 1));
        QCOMPARE(CountRecords(link), CountRecords(target));
    }

    void deletingTheOnlyRecordRemovesTheFile()
    {
        const QString path = numberedFile(QStringLiteral("one.kdf"), 1);
        const RecordDeletion deletion = DeleteRecord(path, 1);
        QCOMPARE(deletion.status, RecordFileStatus::Done);
        QCOMPARE(deletion.recordsLeft, 0);
        QVERIFY(!QFile::exists(path));
    }

    void deletingAMissingRecordLeavesTheFileUntouched_data()
    {
        QTest::addColumn<qint64>("number");
        QTest::newRow("0") << qint64(0);
        QTest::newRow("past the end") << qint64(2);
    }
    void deletingAMissingRecordLeavesTheFileUntouched()
    {
        QFETCH(qint64, number);
        const QString path = copyOfFixture(QStringLiteral("no-final-crlf.kdf"));
        const RecordDeletion deletion = DeleteRecord(path, number);
        QCOMPARE(deletion.status, RecordFileStatus::RecordNotFound);
        QCOMPARE(deletion.recordsLeft, 1);
        QCOMPARE(bytesOf(path), bytesOf(fixture(QStringLiteral("no-final-crlf.kdf"))));
    }

    void deletingRewritesOtherLinesByteForByte()
    {
        const QString path = copyOfFixture(QStringLiteral("blank-lines.kdf"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("\r\n" + bytesOf(fixture(QStringLiteral("invalid-gbk.kdf"))));
        file.close();
        // Lines: "", "", "时间:1", "", "时间:2", the invalid line. The empty
        // lines before the first kept text are dropped, the one after stays.
        const RecordDeletion deletion = DeleteRecord(path, 5);
        QCOMPARE(deletion.status, RecordFileStatus::Done);
        QCOMPARE(deletion.recordsLeft, 3);
        QCOMPARE(bytesOf(path), EncodeGb18030(u"\"时间:1\"") + "\r\n\r\n" + bytesOf(fixture(QStringLiteral("invalid-gbk.kdf"))));
    }

    void deletionThatCannotBeWrittenKeepsTheOldFile()
    {
        const QString path = numberedFile(QStringLiteral("full-delete.kdf"), 5);
        const QByteArray before = bytesOf(path);
        {
            const FileSizeLimit limit(before.size() / 2);
            const RecordDeletion deletion = DeleteRecord(path, 1);
            QCOMPARE(deletion.status, RecordFileStatus::WriteFailed);
        }
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("full-delete.kdf*")}, QDir::Files),
                 QStringList{QStringLiteral("full-delete.kdf")});
    }

    void copyIsByteForByteAndReplacesTheDestination()
    {
        const QString source = fixture(QStringLiteral("invalid-gbk.kdf"));
        const QString destination = numberedFile(QStringLiteral("copy.kdf"), 3);
        QVERIFY(CopyRecordFile(source, destination));
        QCOMPARE(bytesOf(destination), bytesOf(source));
    }

    void failedCopyKeepsTheDestination()
    {
        const QString destination = numberedFile(QStringLiteral("kept.kdf"), 2);
        const QByteArray before = bytesOf(destination);
        {
            const FileSizeLimit limit(10);
            QVERIFY(!CopyRecordFile(fixture(QStringLiteral("three-casts.kdf")), destination));
        }
        QCOMPARE(bytesOf(destination), before);
    }

    void searchLooksOnlyInNameMatterAndHexagramNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("held");
        QTest::newRow("name") << "张三" << true;
        QTest::newRow("part of the matter") << "前" << true;
        QTest::newRow("primary hexagram") << "乾" << true;
        QTest::newRow("resulting hexagram") << "否" << true;
        QTest::newRow("Latin in another case") << "zHANG" << true;
        // 芃 is C6 4D in GBK: its second byte is the byte of "M".
        QTest::newRow("a second byte like a Latin capital") << "芃" << true;
        QTest::newRow("the time") << "2006" << false;
        QTest::newRow("a line string") << "000111" << false;
        QTest::newRow("the changing-line field") << "变3爻" << false;
        QTest::newRow("a label") << "姓名" << false;
        QTest::newRow("across two fields") << "张三问" << false;
        QTest::newRow("empty") << "" << false;
    }
    void searchLooksOnlyInNameMatterAndHexagramNames()
    {
        QFETCH(QString, text);
        QFETCH(bool, held);
        const DivinationRecord record = RecordOf(
            {u"2006-7-16 10:20:30", u"Zhang 张三", u"问前程芃", u"1", u"111111", u"乾", u"变3爻", u"12", u"000111", u"否"});
        QCOMPARE(RecordHoldsText(record, text), held);
        const QString path = tempPath(QStringLiteral("search-one.kdf"));
        QFile::remove(path);
        QVERIFY(AppendRecord(path, RecordOf({u"2006", u"李四", u"问行程", u"2", u"000000", u"坤", u"未变爻", u"", u"", u""})));
        QVERIFY(AppendRecord(path, record));
        const RecordSearch search = FindRecords(path, text);
        QCOMPARE(search.status, RecordFileStatus::Done);
        QCOMPARE(search.numbers, held ? QList<qint64>{2} : QList<qint64>{});
    }

    void searchFindsEveryRecordThatHoldsTheText_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<qint64>>("numbers");
        QTest::newRow("primary and resulting") << "three-casts.kdf" << "坤" << QList<qint64>{2, 3};
        QTest::newRow("a stored double quote") << "three-casts.kdf" << "“" << QList<qint64>{3};
        QTest::newRow("no record") << "three-casts.kdf" << "赵" << QList<qint64>{};
        QTest::newRow("lines of every ending") << "mixed-line-ends.kdf" << "乾" << QList<qint64>{1, 3};
        QTest::newRow("bytes that are no character") << "invalid-gbk.kdf" << QString(QChar::ReplacementCharacter)
                                                     << QList<qint64>{1};
    }
    void searchFindsEveryRecordThatHoldsTheText()
    {
        QFETCH(QString, file);
        QFETCH(QString, text);
        QFETCH(QList<qint64>, numbers);
        const RecordSearch search = FindRecords(fixture(file), text);
        QCOMPARE(search.status, RecordFileStatus::Done);
        QCOMPARE(search.numbers, numbers);
    }

    // A reader takes a field's label out wherever it stands in the field, so
    // in a line written by another program the text on both sides of a label
    // joins: the search finds what the record shows, not only its bytes.
    void searchFindsTextJoinedWhereALabelIsTakenOut_data()
    {
        QTest::addColumn<QString>("nameField");
        QTest::addColumn<QString>("text");
        QTest::newRow("inside the field") << "\"王姓名:五\"" << "王五";
        QTest::newRow("after a quote inside the field") << "\"\"姓名:ab\"" << "\"a";
        QTest::newRow("after a comma inside the field") << "\"x,\"姓名:y\"" << ",\"y";
        QTest::newRow("unquoted, after blanks") << " 王　姓名:五" << "王　五";
    }
    void searchFindsTextJoinedWhereALabelIsTakenOut()
    {
        QFETCH(QString, nameField);
        QFETCH(QString, text);
        const QString path = tempPath(QStringLiteral("inner-label.kdf"));
        const QByteArray line = EncodeGb18030(QStringLiteral("\"时间:2006\",") + nameField + QStringLiteral(",\"占筮事由:问\""));
        WriteBytes(path, FormatRecordLine(NumberedRecord(1)) + line + "\r\n");
        QVERIFY(!line.contains(EncodeGb18030(text)));
        QVERIFY(ParseRecordLine(DecodeGbk(line)).divinerName.contains(text));
        QCOMPARE(FindRecords(path, text).numbers, QList<qint64>{2});
    }

    // 𠀀 (U+20000) is stored in four bytes and held as two UTF-16 halves; a
    // text that begins with its second half has no bytes of its own.
    void searchFindsHalfOfACharacterOutsideTheBasicPlane()
    {
        const QString path = tempPath(QStringLiteral("four-byte.kdf"));
        const QString name = QStringLiteral("张𠀀三");
        WriteBytes(path, FormatRecordLine(NumberedRecord(1)) + EncodeGb18030(QStringLiteral("\"时间:2006\",\"姓名:") + name + u'"')
                             + "\r\n");
        const QString text = name.mid(2, 2);
        QVERIFY(text.front().isLowSurrogate());
        QCOMPARE(FindRecords(path, text).numbers, QList<qint64>{2});
    }

    // The bytes of 张 (D5 C5) stand across the two characters of 罢拧 (B0 D5
    // C5 A1): a search by bytes alone would find a name that is not there.
    void searchMatchesCharactersNotBytes()
    {
        const QString path = tempPath(QStringLiteral("straddle.kdf"));
        QFile::remove(path);
        DivinationRecord record = NumberedRecord(1);
        record.divinerName = QStringLiteral("罢拧");
        QVERIFY(AppendRecord(path, record));
        record.divinerName = QStringLiteral("小张");
        QVERIFY(AppendRecord(path, record));
        QVERIFY(EncodeGb18030(u"罢拧").contains(EncodeGb18030(u"张")));
        QCOMPARE(FindRecords(path, u"张").numbers, QList<qint64>{2});
    }

    void searchTellsMissingAndSpecialFilesApart()
    {
        QCOMPARE(FindRecords(tempPath(QStringLiteral("none.kdf")), u"乾").status, RecordFileStatus::FileUnreadable);
        QCOMPARE(FindRecords(QStringLiteral("/dev/zero"), u"乾").status, RecordFileStatus::NotRecordFile);
    }

    // Records 2, 5 and 9 of 12 were cast for 张三.
    void theNextFoundRecordWrapsRoundTheEnd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("after");
        QTest::addColumn<std::optional<qint64>>("next");
        QTest::newRow("before the first") << "张三" << qint64(0) << std::optional<qint64>(2);
        QTest::newRow("on a found one") << "张三" << qint64(5) << std::optional<qint64>(9);
        QTest::newRow("between two") << "张三" << qint64(6) << std::optional<qint64>(9);
        QTest::newRow("on the last") << "张三" << qint64(9) << std::optional<qint64>(2);
        QTest::newRow("past the end of the file") << "张三" << qint64(100) << std::optional<qint64>(2);
        QTest::newRow("held by every record") << "乾" << qint64(7) << std::optional<qint64>(8);
        QTest::newRow("every record, on the last") << "乾" << qint64(12) << std::optional<qint64>(1);
        QTest::newRow("held by none") << "赵" << qint64(3) << std::optional<qint64>();
        QTest::newRow("empty") << "" << qint64(3) << std::optional<qint64>();
    }
    void theNextFoundRecordWrapsRoundTheEnd()
    {
        QFETCH(QString, text);
        QFETCH(qint64, after);
        QFETCH(std::optional<qint64>, next);
        const QString path = tempPath(QStringLiteral("next.kdf"));
        QFile::remove(path);
        for (int number = 1; number <= 12; ++number) {
            DivinationRecord record = NumberedRecord(number);
            record.divinerName = number == 2 || number == 5 || number == 9 ? QStringLiteral("张三") : QStringLiteral("李四");
            QVERIFY(AppendRecord(path, record));
        }
        const NextRecordSearch search = FindNextRecord(path, text, after);
        QCOMPARE(search.status, RecordFileStatus::Done);
        QCOMPARE(search.number, next);
        QCOMPARE(FindNextRecord(tempPath(QStringLiteral("none.kdf")), text, after).status,
                 RecordFileStatus::FileUnreadable);
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "test_records.moc"
