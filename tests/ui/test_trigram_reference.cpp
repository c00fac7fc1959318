#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "support/require_child.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/trigram_reference.h"

#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include <functional>

namespace {

const QString Folder = QStringLiteral("/program");

// A reference window over fakes that counts the ends of the main window's
// guard and records the help topics asked for.
struct ReferenceRig {
    ReferenceRig()
    {
        services.effects = &effects;
        services.programFolder = Folder;
        services.openHelpTopic = [this](QWidget *owner, int topic) { helpTopics.push_back({owner, topic}); };
        window = std::make_unique<TrigramReference>(services, [this] { ++guardEnds; }, nullptr);
    }

    template <typename T = QWidget>
    T *Control(const QString &name) const
    {
        return RequireChild<T>(*window, name);
    }

    bool Shows(const QString &name) const { return Control(name)->isVisibleTo(window.get()); }

    QColor LinkColour() const
    {
        return Control<QLabel>(QStringLiteral("discussion_of_trigrams_link"))->palette().color(QPalette::WindowText);
    }

    FakeEffects effects;
    ReferenceWindowServices services;
    std::vector<std::pair<QWidget *, int>> helpTopics;
    int guardEnds = 0;
    std::unique_ptr<TrigramReference> window;
};

QString Sound(const char *name)
{
    return Folder + QStringLiteral("/wav/") + QString::fromLatin1(name);
}

void SendEnter(QWidget *widget)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(widget, &enter);
}

} // namespace

