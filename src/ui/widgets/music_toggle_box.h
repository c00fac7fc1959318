#pragma once

#include <QCheckBox>

// The three-state music toggle. It never changes itself when clicked: the
// music control decides the new value and the window shows it, so a click
// only reports the user's wish.
class MusicToggleBox : public QCheckBox {
    Q_OBJECT
public:
    explicit MusicToggleBox(const QString &name, QWidget *parent);

    // 0 off, 1 background music, 2 festival music (shown greyed).
    int Value() const;
    void SetValue(int value);

protected:
    void nextCheckState() override;
};
