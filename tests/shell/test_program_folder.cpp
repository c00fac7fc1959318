#include "as_ordinary_user.h"
#include "shell/program_folder.h"
#include "shell/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class ProgramFolderTest : public QObject {
    Q_OBJECT
private slots:
    void folderLosesItsTrailingSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain folder") << "/opt/ravezaz" << "/opt/ravezaz";
        QTest::newRow("trailing separator") << "/opt/ravezaz/" << "/opt/ravezaz";
        QTest::newRow("root folder") << "/" << "";
    }
    void folderLosesItsTrailingSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(WithoutTrailingSeparator(folder), expected);
    }

    void versionIsThreePlainNumbers()
    {
        static const QRegularExpression form(QStringLiteral("^(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*)){2}$"));
        QVERIFY2(form.match(VersionText()).hasMatch(), qPrintable(VersionText()));
    }

    void writableFileGoesBesideTheProgramWhenItCan()
    {
        QTemporaryDir program;
        QTemporaryDir user;
        QCOMPARE(WritableFilePath(QStringLiteral("setlog.kds"), program.path(), user.path()),
                 program.path() + QStringLiteral("/setlog.kds"));
    }

    // A program folder the user cannot write, holding files the user can:
    // they stay in use, and only a missing or read-only file goes to the
    // user folder.
    void writableFileInAReadOnlyFolderStaysInUse_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("besideProgram");
        QTest::newRow("writable record file") << "filelog.kdf" << true << true;
        QTest::newRow("writable settings file") << "setlog.kds" << true << true;
        QTest::newRow("read-only settings file") << "setlog.kds" << false << false;
        QTest::newRow("missing file") << QString() << false << false;
    }
    void writableFileInAReadOnlyFolderStaysInUse()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, writable);
        QFETCH(bool, besideProgram);
        QTemporaryDir scratch;
        const QString program = scratch.filePath(QStringLiteral("program"));
        QVERIFY(QDir().mkdir(program));
        const QString name = fileName.isEmpty() ? QStringLiteral("filelog.kdf") : fileName;
        if (!fileName.isEmpty()) {
            QFile file(program + u'/' + fileName);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            QVERIFY(file.setPermissions(writable ? QFile::ReadOther | QFile::WriteOther | QFile::ReadOwner | QFile::WriteOwner
                                                 : QFile::ReadOther | QFile::ReadOwner));
        }
        const QFile::Permissions open = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(program, open));
        QVERIFY(QFile::setPermissions(scratch.path(), open | QFile::WriteOwner | QFile::WriteOther));
        const QString userFolder = scratch.filePath(QStringLiteral("user"));
        const AsOrdinaryUser user;
        QCOMPARE(WritableFilePath(name, program, userFolder),
                 (besideProgram ? program : userFolder) + u'/' + name);
    }

    // The settings file is written in place where its folder takes no new files.
    void settingsAreWrittenInAReadOnlyFolder()
    {
        QTemporaryDir program;
        const QString path = program.filePath(QStringLiteral("setlog.kds"));
        Settings settings;
        settings.divinerName = QStringLiteral("张三");
        QVERIFY(WriteSettings(path, settings).written);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOther | QFile::WriteOther | QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(QFile::setPermissions(program.path(),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        settings.divinerName = QStringLiteral("李四");
        {
            const AsOrdinaryUser user;
            QVERIFY(WriteSettings(path, settings).written);
        }
        QVERIFY(QFile::setPermissions(program.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        Settings read;
        ReadSettings(path, read);
        QCOMPARE(read.divinerName, QStringLiteral("李四"));
    }

    void writableFileFallsBackToTheUserFolder_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::newRow("missing folder") << "missing";
        QTest::newRow("a file, not a folder") << "plain-file";
    }
    void writableFileFallsBackToTheUserFolder()
    {
        QFETCH(QString, programFolder);
        QTemporaryDir scratch;
        QFile plainFile(scratch.filePath(QStringLiteral("plain-file")));
        QVERIFY(plainFile.open(QIODevice::WriteOnly));
        plainFile.close();
        const QString userFolder = scratch.filePath(QStringLiteral("user/data"));

        const QString path = WritableFilePath(QStringLiteral("filelog.kdf"),
                                              scratch.filePath(programFolder), userFolder);
        QCOMPARE(path, userFolder + QStringLiteral("/filelog.kdf"));
        QVERIFY2(QFileInfo(userFolder).isDir(), "the user folder is made so the file can be written");
    }
};

QTEST_MAIN(ProgramFolderTest)
#include "test_program_folder.moc"