class TrigramReferenceTest : public QObject {
    Q_OBJECT

private slots:
    void opensWithTheEarlierHeavenPictureAndItsSound()
    {
        ReferenceRig rig;
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("八卦卦象参考"));
        QCOMPARE(rig.effects.played, QStringList{Sound("s2.wav")});
        QVERIFY(rig.Shows(QStringLiteral("earlier_heaven_picture")));
        QVERIFY(!rig.Shows(QStringLiteral("later_heaven_picture")));
        const QPoint panel = rig.window->PanelArea().topLeft();
        QCOMPARE(rig.Control(QStringLiteral("earlier_heaven_picture"))->geometry(),
                 QRect(0, 8, 300, 300).translated(panel));
        QCOMPARE(rig.Control(QStringLiteral("later_heaven_picture"))->geometry(),
                 QRect(0, 8, 300, 300).translated(panel));
        QCOMPARE(rig.Control(QStringLiteral("trigram_attributes_text"))->geometry(),
                 QRect(296, 40, 265, 233).translated(panel));
        auto *link = rig.Control<QLabel>(QStringLiteral("discussion_of_trigrams_link"));
        QCOMPARE(link->text(), QStringLiteral("卦的属性(详细可参考《说卦传》)"));
        QCOMPARE(link->toolTip(), QStringLiteral("点击查看《说卦传》"));
        // The window is drawn in the program's frame, and every control lies
        // on its parchment.
        QVERIFY(rig.window->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("caption"))->text(), QStringLiteral("八卦卦象参考"));
        const QRect client = rig.window->PanelArea();
        for (const char *name :
             {"earlier_heaven_picture", "discussion_of_trigrams_link", "trigram_attributes_text", "close_button"})
            QVERIFY2(client.contains(rig.Control(QString::fromLatin1(name))->geometry()), name);
    }

    void textBoxShowsTheEightLinesExactly()
    {
        ReferenceRig rig;
        const QString shown = rig.Control<QTextEdit>(QStringLiteral("trigram_attributes_text"))->toPlainText();
        const QStringList lines = shown.split(QLatin1Char('\n'));
        const QStringList expected{
            QStringLiteral("乾：天、父　、马、首、健、金"), QStringLiteral("坤：地、母　、牛、腹、顺、土"),
            QStringLiteral("震：雷、长男、龙、足、动、木"), QStringLiteral("巽：风、长女、鸡、股、入、木"),
            QStringLiteral("坎：水、中男、豕、耳、陷、水"), QStringLiteral("离：火、中女、雉、目、丽、火"),
            QStringLiteral("艮：山、少男、狗、手、止、土"), QStringLiteral("兑：泽、少女、羊、口、说、金 "),
        };
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(lines.value(2 * i), expected[i]);
            QCOMPARE(lines.value(2 * i + 1), QString());
        }
        QVERIFY(!shown.contains(QLatin1Char('\r')));
        QCOMPARE(lines.value(0).at(5), QChar(0x3000));
    }

    // All eight trigrams are readable at once: one line each, and nothing to
    // scroll to.
    void textBoxShowsEveryTrigramWithoutScrolling()
    {
        ReferenceRig rig;
        rig.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
        auto *box = rig.Control<QTextEdit>(QStringLiteral("trigram_attributes_text"));
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        QVERIFY(box->document()->size().height() <= box->viewport()->height());
        int trigrams = 0;
        for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
            if (block.text().isEmpty())
                continue;
            ++trigrams;
            QCOMPARE(block.layout()->lineCount(), 1);
        }
        QCOMPARE(trigrams, 8);
    }

    void swapsThePictures_data()
    {
        QTest::addColumn<std::function<void(ReferenceRig &)>>("swap");
        QTest::newRow("space on the window") << std::function<void(ReferenceRig &)>([](ReferenceRig &rig) {
            QTest::keyClick(rig.window.get(), Qt::Key_Space);
        });
        // Space is the pictures' key even while the text box has the focus.
        QTest::newRow("space in the text box") << std::function<void(ReferenceRig &)>([](ReferenceRig &rig) {
            QTest::keyClick(rig.Control(QStringLiteral("trigram_attributes_text")), Qt::Key_Space);
        });
        QTest::newRow("click on the picture shown") << std::function<void(ReferenceRig &)>([](ReferenceRig &rig) {
            const QString shown = rig.Shows(QStringLiteral("earlier_heaven_picture"))
                                      ? QStringLiteral("earlier_heaven_picture")
                                      : QStringLiteral("later_heaven_picture");
            QTest::mouseClick(rig.Control(shown), Qt::LeftButton, {}, QPoint(150, 150));
        });
    }

    void swapsThePictures()
    {
        QFETCH(std::function<void(ReferenceRig &)>, swap);
        ReferenceRig rig;
        rig.effects.played.clear();

        swap(rig);
        QVERIFY(!rig.Shows(QStringLiteral("earlier_heaven_picture")));
        QVERIFY(rig.Shows(QStringLiteral("later_heaven_picture")));
        swap(rig);
        QVERIFY(rig.Shows(QStringLiteral("earlier_heaven_picture")));
        QVERIFY(!rig.Shows(QStringLiteral("later_heaven_picture")));
        QCOMPARE(rig.effects.played, (QStringList{Sound("s1.wav"), Sound("s1.wav")}));
    }

    // The window opens under the pointer on the first click of a double-click
    // on 八卦; the second click, where the pointer stood, is not a click on the
    // picture. A click after the pointer moved is.
    void theOpeningDoubleClickLeavesThePicture()
    {
        ReferenceRig rig;
        auto *picture = rig.Control(QStringLiteral("earlier_heaven_picture"));
        const QPoint spot(150, 150);
        rig.window->move(100, 100);
        QCursor::setPos(picture->mapToGlobal(spot));
        rig.window->show();
        rig.effects.played.clear();

        QTest::mouseClick(picture, Qt::LeftButton, {}, spot);
        QVERIFY(rig.Shows(QStringLiteral("earlier_heaven_picture")));
        QVERIFY(rig.effects.played.isEmpty());

        QTest::mouseClick(picture, Qt::LeftButton, {}, spot + QPoint(40, 40));
        QVERIFY(rig.Shows(QStringLiteral("later_heaven_picture")));
    }

    void picturesShowTheTwoArrangements()
    {
        ReferenceRig rig;
        const QImage earlier = rig.Control<PictureLabel>(QStringLiteral("earlier_heaven_picture"))->Picture().toImage();
        const QImage later = rig.Control<PictureLabel>(QStringLiteral("later_heaven_picture"))->Picture().toImage();
        QCOMPARE(earlier.size(), QSize(300, 300));
        QVERIFY(earlier != later);
    }

    void linkOpensTheShuoGuaTopic()
    {
        ReferenceRig rig;
        QTest::mouseClick(rig.Control(QStringLiteral("discussion_of_trigrams_link")), Qt::LeftButton);
        QCOMPARE(rig.helpTopics.size(), size_t(1));
        QCOMPARE(rig.helpTopics[0].first, rig.window.get());
        QCOMPARE(rig.helpTopics[0].second, 1100);
    }

    void linkColourFollowsTheMouse_data()
    {
        QTest::addColumn<QString>("restingOn");
        QTest::newRow("text box") << QStringLiteral("trigram_attributes_text");
        QTest::newRow("picture") << QStringLiteral("earlier_heaven_picture");
        QTest::newRow("background") << QString();
    }

    void linkColourFollowsTheMouse()
    {
        QFETCH(QString, restingOn);
        ReferenceRig rig;
        SendEnter(rig.Control(QStringLiteral("discussion_of_trigrams_link")));
        QCOMPARE(rig.LinkColour(), QColor(0, 0, 255));

        if (restingOn.isEmpty()) {
            QMouseEvent move(QEvent::MouseMove, QPointF(540, 320), QPointF(540, 320), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(rig.window.get(), &move);
        } else if (restingOn == u"trigram_attributes_text") {
            SendEnter(rig.Control<QTextEdit>(restingOn)->viewport());
        } else {
            SendEnter(rig.Control(restingOn));
        }
        QCOMPARE(rig.LinkColour(), QColor(255, 0, 0));
    }

    // Opened from the translation viewer, the reference is given a guard end
    // that does nothing; the viewer's suite checks the guard stays on.
    void closingEndsTheGuard_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("close button") << false;
        QTest::newRow("F12") << true;
    }

    void closingEndsTheGuard()
    {
        QFETCH(bool, byKey);
        ReferenceRig rig;
        rig.window->show();
        if (byKey)
            QTest::keyRelease(rig.window.get(), Qt::Key_F12);
        else
            QTest::mouseClick(rig.Control(QStringLiteral("close_button")), Qt::LeftButton);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.guardEnds, 1);
    }

    void mainWindowCommandRunsTheReferenceBehindTheGuard()
    {
        MainWindowRig main;
        main.Load();
        ReferenceWindowServices services;
        services.effects = &main.effects;
        services.programFolder = main.folder.path();
        services.openHelpTopic = [](QWidget *, int) {};
        ConnectTrigramCommand(*main.window, services);

        bool picturesDisabledWhileOpen = false;
        ModalWatch watch(QStringLiteral("trigram_reference_window"), [&](QDialog *modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("八卦卦象参考"));
            picturesDisabledWhileOpen = !main.Control(QStringLiteral("minimise_picture"))->isEnabled() &&
                                        !main.Control(QStringLiteral("close_picture"))->isEnabled();
        });
        QTest::keyRelease(main.window.get(), Qt::Key_F8);
        QCOMPARE(watch.visits, 1);
        QVERIFY(picturesDisabledWhileOpen);
        QVERIFY(main.window->Guard().Timer()->isActive());
        QTRY_VERIFY(main.Control(QStringLiteral("close_picture"))->isEnabled());
    }
};

QTEST_MAIN(TrigramReferenceTest)
#include "test_trigram_reference.moc"
