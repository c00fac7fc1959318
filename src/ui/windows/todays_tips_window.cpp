#include "ui/windows/todays_tips_window.h"

#include "calendar/date_evaluation.h"
#include "core/date_text.h"
#include "shell/settings.h"
#include "ui/art/fonts.h"
#include "ui/art/palette.h"
#include "ui/art/tips_art.h"
#include "ui/widgets/entry_lines_label.h"
#include "ui/widgets/label_kit.h"
#include "ui/widgets/picture_label.h"
#include "ui/widgets/window_drag.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr QSize WindowSize{420, 262};
// Clear of the panel's fret corners.
constexpr int Margin = 22;
const QColor LegendColour(0x6e, 0x5a, 0x48);

const QString FrameStyle = QStringLiteral(
    "QLabel#tips_frame { background: rgba(255, 250, 238, 200); border: 1px solid rgba(160, 30, 22, 150);"
    " border-radius: 6px; }");
const QString RuleStyle = QStringLiteral("QLabel { background: rgba(160, 30, 22, 120); }");
const QString CommandStyle = QStringLiteral(
    "QPushButton { color: #f6e3a4; border: 1px solid #d4a437; border-radius: 5px;"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b0362a, stop:1 #74150f); }"
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c8463a, stop:1 #8a1d15); }"
    "QPushButton:pressed { background: #5e1010; }");

// The festival texts of an evaluation cut into their entries, each a blank,
// its mark (★ lunar, ☆ Gregorian) and its name.
QStringList FestivalEntries(const QString &festivals)
{
    QStringList entries;
    for (qsizetype i = 0; i < festivals.size(); ++i) {
        const bool entryStarts = festivals.at(i) == QLatin1Char(' ') && i + 1 < festivals.size() &&
                                 (festivals.at(i + 1) == u'★' || festivals.at(i + 1) == u'☆');
        if (entryStarts || entries.isEmpty())
            entries << QString();
        entries.last() += festivals.at(i);
    }
    return entries;
}

// "今日提示:2006-1-29(正月初一)"; a date without a lunar text has no brackets.
QString TipsCaption(const DateEvaluation &evaluation)
{
    QString caption = QStringLiteral("今日提示:") + ShortDateText(evaluation.selectedDate);
    if (!evaluation.selectedLunarText.isEmpty())
        caption += QLatin1Char('(') + evaluation.selectedLunarText + QLatin1Char(')');
    return caption;
}

// A double-click on a label closes the window.
class DoubleClickLabel : public QLabel {
public:
    DoubleClickLabel(const QString &name, const QString &text, QDialog *window)
        : QLabel(text, window)
        , window_(window)
    {
        setObjectName(name);
    }

protected:
    void mouseDoubleClickEvent(QMouseEvent *) override { window_->accept(); }

private:
    QDialog *window_;
};

} // namespace

TodaysTipsWindow::TodaysTipsWindow(const DateEvaluation &evaluation, Settings &settings, QWidget *parent)
    : PanelDialog(QStringLiteral("todays_tips_window"), WindowSize, parent)
{
    setWindowTitle(TipsCaption(evaluation));
    const QRect panel = PanelArea();

    const QStringList festivals =
        FestivalEntries(evaluation.lunarFestivalText) + FestivalEntries(evaluation.gregorianFestivalText);
    // The picture of the day's festival group, centred in the corner box.
    const QRect pictureBox(panel.left() + Margin - 4, panel.top() + Margin, 84, 105);
    const QImage art = TipsPicture(TipsPictureGroupOf(festivals))
                           .scaled(pictureBox.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    auto *picture = new PictureLabel(QStringLiteral("festival_picture"), this);
    picture->SetPicture(QPixmap::fromImage(art));
    picture->move(pictureBox.center() - QPoint(art.width() / 2, art.height() / 2));
    picture->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *heading = new DoubleClickLabel(QStringLiteral("heading_label"), QStringLiteral("节日提示"), this);
    heading->setGeometry(panel.left() + 112, panel.top() + 10, 200, 26);
    heading->setFont(SerifFont(18, QFont::Bold));
    SetTextColour(heading, ArtPalette::Heading);
    Drag()->AddHandle(heading);

    auto *shape = MakeTextLabel(QStringLiteral("tips_frame"), {}, QRect(panel.left() + 110, panel.top() + 42,
                                                                     panel.width() - 110 - Margin, 78),
                                font(), ArtPalette::Ink, this);
    shape->setStyleSheet(FrameStyle);
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Lines break between festivals only, never inside a name.
    auto *tips = new EntryLinesLabel(this);
    tips->setObjectName(QStringLiteral("tips_label"));
    tips->setGeometry(shape->geometry().adjusted(8, 6, -8, -6));
    tips->setFont(SerifFont(15));
    SetTextColour(tips, ArtPalette::Ink);
    tips->SetEntries(QStringList{QStringLiteral("  今天是:")} + festivals);
    tips->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Two red rules frame the legend.
    for (int line = 0; line < 2; ++line) {
        auto *rule = new QLabel(this);
        rule->setObjectName(QStringLiteral("Line%1").arg(line + 1));
        rule->setGeometry(panel.left() + Margin, panel.top() + 132 + line * 32, panel.width() - 2 * Margin, 1);
        rule->setStyleSheet(RuleStyle);
    }

    auto *legend = MakeTextLabel(QStringLiteral("legend_label"), QStringLiteral("★表示日期为农历;☆表示日期为公历"),
                                 QRect(panel.left() + Margin, panel.top() + 138, panel.width() - 2 * Margin, 20), SansFont(12),
                                 LegendColour, this);
    legend->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *dontShow = new QCheckBox(QStringLiteral("以后不显示此窗口"), this);
    dontShow->setObjectName(QStringLiteral("dont_show_again_box"));
    dontShow->setGeometry(panel.left() + Margin, panel.top() + 178, 200, 24);
    dontShow->setChecked(!AllowsTodayTips(settings));
    connect(dontShow, &QCheckBox::toggled, this, [&settings](bool checked) { settings.todayTips = !checked; });

    auto *close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("close_button"));
    close->setGeometry(panel.right() - Margin - 86, panel.top() + 176, 86, 28);
    close->setStyleSheet(CommandStyle);
    close->setFont(SansFont(13, QFont::Bold));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    connect(Background(), &PictureLabel::DoubleClicked, this, &QDialog::accept);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
}
