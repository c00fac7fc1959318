#include "divination_record.h"
#include "record_file.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>

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

void writeBytes(const QString &path, const QByteArray &bytes)
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
    int changingLineCount;
    const char16_t *resultingLines;
};

CurrentCast castOf(const CastFields &fields)
{
    CurrentCast cast;
    cast.castTime = QString::fromUtf16(fields.time);
    cast.divinerName = QString::fromUtf16(fields.name);
    cast.matterText = QString::fromUtf16(fields.matter);
    cast.changingLineCount = fields.changingLineCount;
    cast.recordPrimaryLines = QString::fromUtf16(fields.primaryLines);
    const int primary = HexagramNumberOf(cast.recordPrimaryLines);
    cast.recordPrimaryNumber = QString::number(primary);
    cast.recordPrimaryName = HexagramNameOf(primary);
    cast.recordResultingLines = QString::fromUtf16(fields.resultingLines);
    const int resulting = HexagramNumberOf(cast.recordResultingLines);
    cast.recordResultingNumber = QString::number(resulting);
    cast.recordResultingName = HexagramNameOf(resulting);
    return cast;
}

// The casts stored in three-casts.kdf. The second has no changing line but
// still carries the resulting hexagram of an earlier cast; the third was
// typed with double quotes in its name and matter.
constexpr CastFields threeCasts[] = {
    {u"2006-7-16 10:20:30", u"张三", u"某事云云", u"111111", 3, u"000111"},
    {u"2006-7-17 8:05:09", u"李四", u"问行程", u"000000", 0, u"000111"},
    {u"2006-7-18 21:00(人工输入)", u"王\"五", u"问\"远行\"", u"111111", 6, u"000000"},
};

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

// Caps the size of files this process writes, as a nearly full disk does;
// a write past the cap fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit capped = saved_;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved_{};
};

} // namespace

class RecordsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString tempPath(const QString &name) const { return dir_.filePath(name); }

private slots:
    void appendingCastsWritesTheGoldenFile()
    {
        const QString path = tempPath(QStringLiteral("golden.kdf"));
        for (const CastFields &fields : threeCasts)
            QVERIFY(AppendRecord(path, RecordOfCast(castOf(fields))));
        QCOMPARE(bytesOf(path), bytesOf(fixture(QStringLiteral("three-casts.kdf"))));
    }

    void appendingToMissingFileCreatesOneLine()
    {
        const QString path = tempPath(QStringLiteral("new.kdf"));
        QVERIFY(AppendRecord(path, RecordOfCast(castOf(threeCasts[0]))));
        QCOMPARE(bytesOf(path), FormatRecordLine(RecordOfCast(castOf(threeCasts[0]))));
    }

    void changingLinesFieldNamesTheCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << "未变爻";
        QTest::newRow("one") << 1 << "变1爻";
        QTest::newRow("six") << 6 << "变6爻";
    }
    void changingLinesFieldNamesTheCount()
    {
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(ChangingLinesText(count), text);
    }

    void appendAfterLineWithoutLineEndKeepsRecordsApart()
    {
        const QString path = tempPath(QStringLiteral("no-final-crlf.kdf"));
        QFile::remove(path);
        QVERIFY(QFile::copy(fixture(QStringLiteral("no-final-crlf.kdf")), path));
        const QByteArray before = bytesOf(path);
        QVERIFY(AppendRecord(path, RecordOfCast(castOf(threeCasts[1]))));
        QCOMPARE(bytesOf(path), before + "\r\n" + FormatRecordLine(RecordOfCast(castOf(threeCasts[1]))));
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
        QVERIFY(!AppendRecord(path, RecordOfCast(castOf(threeCasts[0]))));
        QVERIFY(!QFile::exists(tempPath(QStringLiteral("no-such-folder"))));
    }

    void appendOnFullDiskLeavesFileAsItWas()
    {
        const QString path = tempPath(QStringLiteral("full.kdf"));
        const QByteArray before = bytesOf(fixture(QStringLiteral("three-casts.kdf")));
        writeBytes(path, before);
        const FileSizeLimit limit(before.size() + 10);
        QVERIFY(!AppendRecord(path, RecordOfCast(castOf(threeCasts[0]))));
        QCOMPARE(bytesOf(path), before);
    }

    void deviceThatFillsUpReportsFailure()
    {
        const DivinationRecord record = RecordOfCast(castOf(threeCasts[0]));
        FullDevice device(FormatRecordLine(record).size() - 1);
        QVERIFY(!AppendRecord(device, record));
        FullDevice roomy(FormatRecordLine(record).size());
        QVERIFY(AppendRecord(roomy, record));
    }
};

QTEST_GUILESS_MAIN(RecordsTest)
#include "test_records.moc"
