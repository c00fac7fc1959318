#include "core/resolution.h"
#include "main_window_rig.h"
#include "support/modal_watch.h"
#include "shell/program_folder.h"
#include "shell/quotes.h"
#include "ui/widgets/music_toggle_box.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/saying_label.h"
#include "ui/windows/about_window.h"
#include "ui/windows/child_window_guard.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// A resolved cast as the display step hands it over: 乾 with its top line
// changing into 夬, or 乾 unchanged.
CastResolution CastOfQian(bool withChange)
{
    CastResolution cast;
    cast.primary = {QStringLiteral("1"), QStringLiteral("乾"), QStringLiteral("111111"), QStringLiteral("乾：元亨利贞。"),
                    {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                     QStringLiteral("1"), withChange ? QStringLiteral("11") : QStringLiteral("1")}};
    cast.resulting = cast.primary;
    cast.resultingShown = withChange;
    cast.changingLineCount = withChange ? 1 : 0;
    if (withChange) {
        cast.resulting = {QStringLiteral("43"), QStringLiteral("夬"), QStringLiteral("111110"),
                          QStringLiteral("夬：扬于王庭。"),
                          {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                           QStringLiteral("1"), QStringLiteral("00")}};
    }
    cast.ruleText = withChange ? QStringLiteral("变1爻：则以本卦变爻辞占。")
                               : QStringLiteral("凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。");
    cast.castTime = QStringLiteral("2006-7-16 14:05:09");
    cast.divinerName = QStringLiteral("某官");
    cast.matterText = QStringLiteral("出行");
    return cast;
}

QImage PictureOf(const MainWindowRig &rig, const QString &name)
{
    return rig.Control<PictureLabel>(name)->Picture().toImage();
}

bool SameWidgetsVisible(const MainWindowRig &rig, const QStringList &names, bool visible)
{
    for (const QString &name : names) {
        if (rig.Control(name)->isVisibleTo(rig.window.get()) != visible)
            return false;
    }
    return true;
}

const QStringList CastControls{
    QStringLiteral("primary_hexagram_frame"),
    QStringLiteral("changing_line_rule_label"), QStringLiteral("line_position_1_label"),
    QStringLiteral("line_position_6_label"), QStringLiteral("cast_time_caption"), QStringLiteral("matter_caption"),
    QStringLiteral("cast_time_label"), QStringLiteral("matter_label")};
