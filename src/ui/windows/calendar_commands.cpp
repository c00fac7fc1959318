#include "ui/windows/calendar_commands.h"

#include "ui/windows/calendar_window.h"
#include "ui/windows/dialog_service.h"
#include "ui/windows/main_window.h"
#include "ui/windows/todays_tips_window.h"

#include <QPointer>

namespace {

class CalendarCommands : public QObject, public CalendarHost {
public:
    CalendarCommands(MainWindow &window, Settings &settings)
        : QObject(&window)
        , window_(window)
        , settings_(settings)
    {
        connect(&window, &MainWindow::DateEvaluated, this, &CalendarCommands::ShowEvaluation);
        connect(&window, &MainWindow::TodaysTipsDue, this, [this] {
            if (tipsDueOutsideCalendar_ && !calendar_)
                ShowTodaysTips(lastEvaluation_, &window_);
        });
        connect(&window, &MainWindow::CalendarRequested, this, &CalendarCommands::OpenCalendar);
        connect(&window, &MainWindow::CalendarGridDue, this, [this] {
            if (calendar_)
                calendar_->FillCells();
        });
        connect(&window, &MainWindow::TodaysTipsCloseRequested, this, [this] {
            if (tips_)
                tips_->reject();
        });
        connect(&window, &MainWindow::CalendarCloseRequested, this, [this] {
            if (calendar_)
                calendar_->reject();
        });
    }

    // CalendarHost
    QDate Today() const override { return window_.Today(); }
    void SelectDate(QDate date) override { window_.SelectDate(date); }
    void SetCalendarWindowOpen(bool open) override { window_.SetCalendarWindowOpen(open); }
    void ShowClockText(const QString &text) override { window_.ShowClockText(text); }
    void StartCellFilling() override { window_.StartCalendarGridTimer(); }
    QDateTime Now() const override { return window_.Services().now(); }
    void ShowMessage(QWidget *parent, const QString &text, bool warning) override
    {
        window_.Services().dialogs->ShowMessage(parent, text, ProgramTitle(),
                                                warning ? DialogService::Icon::Warning : DialogService::Icon::None);
    }

private:
    void ShowEvaluation(const DateEvaluation &evaluation)
    {
        lastEvaluation_ = evaluation;
        // A day chosen in the calendar window never opens the tips by
        // itself, even when the window closes before the tips timer ticks.
        tipsDueOutsideCalendar_ = !calendar_;
        window_.ShowDecorations(evaluation);
        if (calendar_)
            calendar_->ShowSelectedDayInfo(evaluation);
    }

    void OpenCalendar()
    {
        CalendarWindow calendar(*this, &window_);
        connect(&calendar, &CalendarWindow::TodaysTipsRequested, this,
                [this, &calendar](const DateEvaluation &evaluation) { ShowTodaysTips(evaluation, &calendar); });
        calendar_ = &calendar;
        window_.RunGuardedChild(calendar);
        calendar_ = nullptr;
    }

    void ShowTodaysTips(const DateEvaluation &evaluation, QWidget *owner)
    {
        TodaysTipsWindow tips(evaluation, settings_, owner);
        tips_ = &tips;
        tips.exec();
        tips_ = nullptr;
    }

    MainWindow &window_;
    Settings &settings_;
    DateEvaluation lastEvaluation_;
    bool tipsDueOutsideCalendar_ = false;
    QPointer<CalendarWindow> calendar_;
    QPointer<TodaysTipsWindow> tips_;
};

} // namespace

void ConnectCalendarCommands(MainWindow &window, Settings &settings)
{
    new CalendarCommands(window, settings);
}
