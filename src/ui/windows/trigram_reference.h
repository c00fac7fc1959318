#pragma once

#include "ui/windows/panel_dialog.h"

#include <QString>

#include <functional>

class ClickableLabel;
class EffectSound;
class MainWindow;
class PictureButton;
class PictureLabel;
class QTextEdit;

// What the trigram reference and the translation viewer use of the rest of
// the program. Tests hand in fakes.
struct ReferenceWindowServices {
    EffectSound *effects = nullptr;
    QString programFolder;
    // Opens a numbered topic of the help file, owned by the given window.
    std::function<void(QWidget *owner, int topic)> openHelpTopic;
};

// The end of the main window's minimise/close guard: its pictures come back
// a second later.
using GuardEnd = std::function<void()>;

// The help topic on the 《说卦传》.
inline constexpr int ShuoGuaHelpTopic = 1100;

// The trigram reference, "八卦卦象参考": the attributes of the eight trigrams
// and the Earlier and Later Heaven arrangements, one at a time (a click on
// the picture or Space shows the other). Its link opens the help on the
// 《说卦传》. Opened modally from the main window and from the translation
// viewer; closing it calls `endGuard`, which the viewer gives as nothing to
// do, since it ends the main window's guard itself when it closes.
class TrigramReference : public PanelDialog {
    Q_OBJECT
public:
    TrigramReference(const ReferenceWindowServices &services, GuardEnd endGuard, QWidget *parent);

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildPictures();
    void BuildAttributeText();
    void BuildCloseButton();
    void WatchEvents();

    void ShowOtherPicture(PictureLabel *shown);
    void SwapByKey();
    void SetLinkColour(const QColor &colour);
    void PlaySound(const QString &relativePath);

    ReferenceWindowServices services_;
    GuardEnd endGuard_;
    PictureLabel *earlierHeaven_ = nullptr;
    PictureLabel *laterHeaven_ = nullptr;
    ClickableLabel *link_ = nullptr;
    QTextEdit *attributes_ = nullptr;
    PictureButton *closeButton_ = nullptr;
};

// Connects the main window's trigram command (F8) to a new
// reference window, run behind the main window's guard.
void ConnectTrigramCommand(MainWindow &window, const ReferenceWindowServices &services);
