#include "shell/single_instance.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// A copy of the program stands in as the instance_holder process, so that
// the lock is really held by another process, as it is in use.
class SingleInstanceTest : public QObject {
    Q_OBJECT

    enum class Holder { Running, RunningForAnHour, Killed, Ended };

    static QByteArray Contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void StartHolder(QProcess &holder, const QString &lockPath)
    {
        holder.start(QStringLiteral(RAVEZAZ_INSTANCE_HOLDER), {lockPath});
        QVERIFY(holder.waitForReadyRead(10000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("first"));
    }

private slots:
    void firstCopyTakesTheLock()
    {
        QTemporaryDir folder;
        const QString lockPath = folder.filePath(QStringLiteral("ravezaz.lock"));
        const SingleInstance instance(lockPath);
        QVERIFY(instance.IsFirst());
        QVERIFY(QFileInfo::exists(lockPath));
    }

    void lockLeftByAnotherCopy_data()
    {
        QTest::addColumn<Holder>("holder");
        QTest::addColumn<bool>("first");
        QTest::newRow("held by a running copy") << Holder::Running << false;
        QTest::newRow("held by a copy running for an hour") << Holder::RunningForAnHour << false;
        QTest::newRow("left by a killed copy") << Holder::Killed << true;
        QTest::newRow("released by a copy that ended") << Holder::Ended << true;
    }
    void lockLeftByAnotherCopy()
    {
        QFETCH(Holder, holder);
        QFETCH(bool, first);
        QTemporaryDir folder;
        const QString lockPath = folder.filePath(QStringLiteral("ravezaz.lock"));
        QProcess process;
        StartHolder(process, lockPath);

        QFile lockFile(lockPath);
        switch (holder) {
        case Holder::Running:
            break;
        case Holder::RunningForAnHour:
            QVERIFY(lockFile.open(QIODevice::ReadWrite));
            QVERIFY(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                         QFileDevice::FileModificationTime));
            lockFile.close();
            break;
        case Holder::Killed:
            process.kill();
            QVERIFY(process.waitForFinished(10000));
            QVERIFY(QFileInfo::exists(lockPath));
            break;
        case Holder::Ended:
            process.closeWriteChannel();
            QVERIFY(process.waitForFinished(10000));
            break;
        }

        const QByteArray before = Contents(lockPath);
        {
            const SingleInstance instance(lockPath);
            QCOMPARE(instance.IsFirst(), first);
            // A refused copy leaves the running copy's lock exactly as it was.
            if (!first)
                QCOMPARE(Contents(lockPath), before);
        }
        process.closeWriteChannel();
        process.waitForFinished(10000);
    }

    void secondProcessEndsWhileFirstHoldsTheLock()
    {
        QTemporaryDir folder;
        const QString lockPath = folder.filePath(QStringLiteral("ravezaz.lock"));
        const SingleInstance instance(lockPath);
        QVERIFY(instance.IsFirst());

        QProcess second;
        second.start(QStringLiteral(RAVEZAZ_INSTANCE_HOLDER), {lockPath});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput().trimmed(), QByteArray("second"));
    }

    void lockThatCannotBeMadeDoesNotStopTheProgram()
    {
        QTemporaryDir folder;
        const SingleInstance instance(folder.filePath(QStringLiteral("missing-folder/ravezaz.lock")));
        QVERIFY(instance.IsFirst());
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
