#include "core/cast_result.h"
#include "core/resolution.h"
#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "support/require_child.h"
#include "texts/hexagram_texts.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/child_window_guard.h"
#include "ui/windows/translation_viewer.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

const QString Folder = QStringLiteral("/program");

QString Sound(const char *name)
{
    return Folder + QStringLiteral("/wav/") + QString::fromLatin1(name);
}

// A viewer over fakes for the hexagram of `lines`, counting the ends of the
// main window's guard.
struct ViewerRig {
    explicit ViewerRig(const QString &lines)
    {
        services.effects = &effects;
        services.programFolder = Folder;
        services.openHelpTopic = [](QWidget *, int) {};
        window = std::make_unique<TranslationViewer>(services, [this] { ++guardEnds; }, lines, nullptr);
    }

    template <typename T = QWidget>
    T *Control(const QString &name) const
    {
        return RequireChild<T>(*window, name);
    }

    bool Shows(const QString &name) const { return Control(name)->isVisibleTo(window.get()); }
    QPlainTextEdit *Text() const { return Control<QPlainTextEdit>(QStringLiteral("translation_text")); }
    QTimer *Timer() const { return Control<QTimer>(QStringLiteral("unroll_timer")); }

    void UnrollFully()
    {
        while (Timer()->isActive())
            window->Unroll();
    }

    FakeEffects effects;
    ReferenceWindowServices services;
    int guardEnds = 0;
    std::unique_ptr<TranslationViewer> window;
};

CastResolution CastOfQianChangingInto(const QString &resultingLines, const QString &resultingName,
                                      const QString &resultingNumber)
{
    CastResolution cast;
    cast.primary.number = QStringLiteral("1");
    cast.primary.name = QStringLiteral("乾");
    cast.primary.lines = QStringLiteral("111111");
    cast.resulting.number = resultingNumber;
    cast.resulting.name = resultingName;
    cast.resulting.lines = resultingLines;
    cast.resultingShown = true;
    cast.changingLineCount = 1;
    return cast;
}

} // namespace

class TranslationViewerTest : public QObject {
    Q_OBJECT

private slots:
    void unrollFollowsTheTimerRule_data()
    {
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("intervalMs");
        QTest::addColumn<int>("heightTwips");
        QTest::addColumn<bool>("running");
        QTest::newRow("first tick, after the design second") << 1 << 195 << 100 << true;
        QTest::newRow("second tick") << 2 << 190 << 200 << true;
        QTest::newRow("tenth tick") << 10 << 150 << 1000 << true;
        QTest::newRow("interval reaches its floor") << 30 << 50 << 3000 << true;
        QTest::newRow("interval stays at its floor") << 31 << 50 << 3100 << true;
        QTest::newRow("last step of 100") << 36 << 50 << 3600 << true;
        QTest::newRow("37th tick jumps to full height") << 37 << 50 << 5300 << false;
    }

    void unrollFollowsTheTimerRule()
    {
        QFETCH(int, tick);
        QFETCH(int, intervalMs);
        QFETCH(int, heightTwips);
        QFETCH(bool, running);
        UnrollState state;
        QCOMPARE(state.intervalMs, 1000);
        for (int i = 0; i < tick; ++i) {
            QVERIFY(state.running);
            state = NextUnrollState(state);
        }
        QCOMPARE(state, (UnrollState{intervalMs, heightTwips, running}));
    }

    void viewerUnrollsTheTextAndThenOffersTheBoldSwitch()
    {
        ViewerRig rig(QStringLiteral("111111"));
        QVERIFY(rig.Timer()->isActive());
        QCOMPARE(rig.Timer()->interval(), 1000);
        QVERIFY(!rig.Shows(QStringLiteral("translation_text")));
        QCOMPARE(rig.Text()->height(), 0);
        QVERIFY(!rig.Shows(QStringLiteral("bold_switch")));

        rig.window->Unroll();
        QVERIFY(rig.Shows(QStringLiteral("translation_text")));
        QCOMPARE(rig.Text()->height(), 7);
        QCOMPARE(rig.Timer()->interval(), 195);
        QVERIFY(!rig.Shows(QStringLiteral("bold_switch")));

        int ticks = 1;
        while (rig.Timer()->isActive()) {
            rig.window->Unroll();
            ++ticks;
        }
        QCOMPARE(ticks, 37);
        // The full height of 5300 twips would reach under the band; the text
        // stops at the band's top.
        QCOMPARE(rig.Text()->geometry(), QRect(16, 56, 573, 328));
        QCOMPARE(rig.Control(QStringLiteral("saying_band"))->y(), 384);
        QVERIFY(rig.Shows(QStringLiteral("bold_switch")));
        QVERIFY(!rig.Shows(QStringLiteral("normal_switch")));
        QVERIFY(!rig.Text()->font().bold());
    }

