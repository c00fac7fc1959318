#include "ui/windows/festival_overlay.h"

#include "calendar/date_evaluation.h"
#include "ui/art/festival_art.h"
#include "ui/art/fonts.h"
#include "ui/widgets/animated_picture.h"
#include "ui/widgets/picture_label.h"
#include "ui/windows/main_window_layout.h"

#include <QLabel>

namespace {

// The New Year banner starts below the quotes banner's saying and is drawn
// smaller, so that it ends above the command bar instead of covering its
// buttons.
constexpr QPoint NewYearBannerPlace{37, 84};
constexpr int NewYearBannerBottom = MainLayout::UpperRuleY - 4;
constexpr qreal NewYearBannerScale =
    qreal(NewYearBannerBottom - NewYearBannerPlace.y()) / NewYearBannerHeight;
const QColor NewYearBannerNavy(0, 0, 120);
const QColor NewYearBannerGold(0xf6, 0xd3, 0x6b);

// The Spring Festival pictures take the places of the idle view's trigram
// wheel and scroll: lanterns, the lotus-and-carp print, then 福 above the seal.
constexpr QPoint LanternPairPlace{40, 96};
constexpr QPoint LotusCarpPlace{176, 92};
constexpr QPoint FortuneDiamondPlace{492, 100};

// The badges and animations sit on the scroll's painting, over its sun and
// hills; National Day goes below Mid-Autumn when both show. The Army Day
// badge keeps its given place between the trigram wheel and the scroll.
constexpr QPoint MidAutumnPlace{282, 110};
constexpr QPoint PartyAnniversaryPlace{282, 110};
constexpr QPoint ChristmasTreePlace{290, 118};
constexpr QPoint ChristmasBellsPlace{384, 118};
constexpr QPoint YouthDayBadgePlace{292, 116};
constexpr QPoint ArmyDayBadgePlace{221, 126};
constexpr int NationalDayGap = 25;

QList<QPixmap> FramesOf(const FestivalAnimation &animation, qreal scale = 1)
{
    QList<QPixmap> frames;
    for (const QImage &frame : animation.frames) {
        const QImage shown =
            scale == 1 ? frame : frame.scaled(frame.size() * scale, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        frames.append(QPixmap::fromImage(shown));
    }
    return frames;
}

QRect Scaled(const QRect &box, qreal scale)
{
    return QRect(qRound(box.x() * scale), qRound(box.y() * scale), qRound(box.width() * scale),
                 qRound(box.height() * scale));
}

// A banner label fills its place, in a type sized to the place's height.
void PlaceBannerText(QLabel *label, const QRect &place, const QFont &font)
{
    label->setGeometry(Scaled(place, NewYearBannerScale));
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, NewYearBannerGold);
    label->setPalette(palette);
}

int BannerTypeSize(const QRect &place, qreal share)
{
    return qRound(place.height() * NewYearBannerScale * share);
}

// A decoration's pictures are drawn the first time it shows: most days show
// none, and drawing every festival's frames would hold up the start by a
// good part of a second.
void GivePicture(PictureLabel *label, QImage (*draw)())
{
    if (label->Picture().isNull())
        label->SetPicture(QPixmap::fromImage(draw()));
}

void GiveFrames(AnimatedPicture *animation, FestivalAnimation (*draw)(), qreal scale = 1)
{
    if (animation->HasFrames())
        return;
    const FestivalAnimation frames = draw();
    animation->SetFrames(FramesOf(frames, scale), frames.frameIntervalMs);
}

} // namespace

FestivalOverlay::FestivalOverlay(const FestivalOverlayControls &controls)
    : controls_(controls)
{
    const QSize bannerSize = QSize(NewYearBannerWidth, NewYearBannerHeight) * NewYearBannerScale;
    controls_.newYearPanel->setGeometry(QRect(NewYearBannerPlace, bannerSize));
    QPalette navy = controls_.newYearPanel->palette();
    navy.setColor(QPalette::Window, NewYearBannerNavy);
    controls_.newYearPanel->setPalette(navy);
    controls_.newYearPanel->setAutoFillBackground(true);
    controls_.newYearPicture->move(0, 0);
    controls_.newYearPicture->lower();

    const NewYearBannerLayout &places = NewYearBannerPlaces();
    controls_.fireworks->move(Scaled(places.fireworks, NewYearBannerScale).topLeft());
    PlaceBannerText(controls_.newYearGreeting, places.greeting, SerifFont(BannerTypeSize(places.greeting, 0.72), QFont::Black));
    PlaceBannerText(controls_.newYearYear, places.year, SerifFont(BannerTypeSize(places.year, 0.78), QFont::Bold));
    PlaceBannerText(controls_.newYearStars, places.stars, SansFont(BannerTypeSize(places.stars, 0.7)));
    PlaceBannerText(controls_.newYearEnglish, places.english, SerifFont(BannerTypeSize(places.english, 0.62), QFont::DemiBold));

    controls_.springPicture->move(LotusCarpPlace);
    controls_.springCompanions[0]->move(LanternPairPlace);
    controls_.springCompanions[1]->move(FortuneDiamondPlace);
    controls_.youthDayBadge->move(YouthDayBadgePlace);
    controls_.armyDayBadge->move(ArmyDayBadgePlace);
    controls_.midAutumn->move(MidAutumnPlace);
    controls_.nationalDay->move(MidAutumnPlace);
    controls_.christmas[0]->move(ChristmasTreePlace);
    controls_.christmas[1]->move(ChristmasBellsPlace);
    controls_.partyAnniversary->move(PartyAnniversaryPlace);
}

