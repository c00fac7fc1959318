#include "calendar/date_evaluation.h"
#include "calendar_rig.h"
#include "core/resolution.h"
#include "shell/settings.h"
#include "ui/art/fonts.h"
#include "ui/art/main_window_layout.h"
#include "ui/art/tips_art.h"
#include "ui/widgets/animated_picture.h"
#include "ui/widgets/entry_lines_label.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/options_window.h"
#include "ui/windows/todays_tips_window.h"

#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QTest>

namespace {

const QStringList OverlayControls{
    QStringLiteral("new_year_panel"), QStringLiteral("lotus_carp_picture"),
    QStringLiteral("lantern_pair_picture"), QStringLiteral("fortune_diamond_picture"),
    QStringLiteral("army_day_badge"), QStringLiteral("youth_day_badge"), QStringLiteral("mid_autumn_animation"),
    QStringLiteral("national_day_animation"), QStringLiteral("christmas_tree_animation"),
    QStringLiteral("christmas_bells_animation"), QStringLiteral("new_year_fireworks_animation"),
    QStringLiteral("party_anniversary_animation")};

const QStringList IdleControls{QStringLiteral("trigram_wheel_picture"), QStringLiteral("landscape_scroll_picture"),
                               QStringLiteral("seal_picture"), QStringLiteral("saying_label"),
                               QStringLiteral("saying_source_label")};

QStringList ShownOf(const MainWindowRig &rig, const QStringList &names)
{
    QStringList shown;
    for (const QString &name : names) {
        if (rig.Control(name)->isVisibleTo(rig.window.get()))
            shown << name;
    }
    return shown;
}

// What the tips window showed when it opened.
struct TipsSeen {
    int count = 0;
    QString caption;
    QString text;
    QString legend;
    bool dontShowTicked = false;
    QPoint position;
};

std::unique_ptr<ModalWatch> WatchTips(TipsSeen &seen)
{
    return std::make_unique<ModalWatch>(QStringLiteral("todays_tips_window"), [&seen](QDialog *tips) {
        ++seen.count;
        seen.caption = tips->windowTitle();
        seen.text = RequireChild<QLabel>(*tips, QStringLiteral("tips_label"))->text();
        seen.legend = RequireChild<QLabel>(*tips, QStringLiteral("legend_label"))->text();
        seen.dontShowTicked = RequireChild<QCheckBox>(*tips, QStringLiteral("dont_show_again_box"))->isChecked();
        seen.position = tips->pos();
    });
}

} // namespace

// True once the day-change step and the tips timer it may start have both
// run: from then on no tips window opens for the day by itself.
bool DaySettled(const CalendarRig &rig)
{
    return !rig.Control<QTimer>(QStringLiteral("day_change_timer"))->isActive()
           && !rig.Control<QTimer>(QStringLiteral("todays_tips_timer"))->isActive();
}

class FestivalGreetingsTest : public QObject {
    Q_OBJECT

private slots:
    void decorationsOfTheDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("tooltips");

