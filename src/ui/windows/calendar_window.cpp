#include "ui/windows/calendar_window.h"

#include "calendar/almanac_ics.h"
#include "calendar/day_names.h"
#include "calendar/lunar_date.h"
#include "calendar/month_grid.h"
#include "calendar/solar_terms.h"
#include "core/date_text.h"
#include "ui/art/calendar_art.h"
#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/widgets/focus_ring.h"
#include "ui/widgets/keyboard_command.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/window_drag.h"
#include "ui/windows/month_grid_layout.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

using namespace MonthGridLayout;

// The month grid and the day's panel above, the day's almanac across the
// window below them.
constexpr QSize WindowSize{720, 694};
// The grid is laid out in twips as on a 120 dpi screen, which gives the day
// numbers and three-character labels a comfortable size.
constexpr int TwipsPerPixel = 12;
constexpr int FirstYear = 1900;
constexpr int LastYear = 2100;
// Every month has its first 28 days; the cells after them show as the month needs.
constexpr int ShortestMonthDays = 28;

// Places inside the information panel; the festival line moves up into the
// solar-term line's place when the day has no term.
constexpr QRect PanelGeometry{460, 54, 238, 290};
constexpr int SolarTermLineTop = 2500 / TwipsPerPixel;
constexpr int FestivalLineTop = 2760 / TwipsPerPixel;

// The almanac under the grid and the panel, and the places inside it: 宜 and
// 忌 first, each beside its seal, then the other lines in two columns.
constexpr QRect AlmanacGeometry{20, 424, 680, 226};
constexpr QRect SuitableSeal{12, 42, 26, 26};
constexpr QRect SuitableText{46, 40, 622, 40};
constexpr int UnsuitableOffset = 46;
constexpr int DetailsTop = 136;
constexpr int DetailRowHeight = 17;
constexpr int DetailColumnLeft[2] = {12, 346};
constexpr int DetailCaptionWidth = 36;
constexpr int DetailTextWidth = 286;
// 黄道吉日 or 黑道日 at the top right, above 宜.
constexpr QRect DayPathBadgeGeometry{560, 16, 108, 20};
// The holiday mark in the top right corner of a day number.
constexpr QSize HolidayMarkSize{14, 14};
// The unreadable lines of holidays.txt a message lists; a file in another
// encoding fails on every line, and the box must stay on the screen.
constexpr qsizetype ListedHolidayFileProblems = 10;

const QColor CellColour(Qt::white);
const QColor HighlightColour(192, 192, 255);
const QColor DarkRed(192, 0, 0);
const QColor Navy(0, 0, 128);
const QColor SolarTermLineColour(0, 0, 192);
const QColor FestivalLineColour(128, 128, 255);
const QColor NoteColour(128, 128, 128);
// Today's frame, drawn around its day number and lunar label whatever day is selected.
const QString TodayMarkerStyle = QStringLiteral("QLabel { border: 2px solid rgb(220, 30, 20); background: transparent; }");
const QColor WeekdayHeaderColours[ColumnCount] = {QColor(255, 0, 0), ArtPalette::Ink, ArtPalette::Ink, ArtPalette::Ink,
                                                  ArtPalette::Ink,         ArtPalette::Ink, QColor(0, 128, 0)};

const QString CalendarCaption = QStringLiteral("农历查询");
const QString SelectedDayPanel = QStringLiteral("所选日期信息");
const QString TodayPanel = QStringLiteral("今天信息");
const QString ClockPrefix = QStringLiteral("☆万年历选择的日期 ");
const QString RangeNote = QStringLiteral("提示:本日历农历查询界限为1900年1月31日至2100年12月31日");
const QString PillarTooltip = QStringLiteral("年月干支按照农历月(未按节气)划分");
const QColor SuitableColour(0xB0, 0x24, 0x1C);
const QColor UnsuitableColour(0x2A, 0x1C, 0x14);
const QColor YellowPathColour(0xB8, 0x86, 0x0B);
const QColor BlackPathColour(0x33, 0x33, 0x33);
const QString SealStyle = QStringLiteral("QLabel { color: white; background: %1; border-radius: 4px; }");
// 休 on red like a seal, 班 on slate.
const QString DayOffMarkStyle = QStringLiteral("QLabel { color: white; background: rgb(200, 42, 34); border-radius: 2px; }");
const QString WorkdayMarkStyle = QStringLiteral("QLabel { color: white; background: rgb(70, 80, 96); border-radius: 2px; }");
// The export's save dialog offers the file with and without the lunar date
// of every day; the chosen filter decides.
const QString ExportTermsAndFestivals = QStringLiteral("iCalendar 日历文件：节气和节日 (*.ics)");
const QString ExportWithLunarDays = QStringLiteral("iCalendar 日历文件：节气、节日和每日农历 (*.ics)");

const QString PanelStyle = QStringLiteral(
    "QGroupBox { border: 1px solid rgba(138, 98, 52, 170); border-radius: 6px; margin-top: 10px;"
    " background: rgba(255, 250, 236, 150); }"
    "QGroupBox::title { subcontrol-origin: margin; left: 12px; padding: 0 5px; color: #7a2a18; }");

const QString CommandStyle = QStringLiteral(
    "QPushButton { color: #f6e3a4; border: 1px solid #d4a437; border-radius: 5px;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b0362a, stop:1 #74150f); }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c8463a, stop:1 #8a1d15); }"
    "QPushButton:pressed { background: #5e1010; }");

// combobox-popup: 0 makes the lists open as a scrolling list of
// maxVisibleItems around the chosen item; the default Linux pop-up ignores
// that count and grows as tall as the screen.
const QString ListStyle = QStringLiteral(
    "QComboBox { background: #fffaf0; border: 1px solid #b08850; border-radius: 3px; padding: 0 4px;"
    " color: #2a1c14; combobox-popup: 0; }");