void FestivalOverlay::Apply(const DateEvaluation &evaluation)
{
    for (const DecorationRequest &request : evaluation.decorations)
        ShowDecoration(request, evaluation);
}

void FestivalOverlay::ShowDecoration(const DecorationRequest &request, const DateEvaluation &evaluation)
{
    switch (request.decoration) {
    case FestivalDecoration::NoDecoration:
        break;
    case FestivalDecoration::NewYearBanner:
        ShowNewYearBanner(request.tooltip, evaluation.newYearBannerYear);
        break;
    case FestivalDecoration::YouthDayBadge:
        GivePicture(controls_.youthDayBadge, YouthDayBadgePicture);
        controls_.youthDayBadge->setToolTip(request.tooltip);
        controls_.youthDayBadge->show();
        break;
    case FestivalDecoration::PartyAnniversary:
        Switch(controls_.partyAnniversary, PartyAnniversaryAnimation, request.tooltip);
        break;
    case FestivalDecoration::ArmyDayBadge:
        GivePicture(controls_.armyDayBadge, ArmyDayBadgePicture);
        controls_.armyDayBadge->move(ArmyDayBadgePlace);
        controls_.armyDayBadge->setToolTip(request.tooltip);
        controls_.armyDayBadge->show();
        break;
    case FestivalDecoration::NationalDay:
        ShowNationalDay(request.tooltip, !evaluation.lunarFestivalText.isEmpty());
        break;
    case FestivalDecoration::Christmas:
        Switch(controls_.christmas[0], ChristmasTreeAnimation, request.tooltip);
        Switch(controls_.christmas[1], ChristmasBellsAnimation, request.tooltip);
        break;
    case FestivalDecoration::MidAutumn:
        Switch(controls_.midAutumn, MidAutumnAnimation, request.tooltip);
        break;
    case FestivalDecoration::SpringFestival:
        ShowSpringFestival(request.tooltip);
        break;
    }
}

void FestivalOverlay::ShowNewYearBanner(const QString &tooltip, int year)
{
    if (controls_.newYearPicture->Picture().isNull())
        controls_.newYearPicture->SetPicture(QPixmap::fromImage(
            NewYearBannerPicture().scaled(controls_.newYearPanel->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    GiveFrames(controls_.fireworks, NewYearFireworksAnimation, NewYearBannerScale);
    controls_.fireworks->Start();
    for (QWidget *part : std::initializer_list<QWidget *>{controls_.newYearPicture, controls_.newYearStars, controls_.newYearEnglish})
        part->show();
    controls_.newYearYear->setText(QString::number(year));
    controls_.newYearYear->show();
    controls_.newYearGreeting->setToolTip(tooltip);
    controls_.newYearGreeting->show();
    controls_.newYearPanel->show();
    controls_.newYearPanel->raise();
}

void FestivalOverlay::ShowSpringFestival(const QString &tooltip)
{
    GivePicture(controls_.springPicture, LotusCarpPicture);
    GivePicture(controls_.springCompanions[0], LanternPairPicture);
    GivePicture(controls_.springCompanions[1], FortuneDiamondPicture);
    controls_.springPicture->show();
    for (QWidget *part : controls_.idleViewParts)
        part->hide();
    for (PictureLabel *picture : controls_.springCompanions)
        picture->show();
    // On the eve of the new year the picture keeps its own greeting.
    controls_.springPicture->setToolTip(tooltip.isEmpty() ? QStringLiteral("莲年有余") : tooltip);
}

void FestivalOverlay::ShowNationalDay(const QString &tooltip, bool withLunarFestival)
{
    // Placed below where Mid-Autumn's animation shows, whether or not it has shown yet.
    GiveFrames(controls_.midAutumn, MidAutumnAnimation);
    const int top = withLunarFestival ? controls_.midAutumn->y() + controls_.midAutumn->height() + NationalDayGap : controls_.midAutumn->y();
    controls_.nationalDay->move(controls_.midAutumn->x(), top);
    Switch(controls_.nationalDay, NationalDayAnimation, tooltip);
}

void FestivalOverlay::Switch(AnimatedPicture *animation, FestivalAnimation (*draw)(), const QString &tooltip)
{
    GiveFrames(animation, draw);
    animation->setToolTip(tooltip);
    animation->Start();
    animation->raise();
}