        QTest::newRow("ordinary day") << QDate(2006, 7, 16) << QStringList{} << QStringList{};
        QTest::newRow("New Year") << QDate(2006, 1, 1) << QStringList{"new_year_panel", "new_year_fireworks_animation"}
                                  << QStringList{QString(), QString()};
        QTest::newRow("Spring Festival") << QDate(2006, 1, 29) << QStringList{"lotus_carp_picture", "lantern_pair_picture", "fortune_diamond_picture"}
                                         << QStringList{QStringLiteral("莲年有余  狗年大吉"), QString(), QString()};
        QTest::newRow("eve on the 29th") << QDate(2006, 1, 28) << QStringList{"lotus_carp_picture", "lantern_pair_picture", "fortune_diamond_picture"}
                                         << QStringList{QStringLiteral("莲年有余"), QString(), QString()};
        QTest::newRow("Youth Day") << QDate(2006, 5, 4) << QStringList{"youth_day_badge"}
                                   << QStringList{QStringLiteral("今天是五四青年节")};
        QTest::newRow("Party anniversary") << QDate(2006, 7, 1) << QStringList{"party_anniversary_animation"}
                                           << QStringList{QStringLiteral("中国共产党建党85周年")};
        QTest::newRow("Army Day") << QDate(2006, 8, 1) << QStringList{"army_day_badge"}
                                  << QStringList{QStringLiteral("中国人民解放军建军79周年")};
        QTest::newRow("Mid-Autumn and National Day") << QDate(2020, 10, 1) << QStringList{"mid_autumn_animation", "national_day_animation"}
                                                     << QStringList{QStringLiteral("中秋节快乐!"),
                                                                    QStringLiteral("庆祝国庆71周年!")};
        QTest::newRow("Christmas") << QDate(2006, 12, 25) << QStringList{"christmas_tree_animation", "christmas_bells_animation"}
                                   << QStringList{QStringLiteral("圣诞快乐!"), QStringLiteral("圣诞快乐!")};
    }

    void decorationsOfTheDay()
    {
        QFETCH(QDate, date);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, tooltips);

        CalendarRig rig(Morning(date));
        rig.settings.todayTips = false;
        rig.Load();

        QCOMPARE(ShownOf(rig, OverlayControls), shown);
        for (int i = 0; i < shown.size(); ++i) {
            if (!tooltips[i].isEmpty())
                QCOMPARE(rig.Control(shown[i])->toolTip(), tooltips[i]);
            if (auto *animation = qobject_cast<AnimatedPicture *>(rig.Control(shown[i])))
                QVERIFY(animation->IsRunning());
            // Everything the overlay shows has its picture.
            QVERIFY(!rig.Control(shown[i])->size().isEmpty());
        }
        const bool springFestival = shown.contains(QStringLiteral("lotus_carp_picture"));
        QCOMPARE(ShownOf(rig, IdleControls).size(), springFestival ? 1 : 5);
    }

    void aCastOnAFestivalDayIsNotCoveredByDecorations_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::newRow("Spring Festival") << QDate(2006, 1, 29);
        QTest::newRow("National Day and Mid-Autumn") << QDate(2020, 10, 1);
        QTest::newRow("New Year") << QDate(2007, 1, 1);
    }
    void aCastOnAFestivalDayIsNotCoveredByDecorations()
    {
        QFETCH(QDate, date);
        CalendarRig rig(Morning(date));
        rig.settings.todayTips = false;
        rig.Load();
        QVERIFY(!ShownOf(rig, OverlayControls).isEmpty());

        CastResolution cast;
        cast.primary = {QStringLiteral("1"), QStringLiteral("乾"), QStringLiteral("111111"), QStringLiteral("乾：元亨利贞。"),
                        {QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                         QStringLiteral("1"), QStringLiteral("1")}};
        cast.resulting = cast.primary;
        rig.window->ShowCastView(cast);

        QCOMPARE(ShownOf(rig, OverlayControls), QStringList());
        QVERIFY(rig.Control(QStringLiteral("primary_hexagram_frame"))->isVisibleTo(rig.window.get()));
    }

    void newYearBannerShowsTodaysYearAboveTheCommandBar()
    {
        CalendarRig rig(Morning(QDate(2007, 3, 1)));
        rig.Load();
        rig.window->SelectDate(QDate(2006, 1, 1));
        QTRY_VERIFY(rig.Control(QStringLiteral("new_year_panel"))->isVisible());

        QCOMPARE(rig.Control<QLabel>(QStringLiteral("new_year_year_label"))->text(), QStringLiteral("2007"));
        auto *greeting = rig.Control<QLabel>(QStringLiteral("new_year_greeting_label"));
        QCOMPARE(greeting->text(), QStringLiteral("新年好!"));
        QCOMPARE(greeting->toolTip(), QStringLiteral("恭贺2007年元旦!"));
        for (const char *part : {"new_year_picture", "new_year_greeting_label", "new_year_year_label", "new_year_stars_label", "new_year_english_label", "new_year_fireworks_animation"})
            QVERIFY2(rig.Control(QString::fromLatin1(part))->isVisible(), part);

        const QRect banner = rig.Control(QStringLiteral("new_year_panel"))->geometry();
        // Below the quotes banner's saying, whose second line it would cover.
        QCOMPARE(banner.left(), 37);
        QVERIFY(banner.top() > rig.Control(QStringLiteral("saying_label"))->geometry().bottom());
        QCOMPARE(rig.Control(QStringLiteral("new_year_panel"))->palette().color(QPalette::Window), QColor(0, 0, 120));
        QVERIFY(banner.bottom() < MainLayout::CommandBarTop);
        QVERIFY(!banner.intersects(rig.Control(QStringLiteral("cast_button"))->geometry()));
        for (const char *text : {"new_year_greeting_label", "new_year_year_label", "new_year_stars_label", "new_year_english_label", "new_year_fireworks_animation"}) {
            const QRect part = rig.Control(QString::fromLatin1(text))->geometry();
            QVERIFY2(QRect(QPoint(), banner.size()).contains(part), text);
        }
    }

    void nationalDayMovesUpWithoutALunarFestival()
    {
        CalendarRig rig(Morning(QDate(2020, 10, 1)));
        rig.settings.todayTips = false;
        rig.Load();
        const QRect moon = rig.Control(QStringLiteral("mid_autumn_animation"))->geometry();
        QCOMPARE(rig.Control(QStringLiteral("national_day_animation"))->pos(), QPoint(moon.left(), moon.top() + moon.height() + 25));
        QVERIFY(rig.Control(QStringLiteral("national_day_animation"))->geometry().bottom() < MainLayout::CommandBarTop);

        rig.window->SelectDate(QDate(2006, 10, 1));
        QTRY_VERIFY(!rig.Control(QStringLiteral("mid_autumn_animation"))->isVisible());
        QTRY_VERIFY(rig.Control(QStringLiteral("national_day_animation"))->isVisible());
        QCOMPARE(rig.Control(QStringLiteral("national_day_animation"))->pos(), moon.topLeft());
        QCOMPARE(rig.Control(QStringLiteral("national_day_animation"))->toolTip(), QStringLiteral("庆祝国庆57周年!"));
    }

    void springFestivalStartUp()
    {
        CalendarRig rig(Morning(QDate(2006, 1, 29)));
        TipsSeen tips;
        const auto watch = WatchTips(tips);
        rig.Load();

        auto *lunar = rig.Control<QLabel>(QStringLiteral("lunar_date_line"));
        QCOMPARE(lunar->text(), QStringLiteral("农历:丙戌(狗)年 正月初一 过年好!"));
        QCOMPARE(lunar->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QCOMPARE(rig.Control(QStringLiteral("lotus_carp_picture"))->toolTip(), QStringLiteral("莲年有余  狗年大吉"));
        QCOMPARE(ShownOf(rig, IdleControls), QStringList{QStringLiteral("seal_picture")});

        QTRY_COMPARE(tips.count, 1);
        QCOMPARE(tips.caption, QStringLiteral("今日提示:2006-1-29(正月初一)"));
        QCOMPARE(tips.text, QStringLiteral("  今天是: ★春节（大年初一）"));
        QCOMPARE(tips.legend, QStringLiteral("★表示日期为农历;☆表示日期为公历"));
        QVERIFY(!tips.dontShowTicked);
        QCOMPARE(tips.position, QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    }

    void partyAnniversaryStartUpNamesBothFestivals()
    {
        CalendarRig rig(Morning(QDate(2006, 7, 1)));
        TipsSeen tips;
        const auto watch = WatchTips(tips);
        rig.Load();
        QTRY_COMPARE(tips.count, 1);
        QCOMPARE(tips.caption, QStringLiteral("今日提示:2006-7-1(六月初六)"));
        QCOMPARE(tips.text, QStringLiteral("  今天是: ★龙晒衣 ☆中国共产党建党日 ☆香港回归纪念日"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("weekday_line"))->palette().color(QPalette::WindowText),
                 QColor(0, 128, 0));
    }

    void ordinaryDayShowsNoTips()
    {
        CalendarRig rig(Morning(QDate(2006, 7, 16)));
        TipsSeen tips;
        const auto watch = WatchTips(tips);
        rig.Load();
        QTRY_VERIFY(DaySettled(rig));
        QCOMPARE(tips.count, 0);
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("lunar_date_line"))->palette().color(QPalette::WindowText),
                 QColor(64, 64, 64));
    }

    void tipsBoxSwitchesTheOptionOff()
    {
        CalendarRig rig(Morning(QDate(2006, 12, 25)));
        QList<std::optional<bool>> settingsSeen;
        ModalWatch watch(QStringLiteral("todays_tips_window"), [&](QDialog *tips) {
            auto *box = RequireChild<QCheckBox>(*tips, QStringLiteral("dont_show_again_box"));
            QCOMPARE(box->text(), QStringLiteral("以后不显示此窗口"));
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            settingsSeen << rig.settings.todayTips;
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            settingsSeen << rig.settings.todayTips;
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            settingsSeen << rig.settings.todayTips;
            QTest::mouseClick(RequireChild<QWidget>(*tips, QStringLiteral("close_button")), Qt::LeftButton);
            QVERIFY(!tips->isVisible());
        });
        rig.Load();
        QTRY_COMPARE(watch.visits, 1);
        QCOMPARE(settingsSeen, (QList<std::optional<bool>>{false, true, false}));

        // The next festival day opens no tips window.
        rig.now = QDateTime(QDate(2006, 12, 26), QTime(0, 0, 0));
        QTRY_COMPARE_WITH_TIMEOUT(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期二"), 3000);
        QTRY_VERIFY(DaySettled(rig));
        QCOMPARE(watch.visits, 1);
    }

    void doubleClickClosesTheTips_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("window") << QStringLiteral("panelPicture");
        QTest::newRow("heading_label") << QStringLiteral("heading_label");
    }

    void doubleClickClosesTheTips()
    {
        QFETCH(QString, target);
        CalendarRig rig(Morning(QDate(2006, 12, 25)));
        bool closed = false;
        // The pointer stands away from where the user double-clicks: a
        // double-click where it stood as the window opened would be taken for
        // the end of the one that opened it.
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        ModalWatch watch(QStringLiteral("todays_tips_window"), [&](QDialog *tips) {
            QTest::mouseDClick(RequireChild<QWidget>(*tips, target), Qt::LeftButton, {}, QPoint(8, 8));
            closed = !tips->isVisible();
        });
        rig.Load();
        QTRY_COMPARE(watch.visits, 1);
        QVERIFY(closed);
    }

    void tipsWithTheOptionOffStillOpenFromTheCalendar()
    {
        CalendarRig rig(Morning(QDate(2006, 12, 25)));
        rig.settings.todayTips = false;
        TipsSeen tips;
        const auto watch = WatchTips(tips);
        ModalWatch calendar(QStringLiteral("calendar_window"), [&](QDialog *window) {
            auto *festivalLine = window->findChild<QLabel *>(QStringLiteral("festival_line"));
            QTRY_COMPARE(festivalLine->text(), QStringLiteral(" ☆圣诞节"));
            QTest::mouseDClick(festivalLine, Qt::LeftButton);
        });
        rig.Load();
        QTRY_VERIFY(DaySettled(rig));
        QCOMPARE(tips.count, 0);

        QTest::keyRelease(rig.window.get(), Qt::Key_F10);
        QCOMPARE(tips.count, 1);
        QVERIFY(tips.dontShowTicked);
        QCOMPARE(tips.text, QStringLiteral("  今天是: ☆圣诞节"));
        // Closing the calendar on a festival day with the option off opens nothing.
        QTRY_VERIFY(DaySettled(rig));
        QCOMPARE(tips.count, 1);
    }

    void closingTheCalendarOnAFestivalDayShowsTheTips()
    {
        CalendarRig rig(Morning(QDate(2006, 12, 25)));
        TipsSeen tips;
        const auto watch = WatchTips(tips);
        rig.Load();
        QTRY_COMPARE(tips.count, 1);

        ModalWatch calendar(QStringLiteral("calendar_window"), [&](QDialog *) { QTRY_VERIFY(DaySettled(rig)); });
        QTest::keyRelease(rig.window.get(), Qt::Key_F10);
        QTRY_COMPARE(tips.count, 2);
        QCOMPARE(tips.caption, QStringLiteral("今日提示:2006-12-25(冬月初六)"));
    }

    void midnightIntoAFestivalReplacesTheDecorations()
    {
        CalendarRig rig(QDateTime(QDate(2006, 10, 1), QTime(23, 59, 59)));
        TipsSeen tips;
        const auto watch = WatchTips(tips);
        rig.Load();
        QTRY_COMPARE(tips.count, 1);
        QVERIFY(rig.Control(QStringLiteral("national_day_animation"))->isVisible());

        rig.now = QDateTime(QDate(2006, 10, 2), QTime(0, 0, 0));
        QTRY_COMPARE_WITH_TIMEOUT(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期一"), 3000);
        QCOMPARE(ShownOf(rig, OverlayControls), QStringList{});
        QVERIFY(!rig.Control<AnimatedPicture>(QStringLiteral("national_day_animation"))->IsRunning());
        QTRY_COMPARE(tips.count, 2);
        QCOMPARE(tips.text, QStringLiteral("  今天是: ☆世界人居(住房)日"));
    }

    void optionsReloadPutsTheGreetingsUpAgain()
    {
        CalendarRig rig(Morning(QDate(2006, 12, 25)));
        rig.settings.todayTips = false;
        rig.Load();
        rig.effectPlayer.calls.clear();

        rig.window->ForgetToday();
        QTRY_COMPARE_WITH_TIMEOUT(rig.effectPlayer.calls.mid(0, 2),
                                  (QStringList{QStringLiteral("stop"), QStringLiteral("close")}), 3000);
        QCOMPARE(ShownOf(rig, OverlayControls), (QStringList{QStringLiteral("christmas_tree_animation"), QStringLiteral("christmas_bells_animation")}));
        QVERIFY(rig.Control<AnimatedPicture>(QStringLiteral("christmas_tree_animation"))->IsRunning());
    }

    void aTipsWindowLeftOpenClosesAtMidnight()
    {
        CalendarRig rig(QDateTime(QDate(2006, 12, 25), QTime(23, 59, 59)));
        bool closedByMidnight = false;
        ModalWatch watch(QStringLiteral("todays_tips_window"), [&](QDialog *tips) {
            if (rig.now.date() != QDate(2006, 12, 25))
                return;
            rig.now = QDateTime(QDate(2006, 12, 26), QTime(0, 0, 0));
            QTRY_VERIFY_WITH_TIMEOUT(!tips->isVisible(), 3000);
            closedByMidnight = true;
        });
        rig.Load();
        QTRY_VERIFY_WITH_TIMEOUT(closedByMidnight, 3000);
        QTRY_COMPARE(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期二"));
    }

    // Midnight into a festival day closes the options window, whose music
    // box the day change has made stale, before the tips open.
    void tipsAtMidnightCloseTheOptionsFirst()
    {
        CalendarRig rig(QDateTime(QDate(2006, 3, 11), QTime(23, 59, 59)));
        OptionsServices services;
        services.dialogs = &rig.dialogs;
        services.effects = &rig.effects;
        services.programFolder = rig.folder.path();
        services.openWebPage = [] {};
        ConnectOptionsCommand(*rig.window, *rig.music, rig.settings, services);
        rig.Load();
        TipsSeen tips;
        const auto tipsWatch = WatchTips(tips);
        int tipsBeforeOptionsClosed = -1;
        ModalWatch options(QStringLiteral("options_window"), [&](QDialog *window) {
            rig.now = QDateTime(QDate(2006, 3, 12), QTime(0, 0, 0));
            QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 3000);
            tipsBeforeOptionsClosed = tips.count;
        });
        QTest::keyRelease(rig.window.get(), Qt::Key_F4);

        QCOMPARE(options.visits, 1);
        QCOMPARE(tipsBeforeOptionsClosed, 0);
        QTRY_COMPARE_WITH_TIMEOUT(tips.count, 1, 3000);
        QVERIFY(tips.text.contains(QStringLiteral("植树节")));
    }

    // Lines break only between entries; the blank before a moved entry goes.
    void entriesArePackedWhole_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("widest");
        QTest::addColumn<QStringList>("lines");
        const QStringList july{QStringLiteral("  今天是:"), QStringLiteral(" ★龙晒衣"), QStringLiteral(" ☆中国共产党建党日"),
                               QStringLiteral(" ☆香港回归纪念日")};
        QTest::newRow("one line") << july << july.join(QString()) << QStringList{july.join(QString())};
        QTest::newRow("two lines")
            << july << QStringLiteral("  今天是: ★龙晒衣 ☆中国共产党建党日")
            << QStringList{QStringLiteral("  今天是: ★龙晒衣 ☆中国共产党建党日"), QStringLiteral("☆香港回归纪念日")};
        QTest::newRow("a name wider than the line stays whole")
            << QStringList{QStringLiteral("  今天是:"), QStringLiteral(" ☆世界人居(住房)日")} << QStringLiteral("世界人居")
            << QStringList{QStringLiteral("  今天是:"), QStringLiteral("☆世界人居(住房)日")};
    }

    void entriesArePackedWhole()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, widest);
        QFETCH(QStringList, lines);
        const QFontMetrics metrics(SerifFont(15));
        QCOMPARE(PackEntries(entries, metrics, metrics.horizontalAdvance(widest)), lines);
    }

    // The tips text keeps every festival name on one line and fits its box.
    void tipsTextBreaksOnlyBetweenFestivals_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("2006-07-01") << QDate(2006, 7, 1)
                                    << QStringLiteral("  今天是: ★龙晒衣 ☆中国共产党建党日 ☆香港回归纪念日");
        QTest::newRow("2006-10-02") << QDate(2006, 10, 2) << QStringLiteral("  今天是: ☆世界人居(住房)日");
        QTest::newRow("2020-10-01") << QDate(2020, 10, 1) << QStringLiteral("  今天是: ★中秋节 ☆国庆节");
    }

    void tipsTextBreaksOnlyBetweenFestivals()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        Settings settings;
        TodaysTipsWindow tips(EvaluateSelectedDate(date, date, true), settings, nullptr);
        auto *label = RequireChild<EntryLinesLabel>(tips, QStringLiteral("tips_label"));
        QVERIFY(label);
        QCOMPARE(label->text(), text);

        const EntryLinesLabel::Lines lines = label->LaidOutLines();
        const QFontMetrics metrics(lines.font);
        QVERIFY(lines.font.pixelSize() >= 13);
        QVERIFY(lines.texts.size() * metrics.lineSpacing() <= label->contentsRect().height());
        for (const QString &line : lines.texts)
            QVERIFY2(metrics.horizontalAdvance(line) <= label->contentsRect().width(), qPrintable(line));
        QCOMPARE(lines.texts.join(QLatin1Char(' ')).simplified(), text.simplified());
        for (const QString &name : text.split(QRegularExpression(QStringLiteral("[ :★☆]+")), Qt::SkipEmptyParts)) {
            const bool whole = std::any_of(lines.texts.cbegin(), lines.texts.cend(),
                                           [&name](const QString &line) { return line.contains(name); });
            QVERIFY2(whole, qPrintable(name));
        }
    }

    // The tips window shows the picture of the day's festival group.
    void tipsPictureFitsTheFestival_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<TipsPictureGroup>("group");
        QTest::newRow("国庆节") << QDate(2006, 10, 1) << TipsPictureGroup::National;
        QTest::newRow("圣诞节") << QDate(2006, 12, 25) << TipsPictureGroup::Christmas;
        QTest::newRow("植树节") << QDate(2006, 3, 12) << TipsPictureGroup::Nature;
        QTest::newRow("春节") << QDate(2006, 1, 29) << TipsPictureGroup::SpringFestival;
    }

    void tipsPictureFitsTheFestival()
    {
        QFETCH(QDate, date);
        QFETCH(TipsPictureGroup, group);
        Settings settings;
        TodaysTipsWindow tips(EvaluateSelectedDate(date, date, true), settings, nullptr);
        auto *picture = RequireChild<PictureLabel>(tips, QStringLiteral("festival_picture"));
        QVERIFY(picture);
        QCOMPARE(picture->Picture().toImage(),
                 TipsPicture(group).scaled(84, 105, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    // Each festival group's names are spelled as the evaluation writes them:
    // across two years every group is met.
    void everyTipsPictureGroupIsMet()
    {
        QSet<TipsPictureGroup> met;
        for (QDate date(2020, 1, 1); date <= QDate(2021, 12, 31); date = date.addDays(1)) {
            const DateEvaluation evaluation = EvaluateSelectedDate(date, date, true);
            QStringList entries;
            for (const QString &token :
                 (evaluation.lunarFestivalText + evaluation.gregorianFestivalText).split(QLatin1Char(' '))) {
                if (token.startsWith(u'★') || token.startsWith(u'☆'))
                    entries << QLatin1Char(' ') + token;
            }
            if (!entries.isEmpty())
                met << TipsPictureGroupOf(entries);
        }
        QCOMPARE(met.size(), int(TipsPictureGroup::Traditional) + 1);
    }

    void tipsCaptionHasBracketsOnlyAroundALunarText_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("caption");
        QTest::newRow("lunar") << QDate(2006, 1, 29) << QStringLiteral("今日提示:2006-1-29(正月初一)");
        QTest::newRow("out of the lunar range") << QDate(1900, 1, 1) << QStringLiteral("今日提示:1900-1-1");
    }

    void tipsCaptionHasBracketsOnlyAroundALunarText()
    {
        QFETCH(QDate, date);
        QFETCH(QString, caption);
        Settings settings;
        TodaysTipsWindow tips(EvaluateSelectedDate(date, date, true), settings, nullptr);
        QCOMPARE(tips.windowTitle(), caption);
    }
};

QTEST_MAIN(FestivalGreetingsTest)
#include "test_festival_greetings.moc"
