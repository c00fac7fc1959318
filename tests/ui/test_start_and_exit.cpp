#include "core/exit_sequence.h"
#include "fileformat/gbk_codec.h"
#include "main_window_rig.h"
#include "shell/program_folder.h"
#include "shell/settings.h"
#include "ui/art/window_panel_art.h"
#include "ui/windows/about_window.h"
#include "ui/windows/product_info.h"
#include "ui/windows/splash_window.h"

#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class StartAndExitTest : public QObject {
    Q_OBJECT

private slots:
    void splashFillsTwelveSquaresThenFinishes()
    {
        SplashWindow splash(QStringLiteral("6.0.5"), SplashPicture());
        QCOMPARE(splash.objectName(), QStringLiteral("splash_window"));
        QCOMPARE(splash.windowTitle(), QStringLiteral("Ravezaz"));
        QCOMPARE(RequireChild<QLabel>(splash, QStringLiteral("version_label"))->text(), QStringLiteral("6.0.5"));
        QCOMPARE(RequireChild<QLabel>(splash, QStringLiteral("loading_label"))->text(), QStringLiteral("程序装载中…"));
        auto *bar = RequireChild<QLabel>(splash, QStringLiteral("progress_label"));
        QVERIFY(bar->text().isEmpty());
        auto *progress = RequireChild<QTimer>(splash, QStringLiteral("progress_timer"));
        auto *finish = RequireChild<QTimer>(splash, QStringLiteral("finish_timer"));
        QVERIFY(!progress->isActive());
        QVERIFY(!finish->isActive());
        QSignalSpy finished(&splash, &SplashWindow::Finished);

        splash.Start();
        QTRY_COMPARE_WITH_TIMEOUT(bar->text(), QStringLiteral("■■■■■■■■■■■■"), 3000);
        QVERIFY(!progress->isActive());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 1000);
        QCOMPARE(bar->text(), QStringLiteral("■■■■■■■■■■■■"));
    }

    // The exit waits half a second, then writes the settings file into the
    // program folder and ends the program, once.
    void exitWritesTheSettingsAfterHalfASecond()
    {
        QTemporaryDir programFolder;
        QTemporaryDir userFolder;
        const QString path =
            WritableFilePath(QStringLiteral("setlog.kds"), programFolder.path(), userFolder.path());
        QCOMPARE(path, programFolder.path() + QStringLiteral("/setlog.kds"));
        Settings settings;
        settings.musicState = MusicState::Festival;
        settings.showQuotes = false;
        settings.divinerName = QStringLiteral("某官");
        settings.castingSpeed = 3;
        int ends = 0;
        bool writtenBeforeEnd = false;
        ExitSequence exit([&] { QVERIFY(WriteSettings(path, settings).written); },
                          [&] {
                              writtenBeforeEnd = QFile::exists(path);
                              ++ends;
                          });
        QCOMPARE(exit.objectName(), QStringLiteral("exit_sequence"));

        // Half a second after the start; starting again adds no second end.
        exit.Start();
        exit.Start();
        QVERIFY(exit.Timer()->isSingleShot());
        QCOMPARE(exit.Timer()->interval(), 500);
        QVERIFY(!QFile::exists(path));
        QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 2000);
        QVERIFY(writtenBeforeEnd);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(DecodeGbk(file.readAll()), QStringLiteral("\"节日音乐开\",\"某官\",\"3\",\"关\",\"\",\"\"\r\n"));
        // Nothing is left to end the program a second time.
        QVERIFY(!exit.Timer()->isActive());
        QCOMPARE(ends, 1);
    }

    void aboutWindowShowsVersionTextAndLink()
    {
        FakeMp3Player player;
        int webPages = 0;
        AboutWindow about(player, QStringLiteral("/prog"), [&] { ++webPages; }, nullptr);

        QCOMPARE(about.objectName(), QStringLiteral("about_window"));
        QCOMPARE(about.windowTitle(), QStringLiteral("关于本软件"));
        QVERIFY(about.isModal());
        QCOMPARE(RequireChild<QLabel>(about, QStringLiteral("version_label"))->text(), VersionText());
        auto *text = RequireChild<QPlainTextEdit>(about, QStringLiteral("about_text"));
        QVERIFY(text->isReadOnly());
        QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(text->toPlainText().contains(QStringLiteral("文王卦")));
        auto *link = RequireChild<QLabel>(about, QStringLiteral("home_page_link"));
        QCOMPARE(link->toolTip(), QStringLiteral("连接网站"));
        QCOMPARE(player.calls, (QStringList{QStringLiteral("open /prog/wav/音乐.mp3"), QStringLiteral("play")}));

        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(webPages, 1);
        QCOMPARE(player.calls.size(), 2);
    }

    // F2, the about window and the options window open the page installed
    // beside the program, never an address on the web.
    void webPageIsTheProgramsOwnPage()
    {
        const QUrl page = ProductWebPage(QStringLiteral(RAVEZAZ_PROGRAM_DIR));
        QVERIFY(page.isLocalFile());
        QFile file(page.toLocalFile());
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(page.toLocalFile()));
        const QString html = QString::fromUtf8(file.readAll());
        QVERIFY(html.contains(VersionText()));

        static const QRegularExpression reference(QStringLiteral("(?:src|href)=\"([^\"]+)\""));
        int pictures = 0;
        for (const QRegularExpressionMatch &match : reference.globalMatch(html)) {
            const QString target = match.captured(1);
            QVERIFY2(!target.contains(u':'), qPrintable(target + QStringLiteral(" leaves the installed page")));
            QVERIFY2(QFileInfo::exists(QFileInfo(file).dir().filePath(target)), qPrintable(target));
            ++pictures;
        }
        QCOMPARE(pictures, 3);

        FakeMp3Player player;
        AboutWindow about(player, QStringLiteral("/prog"), [] {}, nullptr);
        for (const QString &text : {RequireChild<QLabel>(about, QStringLiteral("home_page_link"))->text(),
                                    RequireChild<QPlainTextEdit>(about, QStringLiteral("about_text"))->toPlainText()})
            QVERIFY2(!text.contains(QStringLiteral("www.")) && !text.contains(QStringLiteral("://")), qPrintable(text));
    }

    void aboutWindowCloses_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("click on the background") << QStringLiteral("about_background");
        QTest::newRow("click on the version") << QStringLiteral("version_label");
        QTest::newRow("F12") << QString();
    }

    void aboutWindowCloses()
    {
        QFETCH(QString, how);
        FakeMp3Player player;
        AboutWindow about(player, QStringLiteral("/prog"), [] {}, nullptr);
        about.show();
        QVERIFY(about.isVisible());

        if (how.isEmpty())
            QTest::keyRelease(&about, Qt::Key_F12);
        else
            QTest::mouseClick(RequireChild<QWidget>(about, how), Qt::LeftButton);

        QVERIFY(!about.isVisible());
        QCOMPARE(player.calls.mid(2), (QStringList{QStringLiteral("stop"), QStringLiteral("close")}));
    }

    void aboutWindowStaysOpenOnAClickInItsText()
    {
        FakeMp3Player player;
        AboutWindow about(player, QStringLiteral("/prog"), [] {}, nullptr);
        about.show();
        auto *text = RequireChild<QPlainTextEdit>(about, QStringLiteral("about_text"));
        QTest::mouseClick(text->viewport(), Qt::LeftButton);
        QVERIFY(about.isVisible());
        QCOMPARE(player.calls.size(), 2);
    }
};

QTEST_MAIN(StartAndExitTest)
#include "test_start_and_exit.moc"