const QStringList IdleControls{QStringLiteral("saying_label"), QStringLiteral("saying_source_label"),
                               QStringLiteral("trigram_wheel_picture"), QStringLiteral("landscape_scroll_picture"),
                               QStringLiteral("seal_picture")};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void loadShowsTheIdleView()
    {
        MainWindowRig rig;
        rig.nextRandom = 0.5;
        rig.Load();

        QVERIFY(rig.window->isVisible());
        QCOMPARE(rig.window->objectName(), QStringLiteral("main_window"));
        QCOMPARE(rig.window->windowTitle(), QStringLiteral("Ravezaz之文王卦"));
        QCOMPARE(rig.window->size(), QSize(642, 464));
        QCOMPARE(rig.splashCloses, 1);
        QVERIFY(SameWidgetsVisible(rig, IdleControls, true));
        QVERIFY(SameWidgetsVisible(rig, CastControls + QStringList{QStringLiteral("resulting_hexagram_frame")}, false));
        QVERIFY(!rig.Control(QStringLiteral("print_button"))->isEnabled());

        // The first saying is drawn with the click sound.
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("saying_label"))->text(), QString::fromUtf16(QuoteTable()[15].saying));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("saying_source_label"))->text(), QString::fromUtf16(QuoteTable()[15].source));
        QCOMPARE(rig.effects.played, QStringList{rig.ClickSound()});

        auto *about = rig.Control<QLabel>(QStringLiteral("about_link"));
        QCOMPARE(about->text(), QStringLiteral("关于本软件(A)"));
        QCOMPARE(about->palette().color(QPalette::WindowText), QColor(128, 128, 192));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("clock_line"))->text(), QStringLiteral("现在时间:2006-7-16 14:05:09"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("lunar_date_line"))->text(), QStringLiteral("农历:丙戌(狗)年 六月廿一"));
        auto *weekday = rig.Control<QLabel>(QStringLiteral("weekday_line"));
        QCOMPARE(weekday->text(), QStringLiteral("星期日"));
        QCOMPARE(weekday->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(rig.window->Today(), QDate(2006, 7, 16));
        QCOMPARE(rig.window->SelectedDate(), QDate(2006, 7, 16));
    }

    void loadOutlinesTheWindowFromItsBackground()
    {
        MainWindowRig rig;
        rig.Load();
        const QRegion mask = rig.window->mask();
        QVERIFY(!mask.isEmpty());
        QVERIFY(!mask.contains(QPoint(0, 0)));
        QVERIFY(mask.contains(QPoint(321, 232)));
        QVERIFY(!mask.contains(QPoint(321, 463)));
    }

    void controlsCarryTheirGivenNames()
    {
        MainWindowRig rig;
        const QStringList names{
            QStringLiteral("background_picture"), QStringLiteral("music_toggle"),
            QStringLiteral("cast_button"), QStringLiteral("help_button"), QStringLiteral("records_button"),
            QStringLiteral("print_button"), QStringLiteral("calendar_button"), QStringLiteral("manual_entry_button"),
            QStringLiteral("trigrams_button"), QStringLiteral("guard_start_button"), QStringLiteral("options_button"),
            QStringLiteral("reset_view_button"), QStringLiteral("clock_line"), QStringLiteral("title_bar_handle"),
            QStringLiteral("about_link"), QStringLiteral("lunar_date_line"), QStringLiteral("weekday_line"),
            QStringLiteral("saying_label"), QStringLiteral("saying_source_label"), QStringLiteral("minimise_picture"),
            QStringLiteral("close_picture"), QStringLiteral("minimise_enabled_store"),
            QStringLiteral("close_disabled_store"), QStringLiteral("primary_hexagram_frame"),
            QStringLiteral("resulting_hexagram_frame"), QStringLiteral("primary_hexagram_name_shadow"),
            QStringLiteral("primary_hexagram_name_label"), QStringLiteral("resulting_hexagram_name_shadow"),
            QStringLiteral("resulting_hexagram_name_label"), QStringLiteral("primary_hexagram_handle"),
            QStringLiteral("resulting_hexagram_handle"), QStringLiteral("primary_hexagram_text"),
            QStringLiteral("resulting_hexagram_text"), QStringLiteral("primary_line_1_picture"),
            QStringLiteral("resulting_line_6_picture"), QStringLiteral("yin_line_store"),
            QStringLiteral("changing_yin_line_store"), QStringLiteral("yang_line_store"),
            QStringLiteral("changing_yang_line_store"), QStringLiteral("new_year_panel"),
            QStringLiteral("new_year_greeting_label"), QStringLiteral("new_year_english_label"),
            QStringLiteral("lotus_carp_picture"), QStringLiteral("youth_day_badge"),
            QStringLiteral("mid_autumn_animation"), QStringLiteral("party_anniversary_animation"),
            QStringLiteral("clock_timer"), QStringLiteral("window_buttons_release_timer"),
            QStringLiteral("calendar_grid_timer")};
        for (const QString &name : names)
            RequireChild<QObject>(*rig.window, name);

        const QList<std::pair<QString, QString>> tips{
            {QStringLiteral("cast_button"), QStringLiteral("开始推演取卦 F5")},
            {QStringLiteral("print_button"), QStringLiteral("打印此卦 F9")},
            {QStringLiteral("options_button"), QStringLiteral("功能设置 F4")},
            {QStringLiteral("minimise_picture"), QStringLiteral("最小化窗口 F11")},
            {QStringLiteral("close_picture"), QStringLiteral("关闭程序 F12")},
            {QStringLiteral("lunar_date_line"), QStringLiteral("双击查看农历日历 F10")},
            {QStringLiteral("saying_source_label"), QStringLiteral("《周易》名言录")},
            {QStringLiteral("primary_hexagram_text"), QStringLiteral("查看译文(按键\"1\")")},
            {QStringLiteral("music_toggle"), QStringLiteral("背景音乐开关 M")},
        };
        for (const auto &[name, tip] : tips)
            QCOMPARE(rig.Control(name)->toolTip(), tip);
    }

    void keysActOnReleaseWithTheirConditions_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("disabledControl");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("emits");
        QTest::addColumn<int>("clicks");

        const QByteArray options = SIGNAL(OptionsRequested());
        const QByteArray cast = SIGNAL(CastRequested());
        const QByteArray manual = SIGNAL(ManualEntryRequested());
        const QByteArray records = SIGNAL(RecordsRequested());
        const QByteArray trigrams = SIGNAL(TrigramsRequested());
        const QByteArray print = SIGNAL(PrintRequested());
        const QByteArray calendar = SIGNAL(CalendarRequested());
        const QByteArray translation = SIGNAL(TranslationRequested(int));
        const QString none;
        const QString idle = QStringLiteral("idle");
        const QString shown = QStringLiteral("cast");
        const QString changed = QStringLiteral("changed");

        QTest::newRow("F4 options") << int(Qt::Key_F4) << idle << none << options << 1 << 0;
        QTest::newRow("F4, options disabled") << int(Qt::Key_F4) << idle << QStringLiteral("options_button") << options << 0 << 0;
        QTest::newRow("F5 cast") << int(Qt::Key_F5) << idle << none << cast << 1 << 0;
        QTest::newRow("F5, cast disabled") << int(Qt::Key_F5) << idle << QStringLiteral("cast_button") << cast << 0 << 0;
        QTest::newRow("F6 manual entry") << int(Qt::Key_F6) << idle << none << manual << 1 << 1;
        QTest::newRow("F6, manual entry disabled") << int(Qt::Key_F6) << idle << QStringLiteral("manual_entry_button") << manual << 0 << 0;
        QTest::newRow("F7 records") << int(Qt::Key_F7) << idle << none << records << 1 << 1;
        QTest::newRow("F7, records disabled") << int(Qt::Key_F7) << idle << QStringLiteral("records_button") << records << 0 << 0;
        QTest::newRow("F8 trigrams") << int(Qt::Key_F8) << idle << none << trigrams << 1 << 1;
        QTest::newRow("F9 without a cast") << int(Qt::Key_F9) << idle << none << print << 0 << 0;
        QTest::newRow("F9 with a cast") << int(Qt::Key_F9) << shown << none << print << 1 << 0;
        QTest::newRow("F10 calendar") << int(Qt::Key_F10) << idle << none << calendar << 1 << 1;
        QTest::newRow("F10, calendar disabled") << int(Qt::Key_F10) << idle << QStringLiteral("calendar_button") << calendar << 0 << 0;
        QTest::newRow("1 without a cast") << int(Qt::Key_1) << idle << none << translation << 0 << 0;
        QTest::newRow("1 with a cast") << int(Qt::Key_1) << shown << none << translation << 1 << 0;
        QTest::newRow("2 with an unchanged cast") << int(Qt::Key_2) << shown << none << translation << 0 << 0;
        QTest::newRow("2 with a changing cast") << int(Qt::Key_2) << changed << none << translation << 1 << 0;
    }

    void keysActOnReleaseWithTheirConditions()
    {
        QFETCH(int, key);
        QFETCH(QString, view);
        QFETCH(QString, disabledControl);
        QFETCH(QByteArray, signal);
        QFETCH(int, emits);
        QFETCH(int, clicks);

        MainWindowRig rig;
        rig.Load();
        if (view != QStringLiteral("idle"))
            rig.window->ShowCastView(CastOfQian(view == QStringLiteral("changed")));
        if (!disabledControl.isEmpty())
            rig.Control(disabledControl)->setEnabled(false);
        rig.effects.played.clear();
        QSignalSpy spy(rig.window.get(), signal.constData());

        QTest::keyPress(rig.window.get(), Qt::Key(key));
        QCOMPARE(spy.count(), 0);
        QTest::keyRelease(rig.window.get(), Qt::Key(key));
        QCOMPARE(spy.count(), emits);
        QCOMPARE(rig.effects.played.count(rig.ClickSound()), qsizetype(clicks));
    }

    void keysWorkWhereverTheFocusIs()
    {
        MainWindowRig rig;
        rig.Load();
        rig.window->ShowCastView(CastOfQian(true));
        QSignalSpy translations(rig.window.get(), &MainWindow::TranslationRequested);

        QTest::keyRelease(rig.Control(QStringLiteral("resulting_hexagram_text")), Qt::Key_2);
        QTest::keyRelease(rig.Control(QStringLiteral("primary_hexagram_text")), Qt::Key_1, Qt::ControlModifier | Qt::AltModifier);
        // With Shift held the digit keys arrive as their symbols.
        QTest::keyRelease(rig.window.get(), Qt::Key_At, Qt::ShiftModifier);

        QCOMPARE(translations.count(), 3);
        QCOMPARE(translations.at(0).at(0).toInt(), 2);
        QCOMPARE(translations.at(1).at(0).toInt(), 1);
        QCOMPARE(translations.at(2).at(0).toInt(), 2);
    }

    void commandButtonsAskForTheirFunction_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("clicks");

        QTest::newRow("cast_button") << QStringLiteral("cast_button") << QByteArray(SIGNAL(CastRequested())) << 0;
        QTest::newRow("manual_entry_button") << QStringLiteral("manual_entry_button") << QByteArray(SIGNAL(ManualEntryRequested())) << 1;
        QTest::newRow("records_button") << QStringLiteral("records_button") << QByteArray(SIGNAL(RecordsRequested())) << 1;
        QTest::newRow("trigrams_button") << QStringLiteral("trigrams_button") << QByteArray(SIGNAL(TrigramsRequested())) << 1;
        QTest::newRow("calendar_button") << QStringLiteral("calendar_button") << QByteArray(SIGNAL(CalendarRequested())) << 1;
        QTest::newRow("options_button") << QStringLiteral("options_button") << QByteArray(SIGNAL(OptionsRequested())) << 0;
    }

    void commandButtonsAskForTheirFunction()
    {
        QFETCH(QString, button);
        QFETCH(QByteArray, signal);
        QFETCH(int, clicks);

        MainWindowRig rig;
        rig.Load();
        rig.effects.played.clear();
        QSignalSpy spy(rig.window.get(), signal.constData());
        QTest::mouseClick(rig.Control(button), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rig.effects.played.count(rig.ClickSound()), qsizetype(clicks));
    }

    void doubleClickOnTheLunarLineOpensTheCalendar()
    {
        MainWindowRig rig;
        rig.Load();
        QSignalSpy calendar(rig.window.get(), &MainWindow::CalendarRequested);
        QTest::mouseDClick(rig.Control(QStringLiteral("lunar_date_line")), Qt::LeftButton);
        QCOMPARE(calendar.count(), 1);
    }

    void helpOpensOnF1AndOnTheReleaseOfTheHelpButton()
    {
        MainWindowRig rig;
        rig.Load();
        rig.effects.played.clear();

        QTest::keyRelease(rig.window.get(), Qt::Key_F1);
        QCOMPARE(rig.helpOwners, QList<QWidget *>{rig.window.get()});
        QVERIFY(rig.effects.played.isEmpty());

        QWidget *help = rig.Control(QStringLiteral("help_button"));
        QTest::mousePress(help, Qt::LeftButton);
        QCOMPARE(rig.effects.played, QStringList{rig.ClickSound()});
        QCOMPARE(rig.helpOwners.size(), 1);
        QTest::mouseRelease(help, Qt::LeftButton);
        QCOMPARE(rig.helpOwners.size(), 2);
    }

    void webPageOpensByKeyAndBySeal()
    {
        MainWindowRig rig;
        rig.Load();
        rig.effects.played.clear();

        QTest::keyRelease(rig.window.get(), Qt::Key_F2);
        QTest::keyRelease(rig.window.get(), Qt::Key_L);
        QTest::mouseClick(rig.Control(QStringLiteral("seal_picture")), Qt::LeftButton);

        QCOMPARE(rig.webPagesOpened, 3);
        QCOMPARE(rig.effects.played.count(rig.ClickSound()), 3);
    }

    void viewsChangeBetweenIdleAndCast()
    {
        MainWindowRig rig;
        rig.Load();

        rig.window->ShowCastView(CastOfQian(true));
        QVERIFY(SameWidgetsVisible(rig, IdleControls, false));
        QVERIFY(SameWidgetsVisible(rig, CastControls + QStringList{QStringLiteral("resulting_hexagram_frame")}, true));
        QVERIFY(rig.Control(QStringLiteral("print_button"))->isEnabled());
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("primary_hexagram_name_label"))->text(), QStringLiteral("乾"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("primary_hexagram_name_shadow"))->text(), QStringLiteral("乾"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("resulting_hexagram_name_label"))->text(), QStringLiteral("夬"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("resulting_hexagram_number_label"))->text(), QStringLiteral("43"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("resulting_hexagram_lines_label"))->text(), QStringLiteral("111110"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("changing_line_rule_label"))->text(), QStringLiteral("变1爻：则以本卦变爻辞占。"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("matter_label"))->text(), QStringLiteral("出行"));
        QCOMPARE(PictureOf(rig, QStringLiteral("primary_line_6_picture")), PictureOf(rig, QStringLiteral("changing_yang_line_store")));
        QCOMPARE(PictureOf(rig, QStringLiteral("resulting_line_6_picture")), PictureOf(rig, QStringLiteral("changing_yin_line_store")));
        QCOMPARE(PictureOf(rig, QStringLiteral("primary_line_1_picture")), PictureOf(rig, QStringLiteral("yang_line_store")));

        rig.window->ShowCastView(CastOfQian(false));
        QVERIFY(!rig.Control(QStringLiteral("resulting_hexagram_frame"))->isVisibleTo(rig.window.get()));

        RequireChild<QPushButton>(*rig.window, QStringLiteral("reset_view_button"))->click();
        QVERIFY(SameWidgetsVisible(rig, IdleControls, true));
        QVERIFY(SameWidgetsVisible(rig, CastControls, false));
        QVERIFY(!rig.Control(QStringLiteral("print_button"))->isEnabled());
    }

    void resetLeavesTheBannerOffWhenTheOptionSaysSo()
    {
        MainWindowRig rig;
        rig.settings.showQuotes = false;
        rig.Load();
        rig.window->ShowCastView(CastOfQian(false));
        rig.window->ResetToIdleView();
        QVERIFY(!rig.Control(QStringLiteral("saying_label"))->isVisibleTo(rig.window.get()));
        QVERIFY(rig.Control(QStringLiteral("trigram_wheel_picture"))->isVisibleTo(rig.window.get()));
    }

    void sayingsChangeByKeyYAndDoubleClick()
    {
        MainWindowRig rig;
        rig.Load();
        auto *saying = rig.Control<QLabel>(QStringLiteral("saying_label"));
        rig.effects.played.clear();

        rig.nextRandom = 1.0 / 31;
        QTest::keyRelease(rig.window.get(), Qt::Key_Y);
        QCOMPARE(saying->text(), QString::fromUtf16(QuoteTable()[1].saying));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("saying_source_label"))->text(), QStringLiteral(" 《文言传》"));

        rig.nextRandom = 6.0 / 31;
        QTest::mouseDClick(rig.Control(QStringLiteral("saying_source_label")), Qt::LeftButton);
        QCOMPARE(saying->text(), QStringLiteral("一阴一阳之谓道。"));
        QCOMPARE(rig.effects.played.count(rig.ClickSound()), 2);

        // Hidden by a shown cast, the banner does not change.
        rig.window->ShowCastView(CastOfQian(false));
        rig.nextRandom = 0.0;
        QTest::keyRelease(rig.window.get(), Qt::Key_Y);
        QCOMPARE(saying->text(), QStringLiteral("一阴一阳之谓道。"));
        QCOMPARE(rig.effects.played.count(rig.ClickSound()), 2);
    }

    void quotesOptionOffHidesTheBannerAndLowersThePictures()
    {
        MainWindowRig rig;
        rig.settings.showQuotes = false;
        rig.Load();

        QVERIFY(!rig.Control(QStringLiteral("saying_label"))->isVisibleTo(rig.window.get()));
        QVERIFY(!rig.Control(QStringLiteral("saying_source_label"))->isVisibleTo(rig.window.get()));
        QCOMPARE(rig.Control(QStringLiteral("trigram_wheel_picture"))->y(), 105);
        QCOMPARE(rig.Control(QStringLiteral("landscape_scroll_picture"))->y(), 122);
        // The first saying is drawn all the same; Y then does nothing.
        QCOMPARE(rig.effects.played.size(), 1);
        QTest::keyRelease(rig.window.get(), Qt::Key_Y);
        QCOMPARE(rig.effects.played.size(), 1);
    }

    void quotesOptionOnKeepsThePicturesHigh()
    {
        MainWindowRig rig;
        rig.settings.showQuotes = true;
        rig.Load();
        QCOMPARE(rig.Control(QStringLiteral("trigram_wheel_picture"))->y(), 82);
        QCOMPARE(rig.Control(QStringLiteral("landscape_scroll_picture"))->y(), 99);
    }

    void exitAsksFirst_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void exitAsksFirst()
    {
        QFETCH(bool, answer);
        MainWindowRig rig;
        rig.Load();
        rig.dialogs.yesNoAnswers = {answer};
        QSignalSpy exits(rig.window.get(), &MainWindow::ExitRequested);

        QTest::keyRelease(rig.window.get(), Qt::Key_F12);

        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        const FakeDialogs::Box &box = rig.dialogs.boxes.front();
        QCOMPARE(box.text, QStringLiteral("确定要退出程序吗?"));
        QCOMPARE(box.title, QStringLiteral("《Ravezaz》系统"));
        QVERIFY(!box.yesIsDefault);
        QCOMPARE(exits.count(), answer ? 1 : 0);
    }

    void closePictureAsksLikeF12()
    {
        MainWindowRig rig;
        rig.Load();
        rig.dialogs.yesNoAnswers = {true};
        QSignalSpy exits(rig.window.get(), &MainWindow::ExitRequested);
        QTest::mouseClick(rig.Control(QStringLiteral("close_picture")), Qt::LeftButton);
        QCOMPARE(rig.dialogs.boxes.size(), size_t(1));
        QCOMPARE(exits.count(), 1);
    }

    void systemCloseExitsWithoutAQuestion()
    {
        MainWindowRig rig;
        rig.Load();
        QSignalSpy exits(rig.window.get(), &MainWindow::ExitRequested);
        QVERIFY(!rig.window->close());
        QCOMPARE(exits.count(), 1);
        QVERIFY(rig.dialogs.boxes.empty());
        QVERIFY(rig.window->isVisible());
    }

    void minimisePictureAndF11Minimise()
    {
        MainWindowRig rig;
        rig.Load();
        QTest::keyRelease(rig.window.get(), Qt::Key_F11);
        QVERIFY(rig.window->isMinimized());
        rig.window->showNormal();
        QVERIFY(!rig.window->isMinimized());
        QTest::mouseClick(rig.Control(QStringLiteral("minimise_picture")), Qt::LeftButton);
        QVERIFY(rig.window->isMinimized());
    }

    void guardDisablesMinimiseAndCloseUntilASecondAfterTheChild()
    {
        MainWindowRig rig;
        rig.Load();
        auto *minimise = rig.Control(QStringLiteral("minimise_picture"));
        auto *close = rig.Control(QStringLiteral("close_picture"));
        auto *releaseTimer = RequireChild<QTimer>(*rig.window, QStringLiteral("window_buttons_release_timer"));

        RequireChild<QPushButton>(*rig.window, QStringLiteral("guard_start_button"))->click();
        QVERIFY(!minimise->isEnabled());
        QVERIFY(!close->isEnabled());
        QCOMPARE(PictureOf(rig, QStringLiteral("minimise_picture")), PictureOf(rig, QStringLiteral("minimise_disabled_store")));
        QCOMPARE(PictureOf(rig, QStringLiteral("close_picture")), PictureOf(rig, QStringLiteral("close_disabled_store")));
        QVERIFY(!releaseTimer->isActive());

        rig.window->Guard().EndSoon();
        QVERIFY(releaseTimer->isActive());
        QVERIFY(releaseTimer->isSingleShot());
        QCOMPARE(releaseTimer->interval(), 1000);

        // Within the second F11 and F12 do nothing.
        QTest::keyRelease(rig.window.get(), Qt::Key_F11);
        QTest::keyRelease(rig.window.get(), Qt::Key_F12);
        QVERIFY(!rig.window->isMinimized());
        QVERIFY(rig.dialogs.boxes.empty());

        QTRY_VERIFY_WITH_TIMEOUT(minimise->isEnabled() && close->isEnabled(), 3000);
        QCOMPARE(PictureOf(rig, QStringLiteral("minimise_picture")), PictureOf(rig, QStringLiteral("minimise_enabled_store")));
        QCOMPARE(PictureOf(rig, QStringLiteral("close_picture")), PictureOf(rig, QStringLiteral("close_enabled_store")));
        QVERIFY(PictureOf(rig, QStringLiteral("minimise_enabled_store")) != PictureOf(rig, QStringLiteral("minimise_disabled_store")));
    }

    void guardStartAgainStopsAPendingRelease()
    {
        MainWindowRig rig;
        rig.Load();
        auto *releaseTimer = RequireChild<QTimer>(*rig.window, QStringLiteral("window_buttons_release_timer"));
        rig.window->Guard().Begin();
        rig.window->Guard().EndSoon();
        rig.window->Guard().Begin();
        QVERIFY(!releaseTimer->isActive());
        QVERIFY(!rig.Control(QStringLiteral("minimise_picture"))->isEnabled());
    }

    void guardedChildRunsBehindTheGuard()
    {
        MainWindowRig rig;
        rig.Load();
        QDialog child(rig.window.get());
        bool disabledWhileOpen = false;
        QTimer::singleShot(0, &child, [&] {
            disabledWhileOpen = !rig.Control(QStringLiteral("close_picture"))->isEnabled();
            child.accept();
        });
        rig.window->RunGuardedChild(child);
        QVERIFY(disabledWhileOpen);
        QVERIFY(RequireChild<QTimer>(*rig.window, QStringLiteral("window_buttons_release_timer"))->isActive());
    }

    void aboutLinkStopsTheEffectAndGuardsWhileTheAboutWindowIsOpen()
    {
        MainWindowRig rig;
        rig.Load();
        rig.effects.played.clear();
        QString shownVersion;
        QString shownTitle;
        bool guardedWhileOpen = false;
        QStringList aboutMusicWhileOpen;
        ModalWatch watch(QStringLiteral("about_window"), [&](QDialog *about) {
            shownTitle = about->windowTitle();
            shownVersion = RequireChild<QLabel>(*about, QStringLiteral("version_label"))->text();
            guardedWhileOpen = !rig.Control(QStringLiteral("minimise_picture"))->isEnabled();
            aboutMusicWhileOpen = rig.aboutPlayer.calls;
            QTest::keyRelease(about, Qt::Key_F12);
        });

        QTest::mouseClick(rig.Control(QStringLiteral("about_link")), Qt::LeftButton);

        QCOMPARE(shownTitle, QStringLiteral("关于本软件"));
        QCOMPARE(shownVersion, VersionText());
        QVERIFY(guardedWhileOpen);
        QCOMPARE(aboutMusicWhileOpen,
                 (QStringList{QStringLiteral("open ") + rig.folder.path() + QStringLiteral("/wav/音乐.mp3"),
                              QStringLiteral("play")}));
        QCOMPARE(rig.aboutPlayer.calls.mid(2), (QStringList{QStringLiteral("stop"), QStringLiteral("close")}));
        QCOMPARE(rig.effectPlayer.calls.mid(rig.effectPlayer.calls.size() - 2),
                 (QStringList{QStringLiteral("stop"), QStringLiteral("close")}));
        QCOMPARE(rig.effects.played, QStringList{rig.ClickSound()});
        QVERIFY(RequireChild<QTimer>(*rig.window, QStringLiteral("window_buttons_release_timer"))->isActive());
    }

    void aboutByKeyOpensDirectly_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("F3") << int(Qt::Key_F3);
        QTest::newRow("A") << int(Qt::Key_A);
    }

    void aboutByKeyOpensDirectly()
    {
        QFETCH(int, key);
        MainWindowRig rig;
        rig.Load();
        rig.effects.played.clear();
        const QStringList effectCalls = rig.effectPlayer.calls;
        bool guardedWhileOpen = true;
        ModalWatch watch(QStringLiteral("about_window"), [&](QDialog *about) {
            guardedWhileOpen = !rig.Control(QStringLiteral("minimise_picture"))->isEnabled();
            QTest::keyRelease(about, Qt::Key_F12);
        });

        QTest::keyRelease(rig.window.get(), Qt::Key(key));

        QVERIFY(!guardedWhileOpen);
        QCOMPARE(rig.effectPlayer.calls, effectCalls);
        QVERIFY(rig.effects.played.isEmpty());
        QCOMPARE(rig.aboutPlayer.calls.size(), 4);
        QVERIFY(RequireChild<QTimer>(*rig.window, QStringLiteral("window_buttons_release_timer"))->isActive());
    }

    void hiddenChildReplacesTheWindowUntilHalfASecondAfter()
    {
        MainWindowRig rig;
        rig.Load();
        QDialog child;
        bool hiddenWhileOpen = false;
        QTimer::singleShot(0, &child, [&] {
            hiddenWhileOpen = !rig.window->isVisible();
            child.accept();
        });
        rig.window->RunHiddenChild(child);

        QVERIFY(hiddenWhileOpen);
        auto *reshow = RequireChild<QTimer>(*rig.window, QStringLiteral("reshow_timer"));
        QVERIFY(reshow->isActive());
        QCOMPARE(reshow->interval(), 500);
        QVERIFY(!rig.window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(rig.window->isVisible(), 2000);
        QCOMPARE(rig.window->focusWidget(), rig.Control(QStringLiteral("background_picture")));
    }

    void musicToggleFollowsKeyMAndClicks()
    {
        MainWindowRig rig;
        rig.Load();
        auto *toggle = rig.Control<MusicToggleBox>(QStringLiteral("music_toggle"));
        // A first run (no stored state) on an ordinary day: background music.
        QCOMPARE(toggle->Value(), 1);
        QCOMPARE(rig.settings.musicState, MusicState::Background);

        QTest::keyRelease(rig.window.get(), Qt::Key_M);
        QCOMPARE(toggle->Value(), 0);
        QCOMPARE(rig.settings.musicState, MusicState::Off);
        QCOMPARE(toggle->text(), QStringLiteral("背景音乐(M)"));
        QCOMPARE(toggle->toolTip(), QStringLiteral("点击开启背景音乐 M"));

        QTest::mouseClick(toggle, Qt::LeftButton);
        QCOMPARE(toggle->Value(), 1);
        QCOMPARE(rig.settings.musicState, MusicState::Background);

        toggle->setEnabled(false);
        QTest::keyRelease(rig.window.get(), Qt::Key_M);
        QCOMPARE(toggle->Value(), 1);
    }

    void backgroundMusicStartsOnAnOrdinaryDay()
    {
        MainWindowRig rig;
        rig.Load();
        QTRY_VERIFY_WITH_TIMEOUT(rig.backgroundPlayer.calls.contains(QStringLiteral("play")), 2000);
        QVERIFY(rig.backgroundPlayer.calls.contains(QStringLiteral("open ") + rig.folder.path() +
                                                    QStringLiteral("/mid/piece.mid")));
        QCOMPARE(rig.Control(QStringLiteral("music_toggle"))->toolTip(), QStringLiteral("【piece】- 背景音乐 M"));
    }

    void festivalDayAtLoad()
    {
        MainWindowRig rig(QDateTime(QDate(2006, 1, 29), QTime(9, 0)));
        QSignalSpy tips(rig.window.get(), &MainWindow::TodaysTipsDue);
        rig.Load();

        auto *lunar = rig.Control<QLabel>(QStringLiteral("lunar_date_line"));
        QCOMPARE(lunar->text(), QStringLiteral("农历:丙戌(狗)年 正月初一 过年好!"));
        QCOMPARE(lunar->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(rig.effectPlayer.calls,
                 (QStringList{QStringLiteral("open ") + rig.folder.path() + QStringLiteral("/festival/爆竹.mp3"),
                              QStringLiteral("play")}));
        auto *toggle = rig.Control<MusicToggleBox>(QStringLiteral("music_toggle"));
        QCOMPARE(toggle->Value(), 2);
        QCOMPARE(toggle->text(), QStringLiteral("节日音乐(M)"));
        QCOMPARE(rig.window->Tunes().lunar, QStringLiteral("春节"));
        QTRY_COMPARE_WITH_TIMEOUT(tips.count(), 1, 2000);
        // The festival tune is missing from the temporary folder.
        QTRY_VERIFY_WITH_TIMEOUT(!rig.dialogs.boxes.empty(), 2000);
        QCOMPARE(rig.dialogs.boxes.front().text, QStringLiteral("未找到相关MID背景音乐！"));
        QCOMPARE(rig.dialogs.boxes.front().title, QStringLiteral("Ravezaz"));
    }

    void midnightReturnsToTheIdleViewAndEvaluatesTheNewDay()
    {
        MainWindowRig rig(QDateTime(QDate(2006, 7, 16), QTime(23, 59, 59)), QuickClockIntervalMs);
        rig.Load();
        rig.window->ShowCastView(CastOfQian(true));
        rig.effectPlayer.calls.clear();
        QSignalSpy tipsClosed(rig.window.get(), &MainWindow::TodaysTipsCloseRequested);

        rig.now = QDateTime(QDate(2006, 7, 17), QTime(0, 0, 0));
        QTRY_COMPARE_WITH_TIMEOUT(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期一"), 3000);

        QCOMPARE(rig.Control<QLabel>(QStringLiteral("clock_line"))->text(), QStringLiteral("现在时间:2006-7-17 0:00:00"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("lunar_date_line"))->text(), QStringLiteral("农历:丙戌(狗)年 六月廿二"));
        QCOMPARE(tipsClosed.count(), 1);
        QCOMPARE(rig.window->Today(), QDate(2006, 7, 17));
        QCOMPARE(rig.window->SelectedDate(), QDate(2006, 7, 17));
        QVERIFY(SameWidgetsVisible(rig, CastControls, false));
        QVERIFY(SameWidgetsVisible(rig, IdleControls, true));
        QCOMPARE(rig.effectPlayer.calls.mid(0, 2), (QStringList{QStringLiteral("stop"), QStringLiteral("close")}));
        QCOMPARE(rig.Control<MusicToggleBox>(QStringLiteral("music_toggle"))->Value(), 1);
        QCOMPARE(rig.music->SavedMusicState(), MusicState::Background);
    }

    void midnightWithTheCalendarOpenClosesIt()
    {
        MainWindowRig rig(QDateTime(QDate(2006, 7, 16), QTime(23, 59, 59)), QuickClockIntervalMs);
        rig.Load();
        rig.window->SetCalendarWindowOpen(true);
        auto *clock = rig.Control<QLabel>(QStringLiteral("clock_line"));
        clock->setText(QStringLiteral("2006年7月"));
        QSignalSpy calendarClosed(rig.window.get(), &MainWindow::CalendarCloseRequested);

        rig.now = QDateTime(QDate(2006, 7, 17), QTime(0, 0, 0));
        QTRY_COMPARE_WITH_TIMEOUT(calendarClosed.count(), 1, 3000);

        QCOMPARE(clock->text(), QStringLiteral("2006年7月"));
        QCOMPARE(rig.window->Today(), QDate(2006, 7, 17));
        QCOMPARE(rig.window->SelectedDate(), QDate(2006, 7, 16));
        QVERIFY(!RequireChild<QTimer>(*rig.window, QStringLiteral("day_change_timer"))->isActive());
    }

    void selectingADateRunsTheDayChangeStep()
    {
        MainWindowRig rig;
        rig.Load();
        rig.window->SelectDate(QDate(2020, 10, 1));
        QTRY_COMPARE_WITH_TIMEOUT(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期四"), 2000);
        QCOMPARE(rig.window->Tunes().gregorian, QStringLiteral("国庆节"));
        QCOMPARE(rig.window->Tunes().lunar, QStringLiteral("中秋节"));
        QCOMPARE(rig.Control<MusicToggleBox>(QStringLiteral("music_toggle"))->Value(), 2);
    }

    void dragHandlesMoveTheWindow_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("moves");
        for (const char *handle : {"background_picture", "clock_line", "title_bar_handle", "lunar_date_line", "weekday_line", "saying_label", "saying_source_label"})
            QTest::newRow(handle) << QString::fromLatin1(handle) << true;
        QTest::newRow("the seal is a link, not a handle") << QStringLiteral("seal_picture") << false;
    }

    void dragHandlesMoveTheWindow()
    {
        QFETCH(QString, control);
        QFETCH(bool, moves);
        MainWindowRig rig;
        rig.Load();
        QWidget *handle = rig.Control(control);
        const QPoint start = rig.window->pos();
        const QPoint grab(4, 4);

        QTest::mousePress(handle, Qt::LeftButton, {}, grab);
        const QPoint target = handle->mapToGlobal(grab) + QPoint(30, 20);
        QMouseEvent move(QEvent::MouseMove, QPointF(grab + QPoint(30, 20)), QPointF(target), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &move);
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grab + QPoint(30, 20));

        QCOMPARE(rig.window->pos(), moves ? start + QPoint(30, 20) : start);
    }

    // Every saying fits the quotes banner in a readable type, and the New
    // Year banner starts below it.
    void everySayingFitsItsBanner()
    {
        MainWindowRig rig;
        rig.Load();
        auto *saying = rig.Control<SayingLabel>(QStringLiteral("saying_label"));
        for (const QuoteRow &row : QuoteTable()) {
            const QString text = QString::fromUtf16(row.saying);
            const int size = saying->FittingPixelSize(text, 15, 13);
            QVERIFY2(size >= 13, qPrintable(text));
            QVERIFY2(saying->FittingPixelSize(text, size, size - 1) == size, qPrintable(text));
        }
        QVERIFY(rig.Control(QStringLiteral("new_year_panel"))->y() > saying->geometry().bottom());
    }

    // The longest values the program writes under the hexagrams show whole:
    // a manual time of twenty characters with its mark, a long name, a
    // matter of thirty characters.
    void castDetailsShowWhole()
    {
        MainWindowRig rig;
        rig.Load();
        CastResolution cast;
        cast.castTime = QStringLiteral("二〇〇六年十二月三十一日二十三时五十九分(人工输入)");
        cast.divinerName = QStringLiteral("欧阳某某某某某某某某");
        cast.matterText = QString(30, QChar(u'问'));
        rig.window->ShowCastView(cast);
        for (const auto &[name, value] : {std::pair{"cast_time_label", cast.castTime}, std::pair{"diviner_name_label", cast.divinerName},
                                          std::pair{"matter_label", cast.matterText}}) {
            auto *label = rig.Control<QLabel>(QString::fromLatin1(name));
            QCOMPARE(label->text(), value);
            QVERIFY2(label->fontMetrics().horizontalAdvance(value) <= label->width(), name);
            QVERIFY2(label->font().pixelSize() >= 9, name);
        }
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("cast_time_label"))->toolTip(), cast.castTime);
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("matter_label"))->toolTip(), QString());
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