    void loadingShowsTheHexagram_data()
    {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<int>("number");
        QTest::newRow("乾, six yang lines") << QStringLiteral("111111") << QStringLiteral("乾(1)") << 1;
        QTest::newRow("坤, six yin lines") << QStringLiteral("000000") << QStringLiteral("坤(2)") << 2;
        QTest::newRow("复, only the lowest line yang") << QStringLiteral("100000") << QStringLiteral("复(24)") << 24;
        QTest::newRow("剥, only the top line yang") << QStringLiteral("000001") << QStringLiteral("剥(23)") << 23;
        QTest::newRow("no hexagram: empty resulting lines") << QString() << QStringLiteral("()") << 0;
    }

    void loadingShowsTheHexagram()
    {
        QFETCH(QString, lines);
        QFETCH(QString, heading);
        QFETCH(int, number);
        ViewerRig rig(lines);

        QCOMPARE(rig.Control<QLabel>(QStringLiteral("heading"))->text(), heading);
        QVERIFY(rig.Shows(QStringLiteral("heading")));
        QCOMPARE(rig.Text()->toPlainText(),
                 HexagramTranslation(number).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        QCOMPARE(rig.effects.played, QStringList{Sound("guyue.wav")});

        const QImage yin = rig.Control<PictureLabel>(QStringLiteral("yin_line_picture"))->Picture().toImage();
        int previousTop = 1000;
        for (int line = 1; line <= 6; ++line) {
            auto *picture = rig.Control<PictureLabel>(QStringLiteral("line_picture_%1").arg(line));
            QVERIFY(rig.Shows(picture->objectName()));
            const bool yinShown = picture->Picture().toImage() == yin;
            QCOMPARE(yinShown, lines.mid(line - 1, 1) == QStringLiteral("0"));
            // Line 1 is the lowest.
            QVERIFY(picture->y() < previousTop);
            previousTop = picture->y();
        }
        rig.UnrollFully();
    }

    // The text may be longer than its box, bold text more so: scrolled to
    // the bottom, the end of every entry shows above the band.
    void everyEntryCanBeReadToItsEnd()
    {
        for (int number = 1; number <= 64; ++number) {
            ViewerRig rig(HexagramLinesOf(number));
            rig.window->show();
            rig.UnrollFully();
            for (const bool bold : {false, true}) {
                if (bold)
                    QTest::keyRelease(rig.window.get(), Qt::Key_B);
                QPlainTextEdit *text = rig.Text();
                text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
                QTextCursor end(text->document());
                end.movePosition(QTextCursor::End);
                const QString row = QStringLiteral("entry %1, bold %2").arg(number).arg(bold);
                QVERIFY2(text->cursorRect(end).bottom() <= text->viewport()->height(), qPrintable(row));
                const QRect box(text->mapTo(rig.window.get(), QPoint()), text->size());
                QVERIFY2(box.bottom() < rig.Control(QStringLiteral("saying_band"))->y(), qPrintable(row));
            }
        }
    }

    // Actions: B the key, 1 and 2 clicks on the bold and the normal switch, u the text
    // unrolling to its end.
    void weightSwitch_data()
    {
        QTest::addColumn<bool>("unrollFirst");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("boldSwitchShown");
        QTest::addColumn<bool>("normalSwitchShown");
        QTest::newRow("B once") << true << QStringLiteral("B") << true << false << true;
        QTest::newRow("B twice") << true << QStringLiteral("BB") << false << true << false;
        QTest::newRow("click bold switch") << true << QStringLiteral("1") << true << false << true;
        QTest::newRow("click bold, then normal switch") << true << QStringLiteral("12") << false << true << false;
        QTest::newRow("click bold, then B") << true << QStringLiteral("1B") << false << true << false;
        // Before the text has unrolled the bold switch is hidden, so B acts
        // as the normal switch: normal weight, and the bold switch shows.
        QTest::newRow("B before unrolled") << false << QStringLiteral("B") << false << true << false;
        QTest::newRow("B twice before unrolled") << false << QStringLiteral("BB") << true << false << true;
        // Bold before the text has unrolled: the unrolled text keeps the
        // normal switch alone, and B then sets normal weight.
        QTest::newRow("B twice before unrolled, unrolled, B")
            << false << QStringLiteral("BBuB") << false << true << false;
        QTest::newRow("B twice before unrolled, unrolled") << false << QStringLiteral("BBu") << true << false << true;
    }

    void weightSwitch()
    {
        QFETCH(bool, unrollFirst);
        QFETCH(QString, actions);
        QFETCH(bool, bold);
        QFETCH(bool, boldSwitchShown);
        QFETCH(bool, normalSwitchShown);
        ViewerRig rig(QStringLiteral("101010"));
        if (unrollFirst)
            rig.UnrollFully();
        for (const QChar action : actions) {
            if (action == QLatin1Char('B'))
                QTest::keyRelease(rig.window.get(), Qt::Key_B);
            else if (action == QLatin1Char('u'))
                rig.UnrollFully();
            else
                QTest::mouseClick(rig.Control(action == QLatin1Char('1') ? QStringLiteral("bold_switch")
                                                                         : QStringLiteral("normal_switch")),
                                  Qt::LeftButton);
        }
        QCOMPARE(rig.Text()->font().bold(), bold);
        QCOMPARE(rig.Shows(QStringLiteral("bold_switch")), boldSwitchShown);
        QCOMPARE(rig.Shows(QStringLiteral("normal_switch")), normalSwitchShown);
        QVERIFY(rig.Timer()->isActive() != (unrollFirst || actions.contains(QLatin1Char('u'))));
    }

    void closing_data()
    {
        QTest::addColumn<std::function<void(ViewerRig &)>>("close");
        using Close = std::function<void(ViewerRig &)>;
        QTest::newRow("F12") << Close([](ViewerRig &rig) { QTest::keyRelease(rig.window.get(), Qt::Key_F12); });
        QTest::newRow("close label") << Close([](ViewerRig &rig) {
            QTest::mouseClick(rig.Control(QStringLiteral("close_label")), Qt::LeftButton);
        });
        QTest::newRow("double-click on the background") << Close([](ViewerRig &rig) {
            QTest::mouseDClick(rig.Control(QStringLiteral("background_picture")), Qt::LeftButton, {}, QPoint(300, 200));
        });
        QTest::newRow("double-click on the text") << Close([](ViewerRig &rig) {
            QTest::mouseDClick(rig.Text()->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
        });
        QTest::newRow("double-click on the band") << Close([](ViewerRig &rig) {
            QTest::mouseDClick(rig.Control(QStringLiteral("saying_band")), Qt::LeftButton);
        });
    }

    void closing()
    {
        QFETCH(std::function<void(ViewerRig &)>, close);
        ViewerRig rig(QStringLiteral("111111"));
        rig.window->show();
        rig.UnrollFully();
        rig.effects.played.clear();

        close(rig);
        QVERIFY(!rig.window->isVisible());
        QCOMPARE(rig.guardEnds, 1);
        QCOMPARE(rig.effects.played, QStringList{Sound("s1.wav")});
    }

    void closingWhileUnrollingStopsTheTimer()
    {
        ViewerRig rig(QStringLiteral("111111"));
        rig.window->show();
        rig.window->Unroll();
        QTest::keyRelease(rig.window.get(), Qt::Key_F12);
        QVERIFY(!rig.Timer()->isActive());
    }

    void dragHandlesMoveTheWindow_data()
    {
        QTest::addColumn<QString>("handle");
        QTest::newRow("background_picture") << QStringLiteral("background_picture");
        QTest::newRow("band") << QStringLiteral("saying_band");
        QTest::newRow("heading") << QStringLiteral("heading");
    }

    void dragHandlesMoveTheWindow()
    {
        QFETCH(QString, handle);
        ViewerRig rig(QStringLiteral("111111"));
        rig.window->move(100, 100);
        rig.window->show();
        QWidget *control = rig.Control(handle);
        const QPoint grab(10, 10);
        const QPoint from = control->mapToGlobal(grab);
        QMouseEvent press(QEvent::MouseButtonPress, grab, from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control, &press);
        QMouseEvent move(QEvent::MouseMove, grab + QPoint(40, 25), from + QPoint(40, 25), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(control, &move);
        QCOMPARE(rig.window->pos(), QPoint(140, 125));
    }

    void f8OpensTheReferenceAndLeavesTheGuardToTheViewer()
    {
        ViewerRig rig(QStringLiteral("111111"));
        rig.window->show();
        int guardEndsWhileReferenceOpen = -1;
        ModalWatch reference(QStringLiteral("trigram_reference_window"), [&](QDialog *modal) {
            QCOMPARE(modal->windowTitle(), QStringLiteral("八卦卦象参考"));
            QVERIFY(rig.window->isVisible());
            guardEndsWhileReferenceOpen = rig.guardEnds;
        });
        QTest::keyRelease(rig.window.get(), Qt::Key_F8);
        QCOMPARE(reference.visits, 1);
        QCOMPARE(guardEndsWhileReferenceOpen, 0);
        // Back in the viewer: the guard is still on.
        QCOMPARE(rig.guardEnds, 0);
        QVERIFY(rig.window->isVisible());

        QTest::mouseClick(rig.Control(QStringLiteral("reference_link")), Qt::LeftButton);
        QCOMPARE(reference.visits, 2);
        QCOMPARE(rig.guardEnds, 0);

        QTest::keyRelease(rig.window.get(), Qt::Key_F12);
        QCOMPARE(rig.guardEnds, 1);
    }

    void mainWindowOpensTheViewerOfEitherHexagram_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("heading");
        QTest::newRow("1: primary") << int(Qt::Key_1) << QStringLiteral("乾(1)");
        QTest::newRow("2: resulting") << int(Qt::Key_2) << QStringLiteral("夬(43)");
    }

    void mainWindowOpensTheViewerOfEitherHexagram()
    {
        QFETCH(int, key);
        QFETCH(QString, heading);
        MainWindowRig main;
        main.Load();
        main.window->ShowCastView(CastOfQianChangingInto(QStringLiteral("111110"), QStringLiteral("夬"),
                                                         QStringLiteral("43")));
        CastResult cast;
        cast.primaryLines = QStringLiteral("111111");
        cast.resultingLines = QStringLiteral("111110");
        ReferenceWindowServices services;
        services.effects = &main.effects;
        services.programFolder = main.folder.path();
        services.openHelpTopic = [](QWidget *, int) {};
        ConnectTranslationCommands(*main.window, services, cast);
        main.effects.played.clear();

        QString shownHeading;
        bool closePictureDisabled = false;
        ModalWatch watch(QStringLiteral("translation_viewer"), [&](QDialog *modal) {
            shownHeading = RequireChild<QLabel>(*modal, QStringLiteral("heading"))->text();
            closePictureDisabled = !main.Control(QStringLiteral("close_picture"))->isEnabled();
        });
        QTest::keyRelease(main.window.get(), Qt::Key(key));
        QCOMPARE(watch.visits, 1);
        QCOMPARE(shownHeading, heading);
        QVERIFY(closePictureDisabled);
        const QString wav = main.folder.path() + QStringLiteral("/wav/");
        QCOMPARE(main.effects.played,
                 (QStringList{wav + QStringLiteral("s1.wav"), wav + QStringLiteral("guyue.wav"),
                              wav + QStringLiteral("s1.wav")}));
        QVERIFY(main.window->Guard().Timer()->isActive());
        QVERIFY(!main.Control(QStringLiteral("close_picture"))->isEnabled());
        QTRY_VERIFY(main.Control(QStringLiteral("close_picture"))->isEnabled());
    }
};

QTEST_MAIN(TranslationViewerTest)
#include "test_translation_viewer.moc"
