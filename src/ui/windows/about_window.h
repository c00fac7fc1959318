#pragma once

#include <QDialog>

#include <functional>

class ClickableLabel;
class Mp3Player;

// The about window: the version, the about text and a link to the
// product's web page, with music while it is open. A click on the window's
// background or on the version, or F12, closes it.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(Mp3Player &player, const QString &programFolder, std::function<void()> openWebPage,
                QWidget *parent);

    void done(int result) override;

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    Mp3Player &player_;
    std::function<void()> openWebPage_;
};
