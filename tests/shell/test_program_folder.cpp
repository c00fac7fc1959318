#include "program_folder.h"

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
