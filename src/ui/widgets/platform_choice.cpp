#include "ui/widgets/platform_choice.h"

#include <QByteArray>
#include <QtGlobal>

namespace {

constexpr char PlatformVariable[] = "QT_QPA_PLATFORM";
bool chosenHere = false;

} // namespace

void PreferX11Platform()
{
    if (!qEnvironmentVariableIsEmpty(PlatformVariable))
        return;
    chosenHere = qputenv(PlatformVariable, QByteArrayLiteral("xcb;wayland"));
}

void ForgetPlatformPreference()
{
    if (chosenHere)
        qunsetenv(PlatformVariable);
    chosenHere = false;
}