// The day the window shows for `today`: today itself, or the nearest day
// of the listed years when the clock lies outside them.
QDate NearestListedDate(QDate today)
{
    return std::clamp(today, QDate(FirstYear, 1, 1), QDate(LastYear, 12, 31));
}

// The note under the grid: the calendar's range, or in its place the
// warning that the clock's date lies outside it.
QString RangeNoteFor(QDate today)
{
    if (IsLunarConvertible(today))
        return RangeNote;
    return QStringLiteral("提示:今天(%1)超出本日历的查询界限1900年1月31日至2100年12月31日")
        .arg(LongDateText(today));
}

// The keys that turn the calendar's pages, and by how many months.
struct MonthStepKey {
    Qt::Key key;
    bool control;
    int months;
};

constexpr std::array MonthStepKeys{
    MonthStepKey{Qt::Key_PageUp, false, -1},
    MonthStepKey{Qt::Key_PageDown, false, 1},
    MonthStepKey{Qt::Key_PageUp, true, -12},
    MonthStepKey{Qt::Key_PageDown, true, 12},
};

// The months a key press turns the calendar by, or 0 for any other key.
int MonthStepFor(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    for (const MonthStepKey &step : MonthStepKeys) {
        if (event.key() == step.key && modifiers == (step.control ? Qt::ControlModifier : Qt::NoModifier))
            return step.months;
    }
    return 0;
}

// The keys that move the selected day, and by how many days.
struct DayStepKey {
    Qt::Key key;
    int days;
};

constexpr std::array DayStepKeys{
    DayStepKey{Qt::Key_Left, -1},
    DayStepKey{Qt::Key_Right, 1},
    DayStepKey{Qt::Key_Up, -7},
    DayStepKey{Qt::Key_Down, 7},
};

