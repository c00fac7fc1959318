#pragma once

#include "calendar/date_evaluation.h"
#include "calendar/day_almanac.h"
#include "calendar/holidays.h"
#include "ui/windows/panel_dialog.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>

#include <array>

class ClickableLabel;
class FocusFrame;
class PictureLabel;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

// What the calendar window needs of the main window.
class CalendarHost {
public:
    virtual ~CalendarHost() = default;
    // The date the main window treats as today.
    virtual QDate Today() const = 0;
    // Makes `date` the selected date and starts the day-change step, whose
    // evaluation comes back through ShowSelectedDayInfo.
    virtual void SelectDate(QDate date) = 0;
    virtual void SetCalendarWindowOpen(bool open) = 0;
    // The main window's clock line, which its clock leaves alone while the
    // calendar window is open.
    virtual void ShowClockText(const QString &text) = 0;
    // Starts the one-shot timer whose tick runs FillCells.
    virtual void StartCellFilling() = 0;
    // The clock, for the time stamp of an exported calendar.
    virtual QDateTime Now() const = 0;
    // An OK box with the program's title, with the warning icon or none.
    virtual void ShowMessage(QWidget *parent, const QString &text, bool warning) = 0;
    // The public holidays: the shipped table and the user's holidays.txt.
    virtual HolidayCalendar Holidays() const { return LoadHolidayCalendar(UserHolidayFilePath()); }
};

// The calendar window "农历查询": a month grid of day cells with
// lunar labels, chosen by year and month, and a panel describing the
// selected day. Opening it selects today; closing it selects today again.
// Its export command saves the shown year's solar terms and festivals as an
// iCalendar file for other calendar programs. Today keeps a red frame in its
// month; PageUp/PageDown turn the month, Ctrl+PageUp/PageDown the year, and
// digits typed into the year list pick the year. The selected day is a focus
// stop of its own: the arrow keys move it by a day or a week, Home and End to
// the ends of the month, and a screen reader hears the day and its almanac. A clock outside the listed
// years opens the nearest listed day, with a note that today is out of range.
// Below the grid the day's almanac (黄历) lists 宜 and 忌 and the rest; the
// grid marks public holidays 休 and make-up working days 班 in a corner.
class CalendarWindow : public PanelDialog {
    Q_OBJECT
public:
    CalendarWindow(CalendarHost &host, QWidget *parent);

    // Fills the day cells of the shown month: lunar labels, festivals,
    // solar terms, colours and tooltips.
    void FillCells();
    // Fills the panel from the evaluation of the selected date.
    void ShowSelectedDayInfo(const DateEvaluation &evaluation);

    void done(int result) override;

signals:
    // A double-click on the festival line of a festival day.
    void TodaysTipsRequested(const DateEvaluation &evaluation);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildSelectors();
    void BuildGrid();
    void BuildPanel();
    void BuildAlmanacPanel();
    void ShowAlmanac(const std::optional<DayAlmanac> &almanac, const std::optional<HolidayDay> &holiday);
    void ShowHolidayMarks();
    void ReportHolidayFileProblems();
    void BuildCommands();
    void MakeDragHandles();

    void OnYearChanged();
    void OnMonthChanged();
    void RefreshGrid();
    // Shows the month `months` before or after the shown one, within the listed years.
    void StepMonth(int months);
    // Shows the month that begins on `monthStart` and selects the remembered day in it.
    void ShowMonth(QDate monthStart);
    // Selects `date`, within the listed years, turning the month where it must.
    void MoveSelectionTo(QDate date);
    void TypeYearDigit(QObject *list, QChar digit);
    void MarkToday();
    void ShowDaysOfMonth();
    void SelectDay(int index);
    void Highlight(int index);
    void ShowWeekday(QDate date);
    void SelectInLists(QDate date);
    void GoToToday();
    void HideLunarPart();
    void ShowRangeNote(QDate today);
    void RequestTodaysTips();
    void ExportShownYear();
    QDate ListedMonthStart() const;

    CalendarHost &host_;
    int rememberedDay_ = 0;
    // The selected day, or a null date while the remembered day is missing
    // from the shown month.
    QDate selectedDay_;
    bool yearComboArmed_ = false;
    // The digits typed into the year list in quick succession.
    QString typedYear_;
    QElapsedTimer typingPause_;
    QDate shownMonthStart_;
    DateEvaluation shownEvaluation_;

    QComboBox *yearList_ = nullptr;
    QComboBox *monthList_ = nullptr;
    ClickableLabel *todayLink_ = nullptr;
    QLabel *todayLinkArea_ = nullptr;
    QWidget *grid_ = nullptr;
    // 0..30 the day numbers, 31..61 the lunar labels under them.
    std::array<ClickableLabel *, 62> cells_{};
    QLabel *solarTermList_ = nullptr;
    QLabel *todayMarker_ = nullptr;
    // The focus stop of the selected day, laid over its cell.
    FocusFrame *focusSink_ = nullptr;
    QLabel *rangeNote_ = nullptr;

    QGroupBox *panel_ = nullptr;
    QLabel *longDate_ = nullptr;
    QLabel *weekday_ = nullptr;
    QLabel *lunarCaption_ = nullptr;
    QLabel *lunarText_ = nullptr;
    QLabel *yearText_ = nullptr;
    QLabel *pillarText_ = nullptr;
    PictureLabel *zodiacPicture_ = nullptr;
    PictureLabel *starSignPicture_ = nullptr;
    QLabel *starSignName_ = nullptr;
    QLabel *solarTermLine_ = nullptr;
    ClickableLabel *festivalLine_ = nullptr;

    HolidayCalendar holidays_;
    // The corner marks 休 and 班 of the day cells.
    std::array<ClickableLabel *, 31> holidayMarks_{};

    QGroupBox *almanacPanel_ = nullptr;
    QLabel *dayPathBadge_ = nullptr;
    QLabel *suitableText_ = nullptr;
    QLabel *unsuitableText_ = nullptr;
    // Caption and text of each line below 宜 and 忌.
    std::array<std::pair<QLabel *, QLabel *>, DayAlmanacDetailCount> almanacLines_{};
};
