#include "ui/windows/festival_overlay.h"

#include "ui/widgets/animated_picture.h"
#include "ui/art/festival_art.h"
#include "calendar/date_evaluation.h"
#include "ui/art/fonts.h"
#include "ui/windows/main_window_layout.h"
#include "ui/widgets/picture_label.h"

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
    : newYearPanel_(controls.newYearPanel)
    , newYearPicture_(controls.newYearPicture)
    , newYearGreeting_(controls.newYearGreeting)
    , newYearYear_(controls.newYearYear)
    , newYearStars_(controls.newYearStars)
    , newYearEnglish_(controls.newYearEnglish)
    , fireworks_(controls.fireworks)
    , springPicture_(controls.springPicture)
    , springCompanions_(controls.springCompanions)
    , idleViewParts_(controls.idleViewParts)
    , youthDayBadge_(controls.youthDayBadge)
    , armyDayBadge_(controls.armyDayBadge)
    , midAutumn_(controls.midAutumn)
    , nationalDay_(controls.nationalDay)
    , christmas_(controls.christmas)
    , partyAnniversary_(controls.partyAnniversary)
{
    const QSize bannerSize = QSize(NewYearBannerWidth, NewYearBannerHeight) * NewYearBannerScale;
    newYearPanel_->setGeometry(QRect(NewYearBannerPlace, bannerSize));
    QPalette navy = newYearPanel_->palette();
    navy.setColor(QPalette::Window, NewYearBannerNavy);
    newYearPanel_->setPalette(navy);
    newYearPanel_->setAutoFillBackground(true);
    newYearPicture_->move(0, 0);
    newYearPicture_->lower();

    const NewYearBannerLayout &places = NewYearBannerPlaces();
    fireworks_->move(Scaled(places.fireworks, NewYearBannerScale).topLeft());
    PlaceBannerText(newYearGreeting_, places.greeting, SerifFont(BannerTypeSize(places.greeting, 0.72), QFont::Black));
    PlaceBannerText(newYearYear_, places.year, SerifFont(BannerTypeSize(places.year, 0.78), QFont::Bold));
    PlaceBannerText(newYearStars_, places.stars, SansFont(BannerTypeSize(places.stars, 0.7)));
    PlaceBannerText(newYearEnglish_, places.english, SerifFont(BannerTypeSize(places.english, 0.62), QFont::DemiBold));

    springPicture_->move(LotusCarpPlace);
    springCompanions_[0]->move(LanternPairPlace);
    springCompanions_[1]->move(FortuneDiamondPlace);
    youthDayBadge_->move(YouthDayBadgePlace);
    armyDayBadge_->move(ArmyDayBadgePlace);
    midAutumn_->move(MidAutumnPlace);
    nationalDay_->move(MidAutumnPlace);
    christmas_[0]->move(ChristmasTreePlace);
    christmas_[1]->move(ChristmasBellsPlace);
    partyAnniversary_->move(PartyAnniversaryPlace);
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
        GivePicture(youthDayBadge_, YouthDayBadgePicture);
        youthDayBadge_->setToolTip(request.tooltip);
        youthDayBadge_->show();
        break;
    case FestivalDecoration::PartyAnniversary:
        Switch(partyAnniversary_, PartyAnniversaryAnimation, request.tooltip);
        break;
    case FestivalDecoration::ArmyDayBadge:
        GivePicture(armyDayBadge_, ArmyDayBadgePicture);
        armyDayBadge_->move(ArmyDayBadgePlace);
        armyDayBadge_->setToolTip(request.tooltip);
        armyDayBadge_->show();
        break;
    case FestivalDecoration::NationalDay:
        ShowNationalDay(request.tooltip, !evaluation.lunarFestivalText.isEmpty());
        break;
    case FestivalDecoration::Christmas:
        Switch(christmas_[0], ChristmasTreeAnimation, request.tooltip);
        Switch(christmas_[1], ChristmasBellsAnimation, request.tooltip);
        break;
    case FestivalDecoration::MidAutumn:
        Switch(midAutumn_, MidAutumnAnimation, request.tooltip);
        break;
    case FestivalDecoration::SpringFestival:
        ShowSpringFestival(request.tooltip);
        break;
    }
}

void FestivalOverlay::ShowNewYearBanner(const QString &tooltip, int year)
{
    if (newYearPicture_->Picture().isNull())
        newYearPicture_->SetPicture(QPixmap::fromImage(
            NewYearBannerPicture().scaled(newYearPanel_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    GiveFrames(fireworks_, NewYearFireworksAnimation, NewYearBannerScale);
    fireworks_->Start();
    for (QWidget *part : std::initializer_list<QWidget *>{newYearPicture_, newYearStars_, newYearEnglish_})
        part->show();
    newYearYear_->setText(QString::number(year));
    newYearYear_->show();
    newYearGreeting_->setToolTip(tooltip);
    newYearGreeting_->show();
    newYearPanel_->show();
    newYearPanel_->raise();
}

void FestivalOverlay::ShowSpringFestival(const QString &tooltip)
{
    GivePicture(springPicture_, LotusCarpPicture);
    GivePicture(springCompanions_[0], LanternPairPicture);
    GivePicture(springCompanions_[1], FortuneDiamondPicture);
    springPicture_->show();
    for (QWidget *part : idleViewParts_)
        part->hide();
    for (PictureLabel *picture : springCompanions_)
        picture->show();
    // On the eve of the new year the picture keeps its own greeting.
    springPicture_->setToolTip(tooltip.isEmpty() ? QStringLiteral("莲年有余") : tooltip);
}

void FestivalOverlay::ShowNationalDay(const QString &tooltip, bool withLunarFestival)
{
    // Placed below where Mid-Autumn's animation shows, whether or not it has shown yet.
    GiveFrames(midAutumn_, MidAutumnAnimation);
    const int top = withLunarFestival ? midAutumn_->y() + midAutumn_->height() + NationalDayGap : midAutumn_->y();
    nationalDay_->move(midAutumn_->x(), top);
    Switch(nationalDay_, NationalDayAnimation, tooltip);
}

void FestivalOverlay::Switch(AnimatedPicture *animation, FestivalAnimation (*draw)(), const QString &tooltip)
{
    GiveFrames(animation, draw);
    animation->setToolTip(tooltip);
    animation->Start();
    animation->raise();
}
