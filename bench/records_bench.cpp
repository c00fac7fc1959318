// Times the record file operations the record browser uses on a large file:
// counting, listing the last page (where a fresh browser lands), reading one
// record, finding records by a text, and deleting one. Usage: records_bench [RECORDS] (default 1000000).
// Prints one line per measurement: name, best of several rounds in ms.

#include "records/record_file.h"
#include "records/record_search.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

constexpr int Rounds = 5;
constexpr qint64 RecordsPerPage = 20;

// Lines as casts write them, with texts that vary from record to record.
QByteArray recordFileBytes(qint64 records)
{
    DivinationRecord record{QString(), QString(), QString(),
                            QStringLiteral("12"), QStringLiteral("000111"), QStringLiteral("否"),
                            QStringLiteral("变3爻"), QStringLiteral("1"), QStringLiteral("111111"),
                            QStringLiteral("乾")};
    QByteArray bytes;
    for (qint64 number = 1; number <= records; ++number) {
        record.castTime = QStringLiteral("2006-7-%1 10:%2:%3").arg(number % 28 + 1).arg(number % 60).arg(number % 59);
        record.divinerName = QStringLiteral("占者%1").arg(number % 1000);
        record.matterText = QStringLiteral("问第%1件事之吉凶如何").arg(number);
        bytes += FormatRecordLine(record);
    }
    return bytes;
}

template <typename Work>
double BestMilliseconds(Work work)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed());
    }
    return best / 1e6;
}

void Report(const char *name, double milliseconds)
{
    std::printf("%s\t%.2f ms\n", name, milliseconds);
}

} // namespace

int main(int argc, char *argv[])
{
    const qint64 records = argc > 1 ? std::atoll(argv[1]) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("filelog.kdf"));
    {
        const QByteArray bytes = recordFileBytes(records);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("records\t%lld\nfile size\t%.1f MB\n", static_cast<long long>(records), bytes.size() / 1e6);
    }

    const qint64 lastPageFirst = (records - 1) / RecordsPerPage * RecordsPerPage + 1;
    qsizetype listed = 0;
    Report("count", BestMilliseconds([&] { CountRecords(path); }));
    Report("list last page", BestMilliseconds([&] {
               listed = ListRecords(path, lastPageFirst, std::numeric_limits<qint64>::max())->size();
           }));
    Report("count + list last page", BestMilliseconds([&] {
               const qint64 count = *CountRecords(path);
               ListRecords(path, (count - 1) / RecordsPerPage * RecordsPerPage + 1, count);
           }));
    Report("list first page", BestMilliseconds([&] { ListRecords(path, 1, RecordsPerPage); }));
    Report("read last record", BestMilliseconds([&] { ReadRecord(path, records); }));
    // One matter, a name of one record in nine, and a text in every matter:
    // the last decodes every line.
    const struct {
        const char *name;
        QString text;
    } searches[] = {
        {"find one record", QStringLiteral("第%1件").arg(records)},
        {"find a name (1 record in 9)", QStringLiteral("占者7")},
        {"find a text of every record", QStringLiteral("吉凶")},
    };
    for (const auto &search : searches) {
        qsizetype found = 0;
        Report(search.name, BestMilliseconds([&] { found = FindRecords(path, search.text).numbers.size(); }));
        std::printf("\tfound %lld\n", static_cast<long long>(found));
    }
    // The browser's 查找 reads only as far as the next record that holds
    // the text, from the middle of the file.
    for (const auto &search : searches)
        Report((std::string("next after the middle: ") + search.name).c_str(),
               BestMilliseconds([&] { FindNextRecord(path, search.text, records / 2); }));

    QElapsedTimer timer;
    timer.start();
    const RecordDeletion deletion = DeleteRecord(path, records / 2);
    Report("delete middle record (once)", timer.nsecsElapsed() / 1e6);
    if (deletion.status != RecordFileStatus::Done || deletion.recordsLeft != records - 1 || listed == 0) {
        std::fprintf(stderr, "unexpected result\n");
        return 1;
    }
    return 0;
}
