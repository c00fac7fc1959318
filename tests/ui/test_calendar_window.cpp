#include "calendar/date_evaluation.h"
#include "calendar_rig.h"
#include "core/date_text.h"
#include "support/require_child.h"
#include "ui/art/calendar_art.h"
#include "ui/widgets/music_toggle_box.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/calendar_window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBoundaryFinder>

namespace {

// Stands in for the main window: records what the calendar window asks of
// it; the test runs the cell filling and the evaluation itself.
class FakeHost final : public CalendarHost {
public:
    explicit FakeHost(QDate fixedToday)
        : today(fixedToday)
    {
    }

    QDate Today() const override { return today; }
    void SelectDate(QDate date) override { selected << date; }
    void SetCalendarWindowOpen(bool open) override { windowOpen = open; }
    void ShowClockText(const QString &text) override { clockText = text; }
    void StartCellFilling() override { ++fillingStarts; }
    QDateTime Now() const override { return QDateTime(today, QTime(9, 30), Qt::UTC); }
    void ShowMessage(QWidget *, const QString &text, bool warning) override
    {
        messages << (warning ? QStringLiteral("warning: ") : QString()) + text;
    }

    QDate today;
    QList<QDate> selected;
    bool windowOpen = false;
    QString clockText;
    int fillingStarts = 0;
    QStringList messages;
};

// A calendar window opened on `today`, with its cells filled and the
// selected day evaluated as the main window's timers would.
struct CalendarWindowRig {
    explicit CalendarWindowRig(QDate today)
        : host(today)
        , window(host, nullptr)
    {
        window.show();
        Settle();
    }

    void Settle()
    {
        window.FillCells();
        window.ShowSelectedDayInfo(EvaluateSelectedDate(host.selected.last(), host.today, true));
    }

    template <typename T = QWidget>
    T *Control(const QString &name) const
    {
        return RequireChild<T>(window, name);
    }

    // Cells 0..30 are the numbers of days 1..31, 31..61 the lunar labels under them.
    QLabel *Cell(int index) const
    {
        return Control<QLabel>(index < 31 ? QStringLiteral("day_number_%1").arg(index + 1)
                                          : QStringLiteral("lunar_label_%1").arg(index - 30));
    }

    void ChooseMonth(int year, int month)
    {
        Control<QComboBox>(QStringLiteral("year_list"))->setCurrentIndex(year - 1900);
        Control<QComboBox>(QStringLiteral("month_list"))->setCurrentIndex(month - 1);
    }

    FakeHost host;
    CalendarWindow window;
};

QColor TextColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

QColor Background(const QWidget *widget)
{
    return widget->palette().color(QPalette::Window);
}

const QColor Highlight(192, 192, 255);

QList<int> HighlightedCells(const CalendarWindowRig &rig)
{
    QList<int> cells;
    for (int i = 0; i < 62; ++i) {
        if (Background(rig.Cell(i)) == Highlight)
            cells << i;
    }
    return cells;
}

bool Shown(const CalendarWindowRig &rig, const QString &name)
{
    return rig.Control(name)->isVisibleTo(&rig.window);
}

// Makes `dataHome` the user's data folder, until the test sets it back, and
// writes `text` there as holidays.txt.
bool WriteUserHolidayFile(const QTemporaryDir &dataHome, const QByteArray &text)
{
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    QFile file(UserHolidayFilePath());
    return QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

class CalendarWindowTest : public QObject {
    Q_OBJECT

private slots:
    void openingSelectsToday()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));

