#pragma once

#include <QString>

#include <array>

class AnimatedPicture;
class PictureLabel;
class QLabel;
class QWidget;
struct DateEvaluation;
struct FestivalAnimation;
struct DecorationRequest;

// The festival greetings on the main window: the New Year banner, the
// badges, the animations and the Spring Festival pictures. The main window
// owns the controls and hides them all when it returns to its idle view;
// this class gives them their pictures and places and switches on the ones
// an evaluation asks for.
// The main window's controls the greetings use.
struct FestivalOverlayControls {
    QWidget *newYearPanel = nullptr;
    PictureLabel *newYearPicture = nullptr;
    QLabel *newYearGreeting = nullptr;
    QLabel *newYearYear = nullptr;
    QLabel *newYearStars = nullptr;
    QLabel *newYearEnglish = nullptr;
    AnimatedPicture *fireworks = nullptr;
    PictureLabel *springPicture = nullptr;
    std::array<PictureLabel *, 2> springCompanions{};
    // The idle view's parts the Spring Festival pictures take the place of.
    std::array<QWidget *, 4> idleViewParts{};
    PictureLabel *youthDayBadge = nullptr;
    PictureLabel *armyDayBadge = nullptr;
    AnimatedPicture *midAutumn = nullptr;
    AnimatedPicture *nationalDay = nullptr;
    std::array<AnimatedPicture *, 2> christmas{};
    AnimatedPicture *partyAnniversary = nullptr;
};

class FestivalOverlay {
public:
    // Places and colours the controls; they stay hidden until an evaluation
    // asks for them.
    explicit FestivalOverlay(const FestivalOverlayControls &controls);

    // Switches on every decoration of the evaluation.
    void Apply(const DateEvaluation &evaluation);

private:
    void ShowDecoration(const DecorationRequest &request, const DateEvaluation &evaluation);
    void ShowNewYearBanner(const QString &tooltip, int year);
    void ShowSpringFestival(const QString &tooltip);
    void ShowNationalDay(const QString &tooltip, bool withLunarFestival);
    void Switch(AnimatedPicture *animation, FestivalAnimation (*draw)(), const QString &tooltip);

    const FestivalOverlayControls controls_;
};
