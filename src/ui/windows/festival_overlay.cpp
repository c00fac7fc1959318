#include "ui/windows/festival_overlay.h"

#include "calendar/date_evaluation.h"
#include "ui/art/festival_art.h"
#include "ui/art/fonts.h"
#include "ui/art/main_window_layout.h"
#include "ui/widgets/animated_picture.h"
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

FestivalOverlay::FestivalOverlay(QWidget *window, const std::array<QWidget *, 4> &idleViewParts)
    : idleViewParts_(idleViewParts)
{
    BuildNewYearBanner(window);

    lotusCarpPicture_ = new PictureLabel(QStringLiteral("lotus_carp_picture"), window);
    lotusCarpPicture_->setToolTip(QStringLiteral("莲年有余"));
    lanternPairPicture_ = new PictureLabel(QStringLiteral("lantern_pair_picture"), window);
    fortuneDiamondPicture_ = new PictureLabel(QStringLiteral("fortune_diamond_picture"), window);
    armyDayBadge_ = new PictureLabel(QStringLiteral("army_day_badge"), window);
    youthDayBadge_ = new PictureLabel(QStringLiteral("youth_day_badge"), window);
    // A click puts the Youth Day badge away.
    QObject::connect(youthDayBadge_, &PictureLabel::Clicked, youthDayBadge_, &QWidget::hide);

    midAutumn_ = new AnimatedPicture(QStringLiteral("mid_autumn_animation"), window);
    nationalDay_ = new AnimatedPicture(QStringLiteral("national_day_animation"), window);
    christmasTree_ = new AnimatedPicture(QStringLiteral("christmas_tree_animation"), window);
    christmasBells_ = new AnimatedPicture(QStringLiteral("christmas_bells_animation"), window);
    // The fireworks play inside the New Year banner.
    fireworks_ = new AnimatedPicture(QStringLiteral("new_year_fireworks_animation"), newYearPanel_);
    partyAnniversary_ = new AnimatedPicture(QStringLiteral("party_anniversary_animation"), window);

    const NewYearBannerLayout &places = NewYearBannerPlaces();
    fireworks_->move(Scaled(places.fireworks, NewYearBannerScale).topLeft());
    lotusCarpPicture_->move(LotusCarpPlace);
    lanternPairPicture_->move(LanternPairPlace);
    fortuneDiamondPicture_->move(FortuneDiamondPlace);
    youthDayBadge_->move(YouthDayBadgePlace);
    armyDayBadge_->move(ArmyDayBadgePlace);
    midAutumn_->move(MidAutumnPlace);
    nationalDay_->move(MidAutumnPlace);
    christmasTree_->move(ChristmasTreePlace);
    christmasBells_->move(ChristmasBellsPlace);
    partyAnniversary_->move(PartyAnniversaryPlace);
    HideAll();
}

void FestivalOverlay::BuildNewYearBanner(QWidget *window)
{
    newYearPanel_ = new QWidget(window);
    newYearPanel_->setObjectName(QStringLiteral("new_year_panel"));
    const QSize bannerSize = QSize(NewYearBannerWidth, NewYearBannerHeight) * NewYearBannerScale;
    newYearPanel_->setGeometry(QRect(NewYearBannerPlace, bannerSize));
    QPalette navy = newYearPanel_->palette();
    navy.setColor(QPalette::Window, NewYearBannerNavy);
    newYearPanel_->setPalette(navy);
    newYearPanel_->setAutoFillBackground(true);

    newYearPicture_ = new PictureLabel(QStringLiteral("new_year_picture"), newYearPanel_);
    const auto bannerText = [this](const char *name, const QString &text) {
        auto *label = new QLabel(text, newYearPanel_);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    newYearGreeting_ = bannerText("new_year_greeting_label", QStringLiteral("新年好!"));
    newYearYear_ = bannerText("new_year_year_label", QStringLiteral("2000"));
    newYearStars_ = bannerText("new_year_stars_label", QStringLiteral("★★★★★★★"));
    newYearEnglish_ = bannerText("new_year_english_label", QStringLiteral("Happy New Year"));
    newYearPicture_->move(0, 0);
    newYearPicture_->lower();

    const NewYearBannerLayout &places = NewYearBannerPlaces();
    PlaceBannerText(newYearGreeting_, places.greeting, SerifFont(BannerTypeSize(places.greeting, 0.72), QFont::Black));
    PlaceBannerText(newYearYear_, places.year, SerifFont(BannerTypeSize(places.year, 0.78), QFont::Bold));
    PlaceBannerText(newYearStars_, places.stars, SansFont(BannerTypeSize(places.stars, 0.7)));
    PlaceBannerText(newYearEnglish_, places.english, SerifFont(BannerTypeSize(places.english, 0.62), QFont::DemiBold));
}

void FestivalOverlay::Apply(const DateEvaluation &evaluation)
{
    for (const DecorationRequest &request : evaluation.decorations)
        ShowDecoration(request, evaluation);
}

void FestivalOverlay::HideAll()
{
    for (QWidget *picture : std::initializer_list<QWidget *>{youthDayBadge_, armyDayBadge_, lanternPairPicture_,
                                                             fortuneDiamondPicture_, newYearPanel_, lotusCarpPicture_,
                                                             newYearGreeting_})
        picture->hide();
    for (AnimatedPicture *animation :
         {partyAnniversary_, fireworks_, midAutumn_, nationalDay_, christmasTree_, christmasBells_})
        animation->Stop();
}

std::array<QWidget *, 3> FestivalOverlay::DragHandles() const
{
    return {newYearPanel_, lotusCarpPicture_, armyDayBadge_};
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
        Switch(christmasTree_, ChristmasTreeAnimation, request.tooltip);
        Switch(christmasBells_, ChristmasBellsAnimation, request.tooltip);
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
    GivePicture(lotusCarpPicture_, LotusCarpPicture);
    GivePicture(lanternPairPicture_, LanternPairPicture);
    GivePicture(fortuneDiamondPicture_, FortuneDiamondPicture);
    lotusCarpPicture_->show();
    for (QWidget *part : idleViewParts_)
        part->hide();
    lanternPairPicture_->show();
    fortuneDiamondPicture_->show();
    // On the eve of the new year the picture keeps its own greeting.
    lotusCarpPicture_->setToolTip(tooltip.isEmpty() ? QStringLiteral("莲年有余") : tooltip);
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