// The day a key press moves the selection to from `day`: a day or a week
// either way, or the first or last day of its month; nothing for any other key.
std::optional<QDate> DayForKey(const QKeyEvent &event, QDate day)
{
    if ((event.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return std::nullopt;
    if (event.key() == Qt::Key_Home)
        return QDate(day.year(), day.month(), 1);
    if (event.key() == Qt::Key_End)
        return QDate(day.year(), day.month(), day.daysInMonth());
    for (const DayStepKey &step : DayStepKeys) {
        if (event.key() == step.key)
            return day.addDays(step.days);
    }
    return std::nullopt;
}

// The activities of 宜 or 忌 as one line of text that wraps only between
// activities: a word joiner holds the characters of each together, so 移徙
// is never split into 移 at a line's end and 徙 at the next one's start.
QString ActivityListText(const QStringList &activities)
{
    QStringList unbroken;
    unbroken.reserve(activities.size());
    for (const QString &activity : activities) {
        QString joined;
        for (const QChar character : activity) {
            if (!joined.isEmpty() && !character.isLowSurrogate())
                joined += QChar(0x2060);
            joined += character;
        }
        unbroken << joined;
    }
    return unbroken.join(u' ');
}

// The selected day as a screen reader names it: its date and weekday.
QString SelectedDayName(QDate date)
{
    return QStringLiteral("所选日期：") + LongDateText(date) + u' ' + WeekdayNameOf(date);
}

bool OnYellowPath(const DayAlmanac &almanac)
{
    return almanac.dayGodPath == u"黄道";
}

// The almanac's verdict on the day, at the top right of its panel.
QString DayPathBadgeText(const DayAlmanac &almanac)
{
    return OnYellowPath(almanac) ? QStringLiteral("黄道吉日") : QStringLiteral("黑道日");
}

// What a screen reader says of the selected day besides its date: the lunar
// date, term, festivals, holiday and the almanac's verdict, 宜 and 忌.
QString SpokenDaySummary(const DateEvaluation &evaluation, const std::optional<DayAlmanac> &almanac,
                         const std::optional<HolidayDay> &holiday)
{
    QStringList parts;
    if (evaluation.lunarInRange)
        parts << QStringLiteral("农历") + evaluation.selectedLunarText + u' ' + evaluation.lunarDay.yearText;
    const SolarTermOfDay term = SolarTermOn(evaluation.selectedDate);
    if (!term.name.isEmpty())
        parts << term.name;
    QString festivals = evaluation.lunarFestivalText + evaluation.gregorianFestivalText;
    festivals.remove(u'☆').remove(u'★');
    if (!festivals.simplified().isEmpty())
        parts << festivals.simplified();
    if (holiday)
        parts << HolidayDescription(*holiday);
    if (almanac) {
        parts << DayPathBadgeText(*almanac);
        parts << QStringLiteral("宜：") + almanac->suitable.join(u' ');
        parts << QStringLiteral("忌：") + almanac->unsuitable.join(u' ');
    }
    return parts.join(u'，');
}

// The first listed year whose number begins with the typed digits, or 0.
int YearForTypedDigits(const QString &digits)
{
    for (int year = FirstYear; year <= LastYear; ++year) {
        if (QString::number(year).startsWith(digits))
            return year;
    }
    return 0;
}

// A drop-down list whose open list has the chosen item in its middle, so
// the years on both sides of it are in view.
class CentredList : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        QComboBox::showPopup();
        view()->scrollTo(view()->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
};

QPoint FromTwips(const TwipPoint &point)
{
    return QPoint(point.left / TwipsPerPixel, point.top / TwipsPerPixel);
}

QColor ToColour(const RgbColour &colour)
{
    return QColor(colour.red, colour.green, colour.blue);
}

// Black for weekdays, red for Sunday, green for Saturday.
QColor WeekdayColour(QDate date)
{
    switch (WeekdayNumberOf(date)) {
    case 1:
        return WeekdayHeaderColours[0];
    case 7:
        return WeekdayHeaderColours[6];
    default:
        return Qt::black;
    }
}

void SetBold(QWidget *widget, bool bold)
{
    QFont font = widget->font();
    font.setBold(bold);
    widget->setFont(font);
}

ClickableLabel *MakeClickableText(const QString &name, const QRect &geometry, const QFont &font,
                                  const QColor &colour, QWidget *parent)
{
    auto *label = new ClickableLabel(name, parent);
    label->setGeometry(geometry);
    label->setFont(font);
    SetTextColour(label, colour);
    return label;
}

} // namespace

CalendarWindow::CalendarWindow(CalendarHost &host, QWidget *parent)
    : PanelDialog(QStringLiteral("calendar_window"), WindowSize, parent)
    , host_(host)
{
    setWindowTitle(CalendarCaption);
    BuildGrid();
    BuildSelectors();
    BuildPanel();
    BuildAlmanacPanel();
    BuildCommands();
    MakeDragHandles();
    holidays_ = host_.Holidays();
    if (!holidays_.problems.isEmpty())
        QTimer::singleShot(0, this, &CalendarWindow::ReportHolidayFileProblems);

    const QDate today = host_.Today();
    const QDate shown = NearestListedDate(today);
    ShowRangeNote(today);
    host_.SetCalendarWindowOpen(true);
    host_.SelectDate(shown);
    host_.ShowClockText(ClockPrefix + ShortDateText(shown));
    shownMonthStart_ = QDate(shown.year(), shown.month(), 1);
    RefreshGrid();
    longDate_->setText(QStringLiteral("公元:") + LongDateText(shown));
    rememberedDay_ = shown.day();
    SelectInLists(shown);
    Highlight(shown.day() - 1);
    rememberedDay_ = shown.day();
    selectedDay_ = shown;
    focusSink_->setAccessibleName(SelectedDayName(shown));
    ShowWeekday(shown);
    panel_->setTitle(shown == today ? TodayPanel : SelectedDayPanel);
}

void CalendarWindow::ShowRangeNote(QDate today)
{
    rangeNote_->setText(RangeNoteFor(today));
    SetTextColour(rangeNote_, IsLunarConvertible(today) ? NoteColour : DarkRed);
}

void CalendarWindow::BuildSelectors()
{
    const QRect area = PanelArea();
    const int top = area.top() + 22;
    const QFont captionFont = SansFont(13, QFont::Bold);
    MakeTextLabel(QStringLiteral("date_choice_caption"), QStringLiteral("选择公历日期："),
                  QRect(area.left() + 18, top, 104, 24), captionFont, ArtPalette::Caption, this);
    yearList_ = new CentredList(this);
    yearList_->setObjectName(QStringLiteral("year_list"));
    yearList_->setGeometry(area.left() + 122, top, 74, 24);
    yearList_->setAccessibleName(QStringLiteral("年"));
    for (int year = FirstYear; year <= LastYear; ++year)
        yearList_->addItem(QLatin1Char(' ') + QString::number(year));
    MakeTextLabel(QStringLiteral("year_caption"), QStringLiteral("年"), QRect(area.left() + 200, top, 18, 24),
                  captionFont, ArtPalette::Caption, this);
    monthList_ = new CentredList(this);
    monthList_->setObjectName(QStringLiteral("month_list"));
    monthList_->setGeometry(area.left() + 220, top, 52, 24);
    monthList_->setAccessibleName(QStringLiteral("月"));
    for (int month = 1; month <= 12; ++month)
        monthList_->addItem(QString::number(month));
    MakeTextLabel(QStringLiteral("month_caption"), QStringLiteral("月"), QRect(area.left() + 276, top, 18, 24),
                  captionFont, ArtPalette::Caption, this);
    for (QComboBox *list : {yearList_, monthList_}) {
        list->setStyleSheet(ListStyle);
        list->setMaxVisibleItems(12);
        // Opening selects today in both lists; their first change is then a real change.
        list->setCurrentIndex(-1);
    }
    // The year items begin with a blank, which the lists' own type-ahead
    // cannot match; the window picks the year from typed digits itself.
    for (QObject *typedInto : std::initializer_list<QObject *>{yearList_, yearList_->view(), monthList_})
        typedInto->installEventFilter(this);
    connect(yearList_, &QComboBox::currentIndexChanged, this, &CalendarWindow::OnYearChanged);
    connect(monthList_, &QComboBox::currentIndexChanged, this, &CalendarWindow::OnMonthChanged);

    todayLinkArea_ = MakeTextLabel(QStringLiteral("today_link_area"), {}, QRect(area.left() + 318, top - 8, 96, 40),
                                   font(), ArtPalette::Ink, this);
    todayLink_ = MakeClickableText(QStringLiteral("today_link"), QRect(area.left() + 342, top, 48, 24),
                                   SansFont(14, QFont::Bold), Navy, this);
    todayLink_->setText(QStringLiteral("今天"));
    todayLink_->setAlignment(Qt::AlignCenter);
    todayLink_->setCursor(Qt::PointingHandCursor);
    for (QLabel *label : std::initializer_list<QLabel *>{todayLinkArea_, todayLink_}) {
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
    connect(todayLink_, &ClickableLabel::Clicked, this, &CalendarWindow::GoToToday);
    MakeKeyboardCommand(todayLink_, CommandRole::Link, todayLink_->text());
}

void CalendarWindow::BuildGrid()
{
    const QRect area = PanelArea();
    grid_ = new QWidget(this);
    grid_->setObjectName(QStringLiteral("month_grid"));
    grid_->setGeometry(area.left(), area.top(), WeekdayColumnLeft(ColumnCount) / TwipsPerPixel, area.height());

    const QSize cellSize(CellWidth / TwipsPerPixel, CellHeight / TwipsPerPixel);
    const std::array<const char16_t *, ColumnCount> names{u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    for (int column = 0; column < ColumnCount; ++column) {
        auto *header = MakeTextLabel(QStringLiteral("weekday_header_%1").arg(column), QString::fromUtf16(names[column]),
                                     QRect(FromTwips({WeekdayColumnLeft(column), HeaderTop}), cellSize),
                                     SerifFont(15, QFont::Bold), WeekdayHeaderColours[column], grid_);
        header->setAlignment(Qt::AlignCenter);
    }

    for (int i = 0; i < int(cells_.size()); ++i) {
        const bool isNumber = i < CellCount;
        const QString name = isNumber ? QStringLiteral("day_number_%1").arg(i + 1)
                                      : QStringLiteral("lunar_label_%1").arg(i - CellCount + 1);
        auto *cell = new ClickableLabel(name, grid_);
        cell->resize(cellSize);
        cell->setAlignment(Qt::AlignCenter);
        cell->setFont(isNumber ? SansFont(15, QFont::Bold) : SansFont(12));
        if (isNumber)
            cell->setText(QString::number(i + 1));
        cell->setCursor(Qt::PointingHandCursor);
        // A clicked day takes the focus from the lists; a day chosen from
        // the keyboard leaves it where the user is typing.
        connect(cell, &ClickableLabel::Clicked, this, [this, i] {
            SelectDay(i);
            focusSink_->setFocus();
        });
        cells_[i] = cell;
    }

    // A holiday mark names the holiday in its tooltip and selects its day
    // when clicked, as the day number under it does.
    for (int i = 0; i < int(holidayMarks_.size()); ++i) {
        auto *mark = new ClickableLabel(QStringLiteral("holiday_mark_%1").arg(i + 1), grid_);
        mark->resize(HolidayMarkSize);
        mark->setAlignment(Qt::AlignCenter);
        mark->setFont(SansFont(9, QFont::Bold));
        mark->setCursor(Qt::PointingHandCursor);
        mark->hide();
        connect(mark, &ClickableLabel::Clicked, this, [this, i] {
            SelectDay(i);
            focusSink_->setFocus();
        });
        holidayMarks_[std::size_t(i)] = mark;
    }

    todayMarker_ = new QLabel(grid_);
    todayMarker_->setObjectName(QStringLiteral("today_marker"));
    todayMarker_->setStyleSheet(TodayMarkerStyle);
    todayMarker_->setAttribute(Qt::WA_TransparentForMouseEvents);
    todayMarker_->hide();

    solarTermList_ = MakeTextLabel(QStringLiteral("solar_term_list"), {},
                                   QRect(FromTwips({2400, 4050}), QSize(2895 / TwipsPerPixel, 520 / TwipsPerPixel)),
                                   SansFont(13), SolarTermLineColour, grid_);
    solarTermList_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    focusSink_ = new FocusFrame(grid_);
    focusSink_->setObjectName(QStringLiteral("focus_sink"));
    focusSink_->setAccessibleName(QStringLiteral("所选日期"));

}

void CalendarWindow::BuildPanel()
{
    panel_ = new QGroupBox(TodayPanel, this);
    panel_->setObjectName(QStringLiteral("day_panel"));
    panel_->setGeometry(PanelGeometry);
    panel_->setStyleSheet(PanelStyle);
    panel_->setFont(SerifFont(14, QFont::Bold));

    const QFont text = SansFont(13);
    const QFont strong = SansFont(13, QFont::Bold);
    longDate_ = MakeTextLabel(QStringLiteral("long_date_label"), {}, QRect(12, 24, 220, 20), strong, ArtPalette::Ink,
                              panel_);
    weekday_ = MakeTextLabel(QStringLiteral("weekday_label"), {}, QRect(12, 46, 100, 20), strong, Qt::black, panel_);
    lunarCaption_ = MakeTextLabel(QStringLiteral("lunar_caption"), QStringLiteral("农历:"), QRect(12, 74, 38, 20), text,
                                  ArtPalette::Ink, panel_);
    lunarText_ = MakeTextLabel(QStringLiteral("lunar_date_label"), {}, QRect(50, 74, 110, 20), strong,
                               QColor(0, 0, 255), panel_);
    yearText_ = MakeTextLabel(QStringLiteral("lunar_year_label"), QStringLiteral("农历年干支"), QRect(12, 98, 148, 20), text,
                              DarkRed, panel_);
    pillarText_ = MakeTextLabel(QStringLiteral("month_day_pillars_label"), QStringLiteral("农历月、日干支"),
                                QRect(12, 122, 148, 20), text, DarkRed, panel_);

    zodiacPicture_ = new PictureLabel(QStringLiteral("zodiac_picture"), panel_);
    zodiacPicture_->move(168, 46);
    starSignPicture_ = new PictureLabel(QStringLiteral("star_sign_picture"), panel_);
    starSignPicture_->move(168, 120);
    starSignName_ = MakeTextLabel(QStringLiteral("star_sign_name"), {}, QRect(160, 186, 80, 18), strong, Navy, panel_);
    starSignName_->setAlignment(Qt::AlignCenter);

    solarTermLine_ = MakeTextLabel(QStringLiteral("solar_term_line"), QStringLiteral("节气"),
                                   QRect(12, SolarTermLineTop, 148, 20), strong, SolarTermLineColour, panel_);
    festivalLine_ = MakeClickableText(QStringLiteral("festival_line"), QRect(12, FestivalLineTop, 220, 44), strong,
                                      FestivalLineColour, panel_);
    festivalLine_->setText(QStringLiteral("节日"));
    festivalLine_->setWordWrap(true);
    festivalLine_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(festivalLine_, &ClickableLabel::DoubleClicked, this, &CalendarWindow::RequestTodaysTips);
}

void CalendarWindow::BuildAlmanacPanel()
{
    almanacPanel_ = new QGroupBox(QStringLiteral("黄历"), this);
    almanacPanel_->setObjectName(QStringLiteral("almanac_panel"));
    almanacPanel_->setGeometry(AlmanacGeometry);
    almanacPanel_->setStyleSheet(PanelStyle);
    almanacPanel_->setFont(SerifFont(14, QFont::Bold));

    dayPathBadge_ = MakeTextLabel(QStringLiteral("day_path_badge"), {}, DayPathBadgeGeometry, SerifFont(13, QFont::Bold),
                                  YellowPathColour, almanacPanel_);
    dayPathBadge_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    const auto makeSeal = [this](const QString &name, const QString &word, const QRect &geometry, const QColor &colour) {
        QLabel *seal = MakeTextLabel(name, word, geometry, SerifFont(15, QFont::Bold), Qt::white, almanacPanel_);
        seal->setAlignment(Qt::AlignCenter);
        seal->setStyleSheet(SealStyle.arg(colour.name()));
        return seal;
    };
    const auto makeList = [this](const QString &name, const QRect &geometry, const QColor &colour) {
        QLabel *list = MakeTextLabel(name, {}, geometry, SansFont(13, QFont::Bold), colour, almanacPanel_);
        list->setWordWrap(true);
        list->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        return list;
    };
    makeSeal(QStringLiteral("suitable_seal"), QStringLiteral("宜"), SuitableSeal, SuitableColour);
    suitableText_ = makeList(QStringLiteral("suitable_activities"), SuitableText, SuitableColour);
    makeSeal(QStringLiteral("unsuitable_seal"), QStringLiteral("忌"), SuitableSeal.translated(0, UnsuitableOffset),
             UnsuitableColour);
    unsuitableText_ = makeList(QStringLiteral("unsuitable_activities"), SuitableText.translated(0, UnsuitableOffset),
                               UnsuitableColour);
    suitableText_->setAccessibleName(QStringLiteral("宜"));
    unsuitableText_->setAccessibleName(QStringLiteral("忌"));

    const int rows = (DayAlmanacDetailCount + 1) / 2;
    for (int i = 0; i < DayAlmanacDetailCount; ++i) {
        const int left = DetailColumnLeft[i / rows];
        const int top = DetailsTop + (i % rows) * DetailRowHeight;
        QLabel *caption = MakeTextLabel(QStringLiteral("almanac_caption_%1").arg(i + 1), {},
                                        QRect(left, top, DetailCaptionWidth, DetailRowHeight), SansFont(12, QFont::Bold),
                                        ArtPalette::Caption, almanacPanel_);
        QLabel *text = MakeTextLabel(QStringLiteral("almanac_text_%1").arg(i + 1), {},
                                     QRect(left + DetailCaptionWidth, top, DetailTextWidth, DetailRowHeight),
                                     SansFont(12), ArtPalette::Ink, almanacPanel_);
        almanacLines_[std::size_t(i)] = {caption, text};
    }
    almanacPanel_->hide();
}

void CalendarWindow::BuildCommands()
{
    const QRect area = PanelArea();
    const int top = PanelGeometry.bottom() + 12;
    auto *reset = new QPushButton(QStringLiteral("重置日期显示"), this);
    reset->setObjectName(QStringLiteral("reset_button"));
    reset->setGeometry(PanelGeometry.left(), top, 98, 28);
    connect(reset, &QPushButton::clicked, this, &CalendarWindow::RefreshGrid);
    auto *exportYear = new QPushButton(QStringLiteral("导出本年"), this);
    exportYear->setObjectName(QStringLiteral("export_year_button"));
    exportYear->setToolTip(QStringLiteral("把所显示年份的节气和节日导出为日历文件(iCalendar)，供其他日历程序导入"));
    exportYear->setGeometry(PanelGeometry.left() + 104, top, 74, 28);
    connect(exportYear, &QPushButton::clicked, this, &CalendarWindow::ExportShownYear);
    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("close_button"));
    close->setToolTip(QStringLiteral("关闭 F12"));
    close->setAccessibleDescription(QStringLiteral("F12"));
    close->setGeometry(PanelGeometry.right() - 53, top, 54, 28);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *command : {reset, exportYear, close}) {
        command->setStyleSheet(CommandStyle);
        command->setFont(SansFont(13, QFont::Bold));
        command->setAutoDefault(false);
        ClickOnEnter(command);
        command->setCursor(Qt::PointingHandCursor);
    }

    rangeNote_ = MakeTextLabel(QStringLiteral("range_note"), RangeNote,
                               QRect(area.left() + 30, area.bottom() - 30, area.width() - 60, 20), SansFont(12),
                               NoteColour, this);
    rangeNote_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CalendarWindow::MakeDragHandles()
{
    for (QWidget *handle : std::initializer_list<QWidget *>{
             grid_, panel_, longDate_, weekday_, lunarCaption_, lunarText_, yearText_, pillarText_, zodiacPicture_,
             starSignPicture_, starSignName_, solarTermLine_, festivalLine_, almanacPanel_})
        Drag()->AddHandle(handle);
    for (QLabel *label : almanacPanel_->findChildren<QLabel *>())
        Drag()->AddHandle(label);
}

QDate CalendarWindow::ListedMonthStart() const
{
    return QDate(yearList_->currentText().trimmed().toInt(), monthList_->currentIndex() + 1, 1);
}

void CalendarWindow::OnYearChanged()
{
    // The first change comes from opening the window, before a month is
    // listed; it only arms the list.
    if (!yearComboArmed_) {
        yearComboArmed_ = true;
        return;
    }
    OnMonthChanged();
}

void CalendarWindow::OnMonthChanged()
{
    shownMonthStart_ = ListedMonthStart();
    RefreshGrid();
    ShowDaysOfMonth();
    SelectDay(rememberedDay_ - 1);
}

void CalendarWindow::StepMonth(int months)
{
    const QDate target =
        std::clamp(shownMonthStart_.addMonths(months), QDate(FirstYear, 1, 1), QDate(LastYear, 12, 1));
    if (target != shownMonthStart_)
        ShowMonth(target);
}

void CalendarWindow::ShowMonth(QDate monthStart)
{
    // Both lists change before the month is shown once, never an in-between month.
    {
        const QSignalBlocker years(yearList_);
        const QSignalBlocker monthsList(monthList_);
        SelectInLists(monthStart);
    }
    OnMonthChanged();
}

void CalendarWindow::MoveSelectionTo(QDate date)
{
    date = std::clamp(date, QDate(FirstYear, 1, 1), QDate(LastYear, 12, 31));
    if (date == selectedDay_)
        return;
    rememberedDay_ = date.day();
    const QDate monthStart(date.year(), date.month(), 1);
    if (monthStart != shownMonthStart_)
        ShowMonth(monthStart);
    else
        SelectDay(date.day() - 1);
}

void CalendarWindow::TypeYearDigit(QObject *list, QChar digit)
{
    if (!typingPause_.isValid() || typingPause_.hasExpired(QApplication::keyboardInputInterval()))
        typedYear_.clear();
    typingPause_.start();
    typedYear_ += digit;
    int year = YearForTypedDigits(typedYear_);
    if (year == 0) {
        typedYear_ = digit;
        year = YearForTypedDigits(typedYear_);
    }
    if (year == 0)
        return;
    const int row = year - FirstYear;
    // In the open list the digits move its cursor, which Enter then takes.
    if (list == yearList_->view()) {
        const QModelIndex item = yearList_->model()->index(row, 0);
        yearList_->view()->setCurrentIndex(item);
        yearList_->view()->scrollTo(item, QAbstractItemView::PositionAtCenter);
    } else {
        yearList_->setCurrentIndex(row);
    }
}

void CalendarWindow::RefreshGrid()
{
    setWindowTitle(CalendarCaption);
    panel_->setTitle(SelectedDayPanel);
    solarTermLine_->clear();
    solarTermLine_->setToolTip({});
    festivalLine_->move(festivalLine_->x(), FestivalLineTop);
    solarTermList_->clear();

    for (int i = 0; i < CellCount; ++i) {
        for (ClickableLabel *cell : {cells_[i], cells_[i + CellCount]}) {
            SetBackgroundColour(cell, CellColour);
            SetTextColour(cell, Qt::black);
            cell->setToolTip({});
        }
        cells_[i + CellCount]->clear();
        SetBold(cells_[i + CellCount], false);
    }
    for (QLabel *mark : holidayMarks_)
        mark->hide();
    host_.StartCellFilling();

    const auto places = PlaceMonthCells(WeekdayNumberOf(shownMonthStart_));
    for (int i = 0; i < CellCount; ++i) {
        cells_[i]->move(FromTwips(places[i].number));
        cells_[i + CellCount]->move(FromTwips(places[i].label));
        if (places[i].column == 0 || places[i].column == ColumnCount - 1)
            SetTextColour(cells_[i], WeekdayHeaderColours[places[i].column]);
    }
    MarkToday();
}

void CalendarWindow::MarkToday()
{
    const QDate today = host_.Today();
    const bool shown = today.year() == shownMonthStart_.year() && today.month() == shownMonthStart_.month();
    todayMarker_->setVisible(shown);
    if (!shown)
        return;
    const int index = today.day() - 1;
    todayMarker_->setGeometry(cells_[index]->geometry().united(cells_[index + CellCount]->geometry()));
    todayMarker_->raise();
}

void CalendarWindow::ShowDaysOfMonth()
{
    const int days = shownMonthStart_.daysInMonth();
    for (int i = ShortestMonthDays; i < CellCount; ++i) {
        cells_[i]->setVisible(i < days);
        cells_[i + CellCount]->setVisible(i < days);
    }
}

void CalendarWindow::FillCells()
{
    const MonthGrid grid = FillMonthGrid(shownMonthStart_);
    for (int i = 0; i < CellCount; ++i) {
        const GridCell &cell = grid.cells[i];
        ClickableLabel *number = cells_[i];
        ClickableLabel *label = cells_[i + CellCount];
        SetTextColour(number, ToColour(cell.numberColour));
        number->setToolTip(cell.numberTooltip);
        label->setText(cell.labelText);
        SetTextColour(label, ToColour(cell.labelColour));
        SetBold(label, cell.labelBold);
        label->setToolTip(cell.labelTooltip);
    }
    solarTermList_->setText(grid.solarTermList);
    ShowHolidayMarks();
    focusSink_->raise();
}

void CalendarWindow::ShowHolidayMarks()
{
    const int days = shownMonthStart_.daysInMonth();
    for (int i = 0; i < int(holidayMarks_.size()); ++i) {
        QLabel *mark = holidayMarks_[std::size_t(i)];
        const std::optional<HolidayDay> holiday = i < days ? holidays_.table.DayOf(shownMonthStart_.addDays(i))
                                                           : std::nullopt;
        mark->setVisible(holiday.has_value());
        if (!holiday)
            continue;
        ClickableLabel *number = cells_[std::size_t(i)];
        mark->setText(HolidayMark(*holiday));
        mark->setStyleSheet(holiday->workday ? WorkdayMarkStyle : DayOffMarkStyle);
        mark->move(number->geometry().topRight() - QPoint(HolidayMarkSize.width() - 1, 0));
        mark->raise();
        mark->setToolTip(HolidayDescription(*holiday));
        mark->setAccessibleName(HolidayDescription(*holiday));
    }
}

void CalendarWindow::ReportHolidayFileProblems()
{
    QStringList lines{QStringLiteral("节假日文件中有以下内容未能读取，已跳过：\n%1")
                          .arg(QDir::toNativeSeparators(holidays_.userFile))};
    for (const HolidayFileProblem &problem : holidays_.problems.first(
             std::min(holidays_.problems.size(), ListedHolidayFileProblems)))
        lines.append(DescribeHolidayFileProblem(problem));
    if (const qsizetype unlisted = holidays_.problems.size() - ListedHolidayFileProblems; unlisted > 0)
        lines.append(QStringLiteral("……另有%1处未能读取").arg(unlisted));
    host_.ShowMessage(this, lines.join(u'\n'), true);
}

void CalendarWindow::HideLunarPart()
{
    panel_->hide();
    almanacPanel_->hide();
    for (QWidget *part : std::initializer_list<QWidget *>{yearText_, lunarText_, lunarCaption_, zodiacPicture_})
        part->hide();
}

void CalendarWindow::SelectDay(int index)
{
    panel_->setTitle(SelectedDayPanel);
    if (index >= CellCount)
        index -= CellCount;
    HideLunarPart();
    pillarText_->hide();
    solarTermLine_->clear();
    solarTermLine_->setToolTip({});
    festivalLine_->move(festivalLine_->x(), FestivalLineTop);
    Highlight(index);

    rememberedDay_ = index + 1;
    const QDate listedMonth = ListedMonthStart();
    const QDate date(listedMonth.year(), listedMonth.month(), rememberedDay_);
    selectedDay_ = date;
    if (!date.isValid()) {
        --rememberedDay_;
        // Nothing is selected: the focus stays, without a ring around an empty place.
        focusSink_->setGeometry(QRect());
        focusSink_->setAccessibleName(QStringLiteral("所选日期"));
        return;
    }
    host_.SelectDate(date);
    focusSink_->setAccessibleName(SelectedDayName(date));
    setWindowTitle(QStringLiteral("所选公历日期:") + LongDateText(date));
    host_.ShowClockText(ClockPrefix + LongDateText(date));
    ShowWeekday(date);
    longDate_->setText(QStringLiteral("公元:") + LongDateText(date));
}

void CalendarWindow::Highlight(int index)
{
    for (ClickableLabel *cell : cells_)
        SetBackgroundColour(cell, CellColour);
    SetBackgroundColour(cells_[index], HighlightColour);
    SetBackgroundColour(cells_[index + CellCount], HighlightColour);
    focusSink_->setGeometry(cells_[index]->geometry().united(cells_[index + CellCount]->geometry()).adjusted(-2, -2, 2, 2));
    focusSink_->raise();
}

void CalendarWindow::ShowWeekday(QDate date)
{
    weekday_->setText(WeekdayNameOf(date));
    SetTextColour(weekday_, WeekdayColour(date));
}

void CalendarWindow::SelectInLists(QDate date)
{
    yearList_->setCurrentIndex(date.year() - FirstYear);
    monthList_->setCurrentIndex(date.month() - 1);
}

void CalendarWindow::GoToToday()
{
    const QDate today = host_.Today();
    // Outside the listed years the link goes to the nearest day they hold;
    // the note under the grid says why.
    const QDate shown = NearestListedDate(today);
    HideLunarPart();
    shownMonthStart_ = QDate(shown.year(), shown.month(), 1);
    RefreshGrid();
    rememberedDay_ = shown.day();
    SelectInLists(shown);
    Highlight(shown.day() - 1);
    rememberedDay_ = shown.day();
    selectedDay_ = shown;
    focusSink_->setAccessibleName(SelectedDayName(shown));
    // Today is selected and described after the lists are set: when both
    // change, the change of the first may select a day of an in-between
    // month, or none.
    host_.SelectDate(shown);
    host_.ShowClockText(ClockPrefix + ShortDateText(shown));
    longDate_->setText(QStringLiteral("公元:") + LongDateText(shown));
    ShowWeekday(shown);
    if (shown == today) {
        panel_->setTitle(TodayPanel);
        setWindowTitle(QStringLiteral("今天公历日期:") + LongDateText(today));
    } else {
        setWindowTitle(QStringLiteral("所选公历日期:") + LongDateText(shown));
    }
}

void CalendarWindow::ShowSelectedDayInfo(const DateEvaluation &evaluation)
{
    // An evaluation asked for before the selection moved on, or was lost to
    // a month without the remembered day, describes a day no longer selected.
    if (evaluation.selectedDate != selectedDay_)
        return;
    shownEvaluation_ = evaluation;
    const QDate date = evaluation.selectedDate;
    if (evaluation.lunarInRange) {
        const LunarDayInfo &lunar = evaluation.lunarDay;
        lunarText_->setText(evaluation.selectedLunarText);
        yearText_->setText(lunar.yearText);
        pillarText_->setText(lunar.monthPillarText + lunar.dayPillarText);
        yearText_->setToolTip(PillarTooltip);
        pillarText_->setToolTip(PillarTooltip);
        const int cycle = YearCycleIndex(lunar.lunar.lunarYear);
        zodiacPicture_->SetPicture(QPixmap::fromImage(ZodiacPicture(cycle % ZodiacAnimalCount + 1)));
        zodiacPicture_->setToolTip(lunar.yearText + NayinOfYear(cycle));
        for (QWidget *part :
             std::initializer_list<QWidget *>{yearText_, pillarText_, lunarText_, lunarCaption_, zodiacPicture_})
            part->show();
    }

    const StarSign &sign = StarSignOf(date.month(), date.day());
    starSignPicture_->SetPicture(QPixmap::fromImage(StarSignPicture(sign.picture)));
    starSignPicture_->setToolTip(QStringLiteral("本日星座:") + sign.name.toString());
    starSignName_->setText(sign.name.toString());

    const SolarTermOfDay term = SolarTermOn(date);
    if (term.name.isEmpty()) {
        festivalLine_->move(festivalLine_->x(), SolarTermLineTop);
    } else {
        solarTermLine_->setText(QStringLiteral("今日") + term.name);
        solarTermLine_->setToolTip(QStringLiteral("今日") + SolarTermTooltip(date, term));
    }
    festivalLine_->setText(evaluation.lunarFestivalText + evaluation.gregorianFestivalText);
    panel_->show();
    const std::optional<DayAlmanac> almanac = DescribeDayAlmanac(date);
    const std::optional<HolidayDay> holiday = holidays_.table.DayOf(date);
    ShowAlmanac(almanac, holiday);
    focusSink_->setAccessibleDescription(SpokenDaySummary(evaluation, almanac, holiday));
}

void CalendarWindow::ShowAlmanac(const std::optional<DayAlmanac> &almanac, const std::optional<HolidayDay> &holiday)
{
    almanacPanel_->setVisible(almanac.has_value());
    if (!almanac)
        return;
    almanacPanel_->setTitle(holiday ? QStringLiteral("黄历　") + HolidayDescription(*holiday) : QStringLiteral("黄历"));
    dayPathBadge_->setText(DayPathBadgeText(*almanac));
    SetTextColour(dayPathBadge_, OnYellowPath(*almanac) ? YellowPathColour : BlackPathColour);
    suitableText_->setText(ActivityListText(almanac->suitable));
    unsuitableText_->setText(ActivityListText(almanac->unsuitable));
    const QList<DayAlmanacLine> details = DayAlmanacDetails(*almanac);
    for (std::size_t i = 0; i < almanacLines_.size(); ++i) {
        almanacLines_[i].first->setText(details[qsizetype(i)].caption);
        almanacLines_[i].second->setText(details[qsizetype(i)].text);
    }
}

void CalendarWindow::RequestTodaysTips()
{
    if (!shownEvaluation_.gregorianFestivalText.isEmpty() || !shownEvaluation_.lunarFestivalText.isEmpty())
        emit TodaysTipsRequested(shownEvaluation_);
}

void CalendarWindow::ExportShownYear()
{
    const int year = shownMonthStart_.year();
    QFileDialog dialog(this, QStringLiteral("导出%1年的万年历").arg(year));
    dialog.setObjectName(QStringLiteral("export_dialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({ExportTermsAndFestivals, ExportWithLunarDays});
    dialog.setDefaultSuffix(QStringLiteral("ics"));
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.setDirectory(QDir(documents).exists() ? documents : QDir::homePath());
    dialog.selectFile(QStringLiteral("万年历%1年.ics").arg(year));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const bool lunarDays = dialog.selectedNameFilter() == ExportWithLunarDays;
    const QString shownPath = QDir::toNativeSeparators(path);
    if (WriteYearIcs(path, year, lunarDays, host_.Now()))
        host_.ShowMessage(this, QStringLiteral("已将%1年的万年历导出到:\n%2").arg(year).arg(shownPath), false);
    else
        host_.ShowMessage(this, QStringLiteral("无法写入日历文件:\n%1").arg(shownPath), true);
}

void CalendarWindow::done(int result)
{
    host_.SetCalendarWindowOpen(false);
    host_.SelectDate(host_.Today());
    QDialog::done(result);
}

void CalendarWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F12 && !event->isAutoRepeat() && panel_->isVisibleTo(this)) {
        accept();
        return;
    }
    PanelDialog::keyReleaseEvent(event);
}

void CalendarWindow::keyPressEvent(QKeyEvent *event)
{
    if (const int months = MonthStepFor(*event)) {
        StepMonth(months);
        return;
    }
    if (focusWidget() == focusSink_) {
        // With no day selected, the first key selects the remembered day.
        const QDate from = selectedDay_.isValid()
                               ? selectedDay_
                               : shownMonthStart_.addDays(std::min(rememberedDay_, shownMonthStart_.daysInMonth()) - 1);
        if (const std::optional<QDate> day = DayForKey(*event, from)) {
            MoveSelectionTo(selectedDay_.isValid() ? *day : from);
            return;
        }
    }
    PanelDialog::keyPressEvent(event);
}

bool CalendarWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto &key = static_cast<const QKeyEvent &>(*event);
        if (watched != yearList_->view()) {
            if (const int months = MonthStepFor(key)) {
                StepMonth(months);
                return true;
            }
        }
        const QString text = key.text();
        const bool yearTyping = watched == yearList_ || watched == yearList_->view();
        if (yearTyping && text.size() == 1 && text.front().isDigit() &&
            !(key.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            TypeYearDigit(watched, text.front());
            return true;
        }
        // Any other key ends the typed year.
        if (yearTyping)
            typedYear_.clear();
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == todayLink_) {
            SetTextColour(todayLink_, Qt::red);
            todayLink_->setToolTip(QStringLiteral("今天是:") + LongDateText(host_.Today()));
        } else if (watched == todayLinkArea_) {
            SetTextColour(todayLink_, Navy);
        }
    }
    return PanelDialog::eventFilter(watched, event);
}