        QVERIFY(rig.host.windowOpen);
        QCOMPARE(rig.host.selected, (QList<QDate>{QDate(2006, 7, 16), QDate(2006, 7, 16)}));
        QCOMPARE(rig.host.clockText, QStringLiteral("☆万年历选择的日期 2006年7月16日"));
        QCOMPARE(rig.window.objectName(), QStringLiteral("calendar_window"));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("所选公历日期:2006年7月16日"));

        auto *years = rig.Control<QComboBox>(QStringLiteral("year_list"));
        QCOMPARE(years->count(), 201);
        QCOMPARE(years->itemText(0), QStringLiteral(" 1900"));
        QCOMPARE(years->itemText(200), QStringLiteral(" 2100"));
        QCOMPARE(years->currentText(), QStringLiteral(" 2006"));
        auto *months = rig.Control<QComboBox>(QStringLiteral("month_list"));
        QCOMPARE(months->count(), 12);
        QCOMPARE(months->currentText(), QStringLiteral("7"));

        QCOMPARE(HighlightedCells(rig), (QList<int>{15, 46}));
        QCOMPARE(rig.Control<QGroupBox>(QStringLiteral("day_panel"))->title(), QStringLiteral("今天信息"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("long_date_label"))->text(), QStringLiteral("公元:2006年7月16日"));
        auto *weekday = rig.Control<QLabel>(QStringLiteral("weekday_label"));
        QCOMPARE(weekday->text(), QStringLiteral("星期日"));
        QCOMPARE(TextColour(weekday), QColor(255, 0, 0));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("range_note"))->text(),
                 QStringLiteral("提示:本日历农历查询界限为1900年1月31日至2100年12月31日"));
        QCOMPARE(rig.Control(QStringLiteral("close_button"))->toolTip(), QStringLiteral("关闭 F12"));
    }

    void headerMarksTheWeekend()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        const QStringList names{QStringLiteral("日"), QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六")};
        for (int column = 0; column < 7; ++column) {
            auto *header = rig.Control<QLabel>(QStringLiteral("weekday_header_%1").arg(column));
            QCOMPARE(header->text(), names[column]);
            if (column > 0)
                QVERIFY(header->x() > rig.Control(QStringLiteral("weekday_header_%1").arg(column - 1))->x());
        }
        QCOMPARE(TextColour(rig.Control(QStringLiteral("weekday_header_0"))), QColor(255, 0, 0));
        QCOMPARE(TextColour(rig.Control(QStringLiteral("weekday_header_6"))), QColor(0, 128, 0));
    }

    void monthStartingOnSaturdayUsesSixRows()
    {
        // July 2006 begins on a Saturday and has 31 days.
        CalendarWindowRig rig(QDate(2006, 7, 16));
        const QLabel *first = rig.Cell(0);
        const int rowStep = rig.Cell(1)->y() - first->y();
        QVERIFY(rowStep > 0);
        QCOMPARE(first->x(), rig.Control(QStringLiteral("weekday_header_6"))->x());
        QCOMPARE(rig.Cell(1)->x(), rig.Control(QStringLiteral("weekday_header_0"))->x());
        QCOMPARE(rig.Cell(30)->x(), rig.Control(QStringLiteral("weekday_header_1"))->x());
        QCOMPARE(rig.Cell(30)->y() - first->y(), 5 * rowStep);
        for (int i = 0; i < 31; ++i) {
            QVERIFY(rig.Cell(i)->isVisibleTo(&rig.window));
            QCOMPARE(rig.Cell(i + 31)->pos(), rig.Cell(i)->pos() + QPoint(0, rig.Cell(i)->height()));
        }
        // 07-01 keeps the red of 建党日; other Saturdays are green.
        QCOMPARE(TextColour(first), QColor(255, 0, 0));
        QCOMPARE(TextColour(rig.Cell(7)), QColor(0, 128, 0));
        QCOMPARE(TextColour(rig.Cell(1)), QColor(255, 0, 0));
    }

    void february2006()
    {
        CalendarWindowRig rig(QDate(2006, 2, 10));
        for (int i = 0; i < 31; ++i) {
            QCOMPARE(rig.Cell(i)->isVisibleTo(&rig.window), i < 28);
            QCOMPARE(rig.Cell(i + 31)->isVisibleTo(&rig.window), i < 28);
        }
        QCOMPARE(rig.Cell(0)->x(), rig.Control(QStringLiteral("weekday_header_3"))->x());

        // 2006-02-04, a Saturday: 立春 in bold dark blue over the lunar day.
        QLabel *term = rig.Cell(34);
        QCOMPARE(term->text(), QStringLiteral("立春"));
        QVERIFY(term->font().bold());
        QCOMPARE(TextColour(term), QColor(0, 0, 192));
        QCOMPARE(term->toolTip(), QStringLiteral("立春（2月4日 07:27）"));
        QCOMPARE(TextColour(rig.Cell(3)), QColor(0, 128, 0));
        QCOMPARE(rig.Cell(3)->toolTip(), QStringLiteral("农历:正月初七"));
        QCOMPARE(rig.Cell(49)->text(), QStringLiteral("雨水"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("solar_term_list"))->text(), QStringLiteral("立春：2月4日\n雨水：2月19日"));
        // The first day of a lunar month shows the month, other days the day.
        QCOMPARE(rig.Cell(31 + 27)->text(), QStringLiteral("二月"));
        QCOMPARE(rig.Cell(31 + 12)->text(), QStringLiteral("十六"));
        QVERIFY(!rig.Cell(31 + 12)->font().bold());
    }

    void january2006ShowsTheNewYear()
    {
        CalendarWindowRig rig(QDate(2006, 1, 10));
        QLabel *springFestival = rig.Cell(31 + 28);
        QCOMPARE(springFestival->text(), QStringLiteral("春节"));
        QVERIFY(springFestival->font().bold());
        QCOMPARE(TextColour(springFestival), QColor(255, 0, 0));
        QCOMPARE(TextColour(rig.Cell(28)), QColor(255, 0, 0));
        QCOMPARE(rig.Cell(31 + 27)->text(), QStringLiteral("除夕"));
        QCOMPARE(rig.Cell(31)->text(), QStringLiteral("元旦"));
        QCOMPARE(TextColour(rig.Cell(31)), QColor(0, 0, 255));
        QCOMPARE(TextColour(rig.Cell(0)), QColor(255, 0, 0));
    }

    void nationalDayKeepsItsLabelOnAMonday()
    {
        CalendarWindowRig rig(QDate(2007, 10, 20));
        QCOMPARE(rig.Cell(31)->text(), QStringLiteral("国庆节"));
        rig.ChooseMonth(2006, 10);
        rig.Settle();
        QCOMPARE(rig.Cell(31)->text(), QStringLiteral("国庆节"));
        QCOMPARE(rig.Cell(32)->text(), QStringLiteral("住房日"));
    }

    void clickingADayOrItsLabelSelectsIt_data()
    {
        QTest::addColumn<int>("cell");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("weekday");
        QTest::addColumn<QColor>("weekdayColour");
        QTest::newRow("day number") << 9 << QDate(2006, 7, 10) << QStringLiteral("星期一") << QColor(Qt::black);
        QTest::newRow("lunar label") << 31 + 21 << QDate(2006, 7, 22) << QStringLiteral("星期六")
                                     << QColor(0, 128, 0);
    }

    void clickingADayOrItsLabelSelectsIt()
    {
        QFETCH(int, cell);
        QFETCH(QDate, date);
        QFETCH(QString, weekday);
        QFETCH(QColor, weekdayColour);

        CalendarWindowRig rig(QDate(2006, 7, 16));
        QTest::mouseClick(rig.Cell(cell), Qt::LeftButton);

        QCOMPARE(rig.host.selected.last(), date);
        const int day = date.day() - 1;
        QCOMPARE(HighlightedCells(rig), (QList<int>{day, day + 31}));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("所选公历日期:") + date.toString(QStringLiteral("yyyy年M月d日")));
        QCOMPARE(rig.host.clockText, QStringLiteral("☆万年历选择的日期 ") + date.toString(QStringLiteral("yyyy年M月d日")));
        QCOMPARE(rig.Control<QGroupBox>(QStringLiteral("day_panel"))->title(), QStringLiteral("所选日期信息"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("weekday_label"))->text(), weekday);
        QCOMPARE(TextColour(rig.Control(QStringLiteral("weekday_label"))), weekdayColour);
        // The panel waits for the evaluation.
        QVERIFY(!Shown(rig, QStringLiteral("day_panel")));
        rig.Settle();
        QVERIFY(Shown(rig, QStringLiteral("day_panel")));
        QCOMPARE(rig.window.focusWidget(), rig.Control(QStringLiteral("focus_sink")));
    }

    void rememberedDayFallsBackWhereTheMonthIsShort()
    {
        CalendarWindowRig rig(QDate(2006, 3, 31));
        const qsizetype before = rig.host.selected.size();

        rig.ChooseMonth(2006, 4);
        QCOMPARE(rig.host.selected.size(), before);
        QVERIFY(!Shown(rig, QStringLiteral("day_panel")));
        QVERIFY(!rig.Cell(30)->isVisibleTo(&rig.window));

        rig.ChooseMonth(2006, 5);
        QCOMPARE(rig.host.selected.size(), before + 1);
        QCOMPARE(rig.host.selected.last(), QDate(2006, 5, 30));
        QCOMPARE(HighlightedCells(rig), (QList<int>{29, 60}));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("所选公历日期:2006年5月30日"));
    }

    void changingTheYearKeepsTheMonthAndDay()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        rig.Control<QComboBox>(QStringLiteral("year_list"))->setCurrentIndex(2008 - 1900);
        QCOMPARE(rig.host.selected.last(), QDate(2008, 7, 16));
        rig.Settle();
        QCOMPARE(rig.Cell(0)->x(), rig.Control(QStringLiteral("weekday_header_2"))->x());
    }

    void panelDescribesTheSelectedDay()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("lunar_date_label"))->text(), QStringLiteral("六月廿一"));
        auto *year = rig.Control<QLabel>(QStringLiteral("lunar_year_label"));
        QCOMPARE(year->text(), QStringLiteral("丙戌(狗)年"));
        QCOMPARE(year->toolTip(), QStringLiteral("年月干支按照农历月(未按节气)划分"));
        auto *pillars = rig.Control<QLabel>(QStringLiteral("month_day_pillars_label"));
        QCOMPARE(pillars->text(), QStringLiteral("乙未月丙午日"));
        QCOMPARE(pillars->toolTip(), year->toolTip());
        auto *zodiac = rig.Control<PictureLabel>(QStringLiteral("zodiac_picture"));
        QCOMPARE(zodiac->toolTip(), QStringLiteral("丙戌(狗)年[屋上土]"));
        QCOMPARE(zodiac->Picture().toImage(), ZodiacPicture(11));
        auto *sign = rig.Control<PictureLabel>(QStringLiteral("star_sign_picture"));
        QCOMPARE(sign->toolTip(), QStringLiteral("本日星座:巨蟹座"));
        QCOMPARE(sign->Picture().toImage(), StarSignPicture(4));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("star_sign_name"))->text(), QStringLiteral("巨蟹座"));
        for (const char *part : {"lunar_year_label", "month_day_pillars_label", "lunar_date_label", "lunar_caption",
                                 "zodiac_picture", "day_panel"})
            QVERIFY2(Shown(rig, QString::fromLatin1(part)), part);

        // Without a solar term the festival line takes the term line's place.
        auto *termLine = rig.Control<QLabel>(QStringLiteral("solar_term_line"));
        auto *festivalLine = rig.Control<QLabel>(QStringLiteral("festival_line"));
        QCOMPARE(termLine->text(), QString());
        QCOMPARE(festivalLine->y(), termLine->y());

        QTest::mouseClick(rig.Cell(6), Qt::LeftButton);
        rig.Settle();
        QCOMPARE(termLine->text(), QStringLiteral("今日小暑"));
        QCOMPARE(termLine->toolTip(), QStringLiteral("今日小暑（7月7日 13:51）"));
        QVERIFY(festivalLine->y() > termLine->y());

        QTest::mouseClick(rig.Cell(0), Qt::LeftButton);
        rig.Settle();
        QCOMPARE(festivalLine->text(), QStringLiteral(" ★龙晒衣 ☆中国共产党建党日 ☆香港回归纪念日"));
    }

    void outOfRangeDaysShowNoLunarPart()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        rig.ChooseMonth(1900, 1);
        QTest::mouseClick(rig.Cell(0), Qt::LeftButton);
        rig.Settle();

        QCOMPARE(rig.host.selected.last(), QDate(1900, 1, 1));
        QVERIFY(Shown(rig, QStringLiteral("day_panel")));
        for (const char *part :
             {"lunar_year_label", "month_day_pillars_label", "lunar_date_label", "lunar_caption", "zodiac_picture"})
            QVERIFY2(!Shown(rig, QString::fromLatin1(part)), part);
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("festival_line"))->text(), QStringLiteral(" ☆元旦"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("star_sign_name"))->text(), QStringLiteral("摩羯座"));
        QCOMPARE(rig.Cell(31 + 1)->text(), QString());
        QCOMPARE(rig.Cell(1)->toolTip(), QString());
        QCOMPARE(rig.Cell(31 + 30)->text(), QStringLiteral("春节"));
    }

    // The far end of the range: February 2099 with its lunar labels, 立春 on
    // the 3rd at 21:09, and the last day of 2100 still described.
    void showsTheLastCentury()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        rig.ChooseMonth(2099, 2);
        rig.Settle();
        QCOMPARE(rig.Cell(31 + 2)->text(), QStringLiteral("立春"));
        QCOMPARE(rig.Cell(31 + 2)->toolTip(), QStringLiteral("立春（2月3日 21:09）"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("solar_term_list"))->text(), QStringLiteral("立春：2月3日\n雨水：2月18日"));
        QVERIFY(!rig.Cell(2)->toolTip().isEmpty());

        rig.ChooseMonth(2100, 12);
        QTest::mouseClick(rig.Cell(30), Qt::LeftButton);
        rig.Settle();
        QCOMPARE(rig.host.selected.last(), QDate(2100, 12, 31));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("lunar_date_label"))->text(), QStringLiteral("腊月初一"));
        QVERIFY(Shown(rig, QStringLiteral("lunar_year_label")));
    }

    // The export command saves the shown year through a Chinese save dialog;
    // the chosen filter adds the lunar date of every day.
    void exportsTheShownYear()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        rig.ChooseMonth(2099, 2);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("万年历.ics"));
        QString title;
        ModalWatch watch(QStringLiteral("export_dialog"), [&](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            title = files->windowTitle();
            files->selectNameFilter(files->nameFilters().last());
            files->selectFile(path);
            dialog->accept();
        });
        QTest::mouseClick(rig.Control<QPushButton>(QStringLiteral("export_year_button")), Qt::LeftButton);
        QCOMPARE(watch.visits, 1);
        QCOMPARE(title, QStringLiteral("导出2099年的万年历"));
        QCOMPARE(rig.host.messages,
                 QStringList{QStringLiteral("已将2099年的万年历导出到:\n") + QDir::toNativeSeparators(path)});

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ics = file.readAll();
        QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\n"));
        QCOMPARE(ics.count("BEGIN:VEVENT\r\nUID:2099"), ics.count("BEGIN:VEVENT"));
        QVERIFY(ics.contains("UID:20990203-term@ravezaz\r\n"));
        QVERIFY(ics.contains("UID:20990101-lunar-day@ravezaz\r\n"));
        QVERIFY(ics.contains("UID:20991231-lunar-day@ravezaz\r\n"));
        QVERIFY(ics.contains("DTSTAMP:20060716T093000Z\r\n"));
    }

    void exportToAnUnwritablePlaceSaysSo()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("no such folder/2006.ics"));
        ModalWatch watch(QStringLiteral("export_dialog"), [&](QDialog *dialog) {
            auto *files = qobject_cast<QFileDialog *>(dialog);
            files->selectFile(path);
            dialog->accept();
        });
        QTest::mouseClick(rig.Control<QPushButton>(QStringLiteral("export_year_button")), Qt::LeftButton);
        QCOMPARE(rig.host.messages.size(), 1);
        QVERIFY(rig.host.messages.first().startsWith(QStringLiteral("warning: 无法写入日历文件:\n")));
        QVERIFY(rig.host.messages.first().endsWith(QStringLiteral("no such folder/2006.ics")));
        QVERIFY(!QFile::exists(path));
    }

    void goToTodayComesBackFromAnotherMonth()
    {
        CalendarWindowRig rig(QDate(2006, 1, 31));
        rig.ChooseMonth(2005, 2);
        rig.Settle();

        QTest::mouseClick(rig.Control(QStringLiteral("today_link")), Qt::LeftButton);
        rig.Settle();

        QCOMPARE(rig.host.selected.last(), QDate(2006, 1, 31));
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("year_list"))->currentText(), QStringLiteral(" 2006"));
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("month_list"))->currentText(), QStringLiteral("1"));
        QCOMPARE(HighlightedCells(rig), (QList<int>{30, 61}));
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("今天公历日期:2006年1月31日"));
        QCOMPARE(rig.Control<QGroupBox>(QStringLiteral("day_panel"))->title(), QStringLiteral("今天信息"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("long_date_label"))->text(), QStringLiteral("公元:2006年1月31日"));
        QCOMPARE(rig.host.clockText, QStringLiteral("☆万年历选择的日期 2006-1-31"));
        QVERIFY(rig.Cell(30)->isVisibleTo(&rig.window));

        // The next change of month starts again from today's day.
        rig.ChooseMonth(2006, 3);
        QCOMPARE(rig.host.selected.last(), QDate(2006, 3, 31));
    }

    void goToTodayInTheShownMonthWritesTheShortDate()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        QTest::mouseClick(rig.Cell(2), Qt::LeftButton);
        QTest::mouseClick(rig.Control(QStringLiteral("today_link")), Qt::LeftButton);
        QCOMPARE(rig.host.selected.last(), QDate(2006, 7, 16));
        QCOMPARE(rig.host.clockText, QStringLiteral("☆万年历选择的日期 2006-7-16"));
        QCOMPARE(HighlightedCells(rig), (QList<int>{15, 46}));
    }

    void todayLinkTurnsRedUnderTheMouse()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        auto *link = rig.Control<QLabel>(QStringLiteral("today_link"));
        QCOMPARE(link->text(), QStringLiteral("今天"));
        QCOMPARE(TextColour(link), QColor(0, 0, 128));

        QTest::mouseMove(link, link->rect().center());
        QTRY_COMPARE(TextColour(link), QColor(255, 0, 0));
        QCOMPARE(link->toolTip(), QStringLiteral("今天是:2006年7月16日"));

        auto *area = rig.Control<QLabel>(QStringLiteral("today_link_area"));
        QTest::mouseMove(area, QPoint(2, 2));
        QTRY_COMPARE(TextColour(link), QColor(0, 0, 128));
    }

    void resetRedrawsTheShownMonth()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        const int starts = rig.host.fillingStarts;
        QTest::mouseClick(rig.Control(QStringLiteral("reset_button")), Qt::LeftButton);

        QCOMPARE(rig.host.fillingStarts, starts + 1);
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("农历查询"));
        QCOMPARE(rig.Control<QGroupBox>(QStringLiteral("day_panel"))->title(), QStringLiteral("所选日期信息"));
        QCOMPARE(HighlightedCells(rig), QList<int>{});
        QCOMPARE(rig.Cell(31 + 15)->text(), QString());
        rig.window.FillCells();
        QCOMPARE(rig.Cell(31 + 15)->text(), QStringLiteral("廿一"));
    }

    void closingSelectsTodayAgain_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("F12") << true;
        QTest::newRow("关闭") << false;
    }

    void closingSelectsTodayAgain()
    {
        QFETCH(bool, byKey);
        CalendarWindowRig rig(QDate(2006, 7, 16));
        QTest::mouseClick(rig.Cell(2), Qt::LeftButton);
        rig.Settle();
        if (byKey)
            QTest::keyRelease(&rig.window, Qt::Key_F12);
        else
            QTest::mouseClick(rig.Control(QStringLiteral("close_button")), Qt::LeftButton);

        QVERIFY(!rig.window.isVisible());
        QVERIFY(!rig.host.windowOpen);
        QCOMPARE(rig.host.selected.last(), QDate(2006, 7, 16));
    }

    void f12WaitsForThePanel()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        QTest::mouseClick(rig.Cell(2), Qt::LeftButton);
        QTest::keyRelease(&rig.window, Qt::Key_F12);
        QVERIFY(rig.window.isVisible());
        rig.Settle();
        QTest::keyRelease(&rig.window, Qt::Key_F12);
        QVERIFY(!rig.window.isVisible());
    }

    void doubleClickOnTheFestivalLineAsksForTips()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        QSignalSpy tips(&rig.window, &CalendarWindow::TodaysTipsRequested);
        auto *festivalLine = rig.Control(QStringLiteral("festival_line"));

        QTest::mouseDClick(festivalLine, Qt::LeftButton);
        QCOMPARE(tips.count(), 0);

        QTest::mouseClick(rig.Cell(0), Qt::LeftButton);
        rig.Settle();
        QTest::mouseDClick(festivalLine, Qt::LeftButton);
        QCOMPARE(tips.count(), 1);
        QCOMPARE(tips.first().first().value<DateEvaluation>().lunarFestivalText, QStringLiteral(" ★龙晒衣"));
    }

    void panelAndBackgroundDragTheWindow()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        const QPoint start = rig.window.pos();
        QWidget *handle = rig.Control(QStringLiteral("lunar_year_label"));
        QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(handle, QPoint(45, 25));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(45, 25));
        QTRY_COMPARE(rig.window.pos(), start + QPoint(40, 20));
    }

    // A clock outside the calendar's range opens the nearest listed day in
    // a whole, correctly laid out month, and the note under the grid says so.
    void clockOutsideTheRangeOpensOnTheNearestDay_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("shown");
        QTest::addColumn<QString>("note");
        QTest::newRow("after 2100") << QDate(2150, 5, 1) << QDate(2100, 12, 31)
                                    << QStringLiteral("提示:今天(2150年5月1日)超出本日历的查询界限1900年1月31日至2100年12月31日");
        QTest::newRow("before 1900") << QDate(1850, 3, 2) << QDate(1900, 1, 1)
                                     << QStringLiteral("提示:今天(1850年3月2日)超出本日历的查询界限1900年1月31日至2100年12月31日");
        QTest::newRow("before the lunar range") << QDate(1900, 1, 15) << QDate(1900, 1, 15)
                                                << QStringLiteral("提示:今天(1900年1月15日)超出本日历的查询界限1900年1月31日至2100年12月31日");
    }

    void clockOutsideTheRangeOpensOnTheNearestDay()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, shown);
        QFETCH(QString, note);
        CalendarWindowRig rig(today);

        QCOMPARE(rig.host.selected.last(), shown);
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("year_list"))->currentText(),
                 QLatin1Char(' ') + QString::number(shown.year()));
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("month_list"))->currentText(), QString::number(shown.month()));
        const int days = shown.daysInMonth();
        const int firstColumn = QDate(shown.year(), shown.month(), 1).dayOfWeek() % 7;
        QCOMPARE(rig.Cell(0)->x(), rig.Control(QStringLiteral("weekday_header_%1").arg(firstColumn))->x());
        for (int i = 0; i < 31; ++i)
            QCOMPARE(rig.Cell(i)->isVisibleTo(&rig.window), i < days);
        QCOMPARE(HighlightedCells(rig), (QList<int>{shown.day() - 1, shown.day() + 30}));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("long_date_label"))->text(),
                 QStringLiteral("公元:") + LongDateText(shown));
        auto *rangeNote = rig.Control<QLabel>(QStringLiteral("range_note"));
        QCOMPARE(rangeNote->text(), note);
        QCOMPARE(TextColour(rangeNote), QColor(192, 0, 0));
        QVERIFY(rangeNote->fontMetrics().horizontalAdvance(note) <= rangeNote->width());

        // The link to today comes back to the same day.
        rig.ChooseMonth(2006, 7);
        QTest::mouseClick(rig.Control(QStringLiteral("today_link")), Qt::LeftButton);
        QCOMPARE(rig.host.selected.last(), shown);
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("year_list"))->currentText(),
                 QLatin1Char(' ') + QString::number(shown.year()));
        QCOMPARE(HighlightedCells(rig), (QList<int>{shown.day() - 1, shown.day() + 30}));
    }

    // Today keeps its frame whatever day is selected, and only in its own month.
    void todayStaysMarked()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        auto *marker = rig.Control<QLabel>(QStringLiteral("today_marker"));
        const auto markedToday = [&] {
            return marker->isVisibleTo(&rig.window) && marker->geometry().contains(rig.Cell(15)->geometry()) &&
                   marker->geometry().contains(rig.Cell(15 + 31)->geometry()) &&
                   !marker->geometry().intersects(rig.Cell(16)->geometry());
        };
        QVERIFY(markedToday());

        QTest::mouseClick(rig.Cell(2), Qt::LeftButton);
        QCOMPARE(HighlightedCells(rig), (QList<int>{2, 33}));
        QVERIFY(markedToday());

        rig.ChooseMonth(2006, 8);
        QVERIFY(!marker->isVisibleTo(&rig.window));
        rig.ChooseMonth(2007, 7);
        QVERIFY(!marker->isVisibleTo(&rig.window));
        rig.ChooseMonth(2006, 7);
        QVERIFY(markedToday());

        QTest::mouseClick(rig.Control(QStringLiteral("reset_button")), Qt::LeftButton);
        QVERIFY(markedToday());
        // Clicks on today's cells reach them through the frame.
        QCOMPARE(rig.window.childAt(rig.Cell(15)->mapTo(&rig.window, QPoint(1, 1))), rig.Cell(15));
    }

    // The year list opens as a short scrolling list around the chosen year,
    // not as a pop-up the height of the screen.
    void yearListOpensAroundTheChosenYear()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        auto *years = rig.Control<QComboBox>(QStringLiteral("year_list"));
        years->showPopup();
        QAbstractItemView *list = years->view();
        QTRY_VERIFY(list->isVisible());
        const int row = list->sizeHintForRow(0);
        QVERIFY2(list->height() >= 10 * row && list->height() <= 13 * row, qPrintable(QString::number(list->height())));
        const QRect chosen = list->visualRect(years->model()->index(2006 - 1900, 0));
        QVERIFY2(qAbs(chosen.center().y() - list->viewport()->rect().center().y()) <= row,
                 qPrintable(QString::number(chosen.center().y())));
        years->hidePopup();
    }

    // Digits typed into the year list pick the year, also in its open list;
    // stepping with the arrows keeps the focus in the list.
    void typingDigitsPicksTheYear()
    {
        CalendarWindowRig rig(QDate(2006, 7, 16));
        auto *years = rig.Control<QComboBox>(QStringLiteral("year_list"));
        years->setFocus();

        QTest::keyClicks(years, QStringLiteral("2088"));
        QCOMPARE(years->currentText(), QStringLiteral(" 2088"));
        QCOMPARE(rig.host.selected.last(), QDate(2088, 7, 16));
        // Digits that no year begins with start the typing again.
        QTest::keyClicks(years, QStringLiteral("195"));
        QCOMPARE(years->currentText(), QStringLiteral(" 1950"));

        QTest::keyClick(years, Qt::Key_Down);
        QCOMPARE(years->currentText(), QStringLiteral(" 1951"));
        QCOMPARE(rig.host.selected.last(), QDate(1951, 7, 16));
        QCOMPARE(rig.window.focusWidget(), years);
        QTest::keyClick(years, Qt::Key_Down);
        QCOMPARE(years->currentText(), QStringLiteral(" 1952"));

        years->showPopup();
        QAbstractItemView *list = years->view();
        QTRY_VERIFY(list->isVisible());
        QTest::keyClicks(list, QStringLiteral("2099"));
        QCOMPARE(list->currentIndex().row(), 2099 - 1900);
        QCOMPARE(years->currentText(), QStringLiteral(" 1952"));
        QTest::keyClick(list, Qt::Key_Return);
        QTRY_COMPARE(years->currentText(), QStringLiteral(" 2099"));
        QCOMPARE(rig.host.selected.last(), QDate(2099, 7, 16));
    }

    void pageKeysTurnTheMonthOrTheYear_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("control");
        QTest::addColumn<QDate>("shown");
        const QDate july(2006, 7, 16);
        QTest::newRow("PageDown") << QString() << july << int(Qt::Key_PageDown) << false << QDate(2006, 8, 16);
        QTest::newRow("PageUp") << QString() << july << int(Qt::Key_PageUp) << false << QDate(2006, 6, 16);
        QTest::newRow("Ctrl+PageDown") << QString() << july << int(Qt::Key_PageDown) << true << QDate(2007, 7, 16);
        QTest::newRow("Ctrl+PageUp") << QString() << july << int(Qt::Key_PageUp) << true << QDate(2005, 7, 16);
        QTest::newRow("into the next year") << QString() << QDate(2006, 12, 16) << int(Qt::Key_PageDown) << false
                                            << QDate(2007, 1, 16);
        QTest::newRow("in the year list") << QStringLiteral("year_list") << july << int(Qt::Key_PageDown) << false
                                          << QDate(2006, 8, 16);
        QTest::newRow("in the month list") << QStringLiteral("month_list") << july << int(Qt::Key_PageUp) << true
                                           << QDate(2005, 7, 16);
        QTest::newRow("on a clicked day") << QStringLiteral("focus_sink") << july << int(Qt::Key_PageDown) << true
                                          << QDate(2007, 7, 16);
    }

    void pageKeysTurnTheMonthOrTheYear()
    {
        QFETCH(QString, focus);
        QFETCH(QDate, today);
        QFETCH(int, key);
        QFETCH(bool, control);
        QFETCH(QDate, shown);
        CalendarWindowRig rig(today);
        QWidget *target = focus.isEmpty() ? &rig.window : rig.Control(focus);
        target->setFocus();
        const qsizetype selections = rig.host.selected.size();

        QTest::keyClick(target, Qt::Key(key), control ? Qt::ControlModifier : Qt::NoModifier);

        // One step selects the same day of the new month once.
        QCOMPARE(rig.host.selected.mid(selections), QList<QDate>{shown});
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("year_list"))->currentText(),
                 QLatin1Char(' ') + QString::number(shown.year()));
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("month_list"))->currentText(), QString::number(shown.month()));
        const int firstColumn = shown.addDays(1 - shown.day()).dayOfWeek() % 7;
        QCOMPARE(rig.Cell(0)->x(), rig.Control(QStringLiteral("weekday_header_%1").arg(firstColumn))->x());
        if (!focus.isEmpty())
            QCOMPARE(rig.window.focusWidget(), target);
    }

    void pageKeysStopAtTheEndsOfTheList()
    {
        CalendarWindowRig rig(QDate(2100, 11, 30));
        QTest::keyClick(&rig.window, Qt::Key_PageDown);
        QTest::keyClick(&rig.window, Qt::Key_PageDown);
        QCOMPARE(rig.host.selected.last(), QDate(2100, 12, 30));
        QTest::keyClick(&rig.window, Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("month_list"))->currentText(), QStringLiteral("12"));
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("year_list"))->currentText(), QStringLiteral(" 2100"));
    }

    void arrowKeysMoveTheSelectedDay_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("key");
        QTest::addColumn<QDate>("selected");
        const QDate july(2006, 7, 16);
        QTest::newRow("Right") << july << int(Qt::Key_Right) << QDate(2006, 7, 17);
        QTest::newRow("Left") << july << int(Qt::Key_Left) << QDate(2006, 7, 15);
        QTest::newRow("Down") << july << int(Qt::Key_Down) << QDate(2006, 7, 23);
        QTest::newRow("Up") << july << int(Qt::Key_Up) << QDate(2006, 7, 9);
        QTest::newRow("Home") << july << int(Qt::Key_Home) << QDate(2006, 7, 1);
        QTest::newRow("End") << july << int(Qt::Key_End) << QDate(2006, 7, 31);
        QTest::newRow("past the month's end") << QDate(2006, 7, 31) << int(Qt::Key_Right) << QDate(2006, 8, 1);
        QTest::newRow("a week back into a short month") << QDate(2006, 3, 3) << int(Qt::Key_Up) << QDate(2006, 2, 24);
        QTest::newRow("into the year before") << QDate(2006, 1, 1) << int(Qt::Key_Left) << QDate(2005, 12, 31);
        QTest::newRow("not before 1900") << QDate(1900, 1, 1) << int(Qt::Key_Left) << QDate(1900, 1, 1);
        QTest::newRow("not after 2100") << QDate(2100, 12, 31) << int(Qt::Key_Down) << QDate(2100, 12, 31);
    }

    void arrowKeysMoveTheSelectedDay()
    {
        QFETCH(QDate, today);
        QFETCH(int, key);
        QFETCH(QDate, selected);
        CalendarWindowRig rig(today);
        QWidget *day = rig.Control(QStringLiteral("focus_sink"));
        day->setFocus();
        const qsizetype selections = rig.host.selected.size();

        QTest::keyClick(day, Qt::Key(key));

        // Across a month's edge too the day is selected once, in its own
        // month; at the ends of the listed years nothing moves.
        QCOMPARE(rig.host.selected.mid(selections), selected == today ? QList<QDate>{} : QList<QDate>{selected});
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("year_list"))->currentText(),
                 QLatin1Char(' ') + QString::number(selected.year()));
        QCOMPARE(rig.Control<QComboBox>(QStringLiteral("month_list"))->currentText(), QString::number(selected.month()));
        const int cell = selected.day() - 1;
        QCOMPARE(HighlightedCells(rig), (QList<int>{cell, cell + 31}));
        QCOMPARE(rig.window.focusWidget(), day);
        // The focus ring goes round the day and its lunar label.
        QVERIFY(day->geometry().contains(rig.Cell(cell)->geometry().united(rig.Cell(cell + 31)->geometry())));
        QCOMPARE(day->accessibleName(),
                 QStringLiteral("所选日期：") + selected.toString(QStringLiteral("yyyy年M月d日 ")) +
                     rig.Control<QLabel>(QStringLiteral("weekday_label"))->text());
    }

    void aMonthWithoutTheRememberedDayWaitsForAKey()
    {
        CalendarWindowRig rig(QDate(2006, 3, 31));
        QWidget *day = rig.Control(QStringLiteral("focus_sink"));
        day->setFocus();
        const qsizetype selections = rig.host.selected.size();

        // April has no 31st: nothing is selected, and no ring stands in an empty place.
        QTest::keyClick(day, Qt::Key_PageDown);
        QCOMPARE(rig.host.selected.size(), selections);
        QVERIFY(day->geometry().isEmpty());
        QCOMPARE(rig.window.focusWidget(), day);

        // The first arrow selects the day the month falls back to, the next one moves on.
        QTest::keyClick(day, Qt::Key_Right);
        QCOMPARE(rig.host.selected.mid(selections), QList<QDate>{QDate(2006, 4, 30)});
        QVERIFY(day->geometry().contains(rig.Cell(29)->geometry()));
        QTest::keyClick(day, Qt::Key_Right);
        QCOMPARE(rig.host.selected.last(), QDate(2006, 5, 1));
    }

    void screenReaderHearsTheSelectedDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("an ordinary day")
            << QDate(2026, 12, 11) << QStringLiteral("所选日期：2026年12月11日 星期五")
            << QStringLiteral("农历冬月初三 丙午(马)年，黑道日，宜：安床 祭祀 祈福 求嗣 冠笄 伐木 架马 动土 开池 开厕 结网 "
                              "入殓 除服 成服，忌：安门 栽种 作灶 治病");
        QTest::newRow("a festival and holiday")
            << QDate(2006, 10, 1) << QStringLiteral("所选日期：2006年10月1日 星期日")
            << QStringLiteral("农历八月初十 丙戌(狗)年，国庆节，国庆节 放假，黑道日，宜：开光 塑绘 出行 解除 冠笄 裁衣 挂匾 "
                              "作灶 开市 开池 开厕 补垣 塞穴，忌：无");
        QTest::newRow("out of the lunar range") << QDate(1900, 1, 1) << QStringLiteral("所选日期：1900年1月1日 星期一")
                                                << QStringLiteral("元旦");
    }

    void screenReaderHearsTheSelectedDay()
    {
        QFETCH(QDate, date);
        QFETCH(QString, name);
        QFETCH(QString, description);
        // Opened the day after, the day is reached by a key, as a screen reader user would.
        CalendarWindowRig rig(date.addDays(1));
        QWidget *day = rig.Control(QStringLiteral("focus_sink"));
        day->setFocus();
        QTest::keyClick(day, Qt::Key_Left);
        rig.Settle();

        QCOMPARE(day->accessibleName(), name);
        QCOMPARE(day->accessibleDescription(), description);
    }

    // Over the real main window.

    void f10OpensTheCalendarAndTheClockLineShowsTheSelection()
    {
        CalendarRig rig(QDateTime(QDate(2006, 7, 16), QTime(14, 5, 9)));
        rig.Load();
        auto *clock = rig.Control<QLabel>(QStringLiteral("clock_line"));
        bool guarded = false;
        ModalWatch watch(QStringLiteral("calendar_window"), [&](QDialog *calendar) {
            guarded = !rig.Control(QStringLiteral("minimise_picture"))->isEnabled();
            // Ticks at a new second leave the selection on the clock line.
            rig.now = rig.now.addSecs(2);
            QSignalSpy ticks(rig.ClockTimer(), &QTimer::timeout);
            QTRY_VERIFY(ticks.count() >= 3);
            QCOMPARE(clock->text(), QStringLiteral("☆万年历选择的日期 2006年7月16日"));
            QTest::mouseClick(RequireChild<QLabel>(*calendar, QStringLiteral("day_number_1")), Qt::LeftButton);
            QTRY_COMPARE(rig.window->SelectedDate(), QDate(2006, 7, 1));
            QTRY_COMPARE(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期六"));
            QCOMPARE(clock->text(), QStringLiteral("☆万年历选择的日期 2006年7月1日"));
        });
        QTest::keyRelease(rig.window.get(), Qt::Key_F10);

        QCOMPARE(watch.visits, 1);
        QVERIFY(guarded);
        QTRY_COMPARE(rig.Control<QLabel>(QStringLiteral("weekday_line"))->text(), QStringLiteral("星期日"));
        QCOMPARE(rig.window->SelectedDate(), QDate(2006, 7, 16));
        QTRY_VERIFY_WITH_TIMEOUT(clock->text().startsWith(QStringLiteral("现在时间:")), 2000);
    }

    void calendarOpensFromItsButtonAndTheLunarLine_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("calendar_button") << QStringLiteral("calendar_button") << false;
        QTest::newRow("lunar_date_line") << QStringLiteral("lunar_date_line") << true;
    }

    void calendarOpensFromItsButtonAndTheLunarLine()
    {
        QFETCH(QString, control);
        QFETCH(bool, doubleClick);
        CalendarRig rig(Morning(QDate(2006, 7, 16)));
        rig.Load();
        ModalWatch watch(QStringLiteral("calendar_window"), [](QDialog *) {});
        if (doubleClick)
            QTest::mouseDClick(rig.Control(control), Qt::LeftButton);
        else
            QTest::mouseClick(rig.Control(control), Qt::LeftButton);
        QCOMPARE(watch.visits, 1);
    }

    void festivalDayChosenInTheCalendar()
    {
        CalendarRig rig(Morning(QDate(2006, 7, 16)));
        rig.Load();
        int tipsSeen = 0;
        QString tipsCaption;
        ModalWatch tips(QStringLiteral("todays_tips_window"), [&](QDialog *window) {
            ++tipsSeen;
            tipsCaption = window->windowTitle();
        });
        ModalWatch calendar(QStringLiteral("calendar_window"), [&](QDialog *window) {
            RequireChild<QComboBox>(*window, QStringLiteral("month_list"))->setCurrentIndex(9);
            QTest::mouseClick(RequireChild<QLabel>(*window, QStringLiteral("day_number_1")), Qt::LeftButton);
            QTRY_VERIFY(rig.Control(QStringLiteral("national_day_animation"))->isVisible());
            QCOMPARE(rig.Control<MusicToggleBox>(QStringLiteral("music_toggle"))->Value(), 2);
            auto *festivalLine = RequireChild<QLabel>(*window, QStringLiteral("festival_line"));
            QTRY_COMPARE(festivalLine->text(), QStringLiteral(" ☆国庆节"));
            // Not shown by itself while the calendar is open, even once the
            // tips are due.
            QTRY_VERIFY(!rig.TodaysTipsTimer()->isActive());
            QCOMPARE(tipsSeen, 0);
            QTest::mouseDClick(festivalLine, Qt::LeftButton);
            QCOMPARE(tipsSeen, 1);
        });
        QTest::keyRelease(rig.window.get(), Qt::Key_F10);
        QCOMPARE(calendar.visits, 1);
        QCOMPARE(tipsCaption, QStringLiteral("今日提示:2006-10-1(八月初十)"));
        // Closing returns the main window to today, without the decoration.
        QTRY_VERIFY(!rig.Control(QStringLiteral("national_day_animation"))->isVisibleTo(rig.window.get()));
        QCOMPARE(rig.window->SelectedDate(), QDate(2006, 7, 16));
        // The festival's tune gave way to the background music the user had on.
        QCOMPARE(rig.Control<MusicToggleBox>(QStringLiteral("music_toggle"))->Value(), 1);
        QCOMPARE(rig.settings.musicState, MusicState::Background);
    }

    void midnightWithTheCalendarOpenClosesItAndEvaluatesTheNewDay()
    {
        CalendarRig rig(QDateTime(QDate(2006, 1, 28), QTime(23, 59, 58)));
        rig.settings.todayTips = false;
        rig.Load();
        bool closedByMidnight = false;
        ModalWatch watch(QStringLiteral("calendar_window"), [&](QDialog *window) {
            rig.now = QDateTime(QDate(2006, 1, 29), QTime(0, 0, 0));
            QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 3000);
            closedByMidnight = true;
        });
        QTest::keyRelease(rig.window.get(), Qt::Key_F10);

        QVERIFY(closedByMidnight);
        QTRY_COMPARE(rig.Control<QLabel>(QStringLiteral("lunar_date_line"))->text(),
                     QStringLiteral("农历:丙戌(狗)年 正月初一 过年好!"));
        QCOMPARE(rig.window->Today(), QDate(2006, 1, 29));
        QCOMPARE(rig.window->SelectedDate(), QDate(2006, 1, 29));
        QCOMPARE(rig.Control(QStringLiteral("lotus_carp_picture"))->toolTip(), QStringLiteral("莲年有余  狗年大吉"));
        QTRY_VERIFY_WITH_TIMEOUT(rig.Control<QLabel>(QStringLiteral("clock_line"))->text().startsWith(
                                     QStringLiteral("现在时间:2006-1-29")),
                                 2000);
    }
    // The day's almanac below the grid: 宜 and 忌 first, the rest below,
    // whether the day god makes it a 黄道 or a 黑道 day.
    void showsTheAlmanacOfTheSelectedDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("suitable");
        QTest::addColumn<QString>("badge");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("officer");
        QTest::newRow("黑道 day") << QDate(2026, 12, 11)
                                  << "安床 祭祀 祈福 求嗣 冠笄 伐木 架马 动土 开池 开厕 结网 入殓 除服 成服" << "黑道日"
                                  << "黄历" << "危";
        QTest::newRow("long list") << QDate(2026, 12, 20)
                                   << "纳采 订盟 祭祀 祈福 开光 安香 出火 出行 会亲友 安机械 修造 动土 竖柱 上梁 盖屋 "
                                      "起基 定磉 安床 安门 拆卸 移徙 造桥 造船 安葬 破土 入殓"
                                   << "黑道日" << "黄历" << "定";
        QTest::newRow("黄道 make-up working day") << QDate(2026, 9, 20) << "祭祀 出行 沐浴 扫舍 安葬 馀事勿取"
                                                   << "黄道吉日" << "黄历　国庆节 调休上班" << "建";
    }
    void showsTheAlmanacOfTheSelectedDay()
    {
        QFETCH(QDate, date);
        QFETCH(QString, suitable);
        QFETCH(QString, badge);
        QFETCH(QString, title);
        QFETCH(QString, officer);
        const QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        CalendarWindowRig rig(date);
        auto *almanac = rig.Control<QGroupBox>(QStringLiteral("almanac_panel"));
        QVERIFY(almanac->isVisibleTo(&rig.window));
        QCOMPARE(almanac->title(), title);
        const QString suitableText = rig.Control<QLabel>(QStringLiteral("suitable_activities"))->text();
        QCOMPARE(QString(suitableText).remove(QChar(0x2060)), suitable);
        // A long list wraps between activities, never inside one.
        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, suitableText);
        for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < suitableText.size(); at = breaks.toNextBoundary())
            QVERIFY2(suitableText.at(at - 1) == u' ', qPrintable(suitableText.left(at)));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("day_path_badge"))->text(), badge);
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("almanac_caption_1"))->text(), QStringLiteral("建除"));
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("almanac_text_1"))->text(), officer);
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("almanac_caption_10"))->text(), QStringLiteral("八字"));
        qunsetenv("XDG_DATA_HOME");
    }

    // The window stays on a 1024 × 768 screen; the almanac lies below the
    // grid and the panel, above the note, and the longest lists of 宜 and 忌
    // and the longest lines fit their places.
    void almanacFitsTheWindow()
    {
        CalendarWindowRig rig(QDate(2029, 12, 2));
        QVERIFY(rig.window.width() <= 1024 && rig.window.height() <= 768);
        auto *almanac = rig.Control<QGroupBox>(QStringLiteral("almanac_panel"));
        QVERIFY(rig.window.rect().contains(almanac->geometry()));
        for (const char *above : {"day_panel", "reset_button", "close_button", "solar_term_list"}) {
            QWidget *control = rig.Control(QString::fromLatin1(above));
            const QRect placed(control->mapTo(&rig.window, QPoint(0, 0)), control->size());
            QVERIFY2(placed.bottom() < almanac->y(), above);
        }
        QVERIFY(rig.Control(QStringLiteral("range_note"))->y() > almanac->geometry().bottom());
        for (const char *list : {"suitable_activities", "unsuitable_activities"}) {
            auto *label = rig.Control<QLabel>(QString::fromLatin1(list));
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(), list);
        }
        for (QLabel *label : almanac->findChildren<QLabel *>()) {
            QVERIFY(almanac->rect().contains(label->geometry()));
            if (!label->wordWrap())
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                         qPrintable(label->text()));
        }
    }

    void noAlmanacBeforeItsFirstDay()
    {
        CalendarWindowRig rig(QDate(1900, 1, 15));
        QVERIFY(!Shown(rig, QStringLiteral("almanac_panel")));
        QTest::mouseClick(rig.Cell(30), Qt::LeftButton);
        rig.Settle();
        QVERIFY(Shown(rig, QStringLiteral("almanac_panel")));
    }

    // 休 and 班 in the corner of their day numbers, the holiday named in the
    // tooltip; other days and other months carry no mark.
    void marksHolidaysInTheGrid()
    {
        const QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        CalendarWindowRig rig(QDate(2026, 10, 5));
        const auto mark = [&rig](int day) {
            return rig.Control<ClickableLabel>(QStringLiteral("holiday_mark_%1").arg(day));
        };
        QVERIFY(mark(1)->isVisibleTo(&rig.window));
        QCOMPARE(mark(1)->text(), QStringLiteral("休"));
        QCOMPARE(mark(10)->text(), QStringLiteral("班"));
        QVERIFY(mark(10)->isVisibleTo(&rig.window));
        QVERIFY(!mark(9)->isVisibleTo(&rig.window));
        QCOMPARE(mark(1)->geometry().topRight(), rig.Cell(0)->geometry().topRight());
        QCOMPARE(mark(1)->toolTip(), QStringLiteral("国庆节 放假"));
        QCOMPARE(mark(10)->toolTip(), QStringLiteral("国庆节 调休上班"));
        // The day numbers keep their lunar tooltips.
        QCOMPARE(rig.Cell(0)->toolTip(), QStringLiteral("农历:八月廿一"));
        // A click on the mark selects its day.
        QTest::mouseClick(mark(10), Qt::LeftButton);
        QCOMPARE(rig.host.selected.last(), QDate(2026, 10, 10));

        rig.ChooseMonth(2026, 11);
        rig.Settle();
        for (int day = 1; day <= 31; ++day)
            QVERIFY(!mark(day)->isVisibleTo(&rig.window));
        rig.ChooseMonth(2026, 9);
        rig.Settle();
        QVERIFY(mark(20)->isVisibleTo(&rig.window));
        QCOMPARE(mark(20)->geometry().topRight(), rig.Cell(19)->geometry().topRight());
        qunsetenv("XDG_DATA_HOME");
    }

    // holidays.txt in the user's data folder adds a year; its bad lines are
    // named in a warning when the window opens.
    void readsTheUsersHolidayFile()
    {
        const QTemporaryDir dataHome;
        QVERIFY(WriteUserHolidayFile(dataHome, "2027-02-06 春节 休\n2027-02-30 春节 休\n"));
        CalendarWindowRig rig(QDate(2027, 2, 6));
        qunsetenv("XDG_DATA_HOME");
        QCOMPARE(rig.Control<QLabel>(QStringLiteral("holiday_mark_6"))->text(), QStringLiteral("休"));
        QCOMPARE(rig.Control<QGroupBox>(QStringLiteral("almanac_panel"))->title(), QStringLiteral("黄历　春节 放假"));
        QTRY_COMPARE(rig.host.messages.size(), 1);
        QVERIFY(rig.host.messages.first().startsWith(QStringLiteral("warning: ")));
        QVERIFY(rig.host.messages.first().endsWith(QStringLiteral("第2行：日期无效：2027-02-30 春节 休")));
    }

    // A file in another encoding fails on every line: the message lists the
    // first ten and counts the rest, so it stays on the screen.
    void manyUnreadableHolidayLinesAreCounted()
    {
        const QTemporaryDir dataHome;
        QVERIFY(WriteUserHolidayFile(dataHome, QByteArray("2027-13-01 春节 休\n").repeated(3000)));
        CalendarWindowRig rig(QDate(2027, 2, 6));
        qunsetenv("XDG_DATA_HOME");
        QTRY_COMPARE(rig.host.messages.size(), 1);
        const QStringList lines = rig.host.messages.first().split(u'\n');
        QCOMPARE(lines.size(), 2 + 10 + 1);
        QCOMPARE(lines[2], QStringLiteral("第1行：日期无效：2027-13-01 春节 休"));
        QCOMPARE(lines[11], QStringLiteral("第10行：日期无效：2027-13-01 春节 休"));
        QCOMPARE(lines.last(), QStringLiteral("……另有2990处未能读取"));
    }

    // Two month steps quicker than the evaluation: the second month lacks the
    // day, and the evaluation of the first step's day must not fill the panel.
    void aLateEvaluationOfADayNoLongerSelectedIsDropped()
    {
        CalendarWindowRig rig(QDate(2026, 12, 31));
        QTest::keyClick(&rig.window, Qt::Key_PageDown);
        const DateEvaluation late = EvaluateSelectedDate(rig.host.selected.last(), rig.host.today, true);
        QCOMPARE(late.selectedDate, QDate(2027, 1, 31));
        QTest::keyClick(&rig.window, Qt::Key_PageDown);
        rig.window.ShowSelectedDayInfo(late);
        QVERIFY(!Shown(rig, QStringLiteral("day_panel")));
        QVERIFY(!Shown(rig, QStringLiteral("almanac_panel")));
    }
};

QTEST_MAIN(CalendarWindowTest)
#include "test_calendar_window.moc"
