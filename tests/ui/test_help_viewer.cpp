#include "support/require_child.h"
#include "ui/windows/help_viewer.h"

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

// The help window over the help file the build compiled beside the program.
class HelpViewerTest : public QObject {
    Q_OBJECT

    static QString helpFilePath() { return QStringLiteral(RAVEZAZ_PROGRAM_DIR "/kdhelp.chm"); }

    static HelpViewer *ViewerOf(QWidget &owner)
    {
        return owner.findChild<HelpViewer *>(QStringLiteral("help_viewer"), Qt::FindDirectChildrenOnly);
    }

    static QString shownPage(HelpViewer *viewer) { return viewer->Browser()->source().path(); }

    // A picture as the document holds it: the bytes read from the file, or
    // the pixmap made of them once the page was drawn.
    static QImage ImageOf(const QVariant &picture)
    {
        switch (picture.userType()) {
        case QMetaType::QPixmap:
            return picture.value<QPixmap>().toImage();
        case QMetaType::QImage:
            return picture.value<QImage>();
        default:
            return QImage::fromData(picture.toByteArray());
        }
    }

private slots:
    void topicOpensThroughTheFilesMap_data()
    {
        QTest::addColumn<int>("contextNumber");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("heading");
        QTest::newRow("800") << 800 << "/manual.htm" << "人工输入卦体";
        QTest::newRow("902") << 902 << "/rules.htm" << "变爻推论规则";
        QTest::newRow("920") << 920 << "/rule0.htm" << "六爻不变";
        QTest::newRow("921") << 921 << "/rule1.htm" << "变一爻";
        QTest::newRow("922") << 922 << "/rule2.htm" << "变两爻";
        QTest::newRow("923") << 923 << "/rule3.htm" << "变三爻";
        QTest::newRow("924") << 924 << "/rule4.htm" << "变四爻";
        QTest::newRow("925") << 925 << "/rule5.htm" << "变五爻";
        QTest::newRow("926") << 926 << "/rule6.htm" << "六爻全变";
        QTest::newRow("1100") << 1100 << "/shuogua.htm" << "说卦传";
    }
    void topicOpensThroughTheFilesMap()
    {
        QFETCH(int, contextNumber);
        QFETCH(QString, page);
        QFETCH(QString, heading);
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, contextNumber, helpFilePath());

