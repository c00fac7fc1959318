#include "ui/widgets/music_toggle_box.h"

#include <array>

namespace {

constexpr std::array<Qt::CheckState, 3> StateOfValue{Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};

} // namespace

MusicToggleBox::MusicToggleBox(const QString &name, QWidget *parent)
    : QCheckBox(parent)
{
    setObjectName(name);
    setTristate(true);
}

int MusicToggleBox::Value() const
{
    for (int value = 0; value < int(StateOfValue.size()); ++value) {
        if (StateOfValue[value] == checkState())
            return value;
    }
    return 0;
}

void MusicToggleBox::SetValue(int value)
{
    if (value >= 0 && value < int(StateOfValue.size()))
        setCheckState(StateOfValue[value]);
}

void MusicToggleBox::nextCheckState()
{
}
