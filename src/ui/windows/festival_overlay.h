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
// badges, the animations and the Spring Festival pictures. The overlay
// builds them on the window, hidden, gives them their pictures and places,
// switches on the ones an evaluation asks for and takes them all off again.
class FestivalOverlay {
public:
    // `idleViewParts` are the idle view's parts the Spring Festival pictures
    // take the place of; the idle view brings them back.
    FestivalOverlay(QWidget *window, const std::array<QWidget *, 4> &idleViewParts);

    // Switches on every decoration of the evaluation.
    void Apply(const DateEvaluation &evaluation);
    // Takes every decoration off the window.
    void HideAll();
    // The decorations a press and drag moves the window by.
    std::array<QWidget *, 3> DragHandles() const;

private:
    void BuildNewYearBanner(QWidget *window);
    void ShowDecoration(const DecorationRequest &request, const DateEvaluation &evaluation);
    void ShowNewYearBanner(const QString &tooltip, int year);
    void ShowSpringFestival(const QString &tooltip);
    void ShowNationalDay(const QString &tooltip, bool withLunarFestival);
    void Switch(AnimatedPicture *animation, FestivalAnimation (*draw)(), const QString &tooltip);

    const std::array<QWidget *, 4> idleViewParts_;
    QWidget *newYearPanel_ = nullptr;
    PictureLabel *newYearPicture_ = nullptr;
    QLabel *newYearGreeting_ = nullptr;
    QLabel *newYearYear_ = nullptr;
    QLabel *newYearStars_ = nullptr;
    QLabel *newYearEnglish_ = nullptr;
    AnimatedPicture *fireworks_ = nullptr;
    PictureLabel *lotusCarpPicture_ = nullptr;
    PictureLabel *lanternPairPicture_ = nullptr;
    PictureLabel *fortuneDiamondPicture_ = nullptr;
    PictureLabel *armyDayBadge_ = nullptr;
    PictureLabel *youthDayBadge_ = nullptr;
    AnimatedPicture *midAutumn_ = nullptr;
    AnimatedPicture *nationalDay_ = nullptr;
    AnimatedPicture *christmasTree_ = nullptr;
    AnimatedPicture *christmasBells_ = nullptr;
    AnimatedPicture *partyAnniversary_ = nullptr;
};