        HelpViewer *viewer = ViewerOf(owner);
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QCOMPARE(shownPage(viewer), page);
        QVERIFY(viewer->windowTitle().endsWith(viewer->Browser()->documentTitle()));
        // The page is decoded as UTF-8: its heading reads as Chinese.
        const QTextDocument *document = viewer->Browser()->document();
        QCOMPARE(document->findBlockByNumber(1).text().trimmed(), heading);
    }

    void defaultTopicIsTheOverview()
    {
        QWidget owner;
        owner.show();
        OpenHelpDefault(&owner, helpFilePath());
        HelpViewer *viewer = ViewerOf(owner);
        QVERIFY(viewer);
        QCOMPARE(shownPage(viewer), QStringLiteral("/index.htm"));
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Ravezaz 帮助 - Ravezaz 使用帮助"));
    }

    // Clicking the rule label opens 902 and then the rule's own topic.
    void secondCallReplacesTheTopicInTheSameWindow()
    {
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, 902, helpFilePath());
        const QPointer<HelpViewer> first = ViewerOf(owner);
        OpenHelpTopic(&owner, 924, helpFilePath());
        QCOMPARE(owner.findChildren<HelpViewer *>().size(), 1);
        QCOMPARE(ViewerOf(owner), first.data());
        QCOMPARE(shownPage(first), QStringLiteral("/rule4.htm"));

        RequireChild<QPushButton>(*first, QStringLiteral("back_button"))->click();
        QCOMPARE(shownPage(first), QStringLiteral("/rules.htm"));
    }

    void picturesAndStyleSheetComeFromTheFile()
    {
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, 922, helpFilePath());
        HelpBrowser *browser = ViewerOf(owner)->Browser();

        const QVariant picture = browser->document()->resource(
            QTextDocument::ImageResource, QUrl(QStringLiteral("images/lines-797797.png")));
        const QImage image = ImageOf(picture);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(100, 104));

        // The heading takes its colour from the style sheet inside the file.
        const QTextBlock heading = browser->document()->findBlockByNumber(1);
        QCOMPARE(heading.charFormat().foreground().color(), QColor(0x8b, 0x1a, 0x1a));
    }

    void linkInsideAPageOpensItsTarget()
    {
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, 800, helpFilePath());
        HelpViewer *viewer = ViewerOf(owner);
        HelpBrowser *browser = viewer->Browser();
        browser->setFocus();

        // The first link of every page leads to the overview.
        QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
        QCOMPARE(shownPage(viewer), QStringLiteral("/index.htm"));

        QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(shownPage(viewer), QStringLiteral("/manual.htm"));
    }

    void linkToAMissingPageKeepsThePage()
    {
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, 902, helpFilePath());
        HelpBrowser *browser = ViewerOf(owner)->Browser();
        browser->setSource(QUrl(QStringLiteral("chm:/missing.htm")));
        QCOMPARE(browser->source().path(), QStringLiteral("/rules.htm"));
        QVERIFY(!browser->toPlainText().isEmpty());
    }

    void homeCommandShowsTheOverview()
    {
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, 1100, helpFilePath());
        HelpViewer *viewer = ViewerOf(owner);
        RequireChild<QPushButton>(*viewer, QStringLiteral("home_button"))->click();
        QCOMPARE(shownPage(viewer), QStringLiteral("/index.htm"));
    }

    void f12ClosesTheWindow()
    {
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, 800, helpFilePath());
        const QPointer<HelpViewer> viewer = ViewerOf(owner);
        QTest::keyRelease(viewer->Browser(), Qt::Key_F12);
        QTRY_VERIFY(!viewer);
    }

    void windowClosesWithItsOwner()
    {
        auto *owner = new QWidget;
        owner->show();
        OpenHelpTopic(owner, 800, helpFilePath());
        const QPointer<HelpViewer> viewer = ViewerOf(*owner);
        QVERIFY(viewer);
        delete owner;
        QVERIFY(!viewer);
    }

    // The window opens on its owner's centre, at a size the screen can hold,
    // and the user may resize it; a second topic keeps where the user put it.
    void windowOpensCentredOverItsOwnerAndCanBeResized()
    {
        QWidget owner;
        owner.setGeometry(300, 200, 700, 500);
        owner.show();
        OpenHelpTopic(&owner, 800, helpFilePath());
        HelpViewer *viewer = ViewerOf(owner);
        QVERIFY(viewer);
        // Within the few pixels a window frame may add.
        const QPoint offCentre = viewer->geometry().center() - owner.geometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
        const QSize screen = viewer->screen()->availableGeometry().size();
        QVERIFY(viewer->width() <= screen.width() && viewer->height() <= screen.height());
        QVERIFY(viewer->minimumSize() != viewer->maximumSize());

        viewer->resize(600, 400);
        const QRect placed = viewer->geometry();
        OpenHelpTopic(&owner, 902, helpFilePath());
        QCOMPARE(viewer->geometry(), placed);
    }

    void missingFileOrUnknownTopicOpensNothing_data()
    {
        QTest::addColumn<bool>("fileExists");
        QTest::addColumn<int>("contextNumber");
        QTest::newRow("missing file") << false << 800;
        QTest::newRow("topic not in the map") << true << 927;
    }
    void missingFileOrUnknownTopicOpensNothing()
    {
        QFETCH(bool, fileExists);
        QFETCH(int, contextNumber);
        QTemporaryDir folder;
        const QString path = fileExists ? helpFilePath() : folder.filePath(QStringLiteral("kdhelp.chm"));
        QWidget owner;
        owner.show();
        OpenHelpTopic(&owner, contextNumber, path);
        QVERIFY(!ViewerOf(owner));
    }
};

QTEST_MAIN(HelpViewerTest)
#include "test_help_viewer.moc"
