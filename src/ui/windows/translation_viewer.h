#pragma once

#include "ui/windows/trigram_reference.h"

#include <QDialog>
#include <QTimer>

#include <array>

class ClickableLabel;
class MainWindow;
class PictureLabel;
class QLabel;
class QPlainTextEdit;
struct CastResult;

// The unrolling of the translation text: each tick of the timer lowers the
// text by 100 twips and shortens the interval, from 200 ms by 5 ms a tick
// down to 50 ms. Past 3600 twips the timer stops and the text takes its full
// height at once.
struct UnrollState {
    int intervalMs = 1000;
    int heightTwips = 0;
    bool running = true;

    bool operator==(const UnrollState &) const = default;
};
inline constexpr int UnrolledHeightTwips = 5300;
UnrollState NextUnrollState(UnrollState state);

// The translation viewer, "卦、爻辞译文": the six lines, the name and number
// and the translation entry of the hexagram whose line string is `lines`.
// The text unrolls downwards after the window opens; a
// switch (or B) sets it bold and back; F8 or a click on the lines opens the
// trigram reference. Frameless, dragged by its background.
class TranslationViewer : public QDialog {
    Q_OBJECT
public:
    TranslationViewer(const ReferenceWindowServices &services, GuardEnd endGuard, const QString &lines,
                      QWidget *parent);

    // One tick of the unroll timer.
    void Unroll();

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void BuildBackground();
    void BuildLinePictures();
    void BuildHeading();
    void BuildText();
    void BuildSwitches();
    void BuildBand();
    void MakeDragHandles();
    void Load(const QString &lines);

    void SetBold(bool bold);
    void OpenReference();
    void PlaySound(const QString &relativePath);

    ReferenceWindowServices services_;
    GuardEnd endGuard_;
    UnrollState unroll_;
    QTimer unrollTimer_;
    PictureLabel *background_ = nullptr;
    std::array<PictureLabel *, 6> linePictures_{};
    PictureLabel *yinPicture_ = nullptr;
    ClickableLabel *referenceLink_ = nullptr;
    QLabel *heading_ = nullptr;
    QPlainTextEdit *text_ = nullptr;
    PictureLabel *boldSwitch_ = nullptr;
    PictureLabel *normalSwitch_ = nullptr;
    ClickableLabel *closeLabel_ = nullptr;
    PictureLabel *band_ = nullptr;
};

// Connects the main window's translation commands (1 and 2, clicks on the
// primary and the resulting hexagram's texts) to a new viewer of the primary or the resulting hexagram, run
// behind the main window's guard. The hexagrams are those of the cast in hand.
void ConnectTranslationCommands(MainWindow &window, const ReferenceWindowServices &services,
                                const CastResult &castInHand);
