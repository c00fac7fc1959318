#include "ui/windows/cast_commands.h"

#include "ui/windows/cast_display.h"
#include "ui/windows/main_window.h"


void ConnectCastCommands(MainWindow &window, const CastCommandServices &services)
{
    QObject::connect(&window, &MainWindow::CastRequested, &window, [&window, services] {
        MainWindowCastDisplay display(window);
        CastingWindow casting(services.casting, *services.settings, *services.castInHand, display, &window);
        window.RunHiddenChild(casting);
    });
    QObject::connect(&window, &MainWindow::RuleHelpRequested, &window, [&window, services](const QString &rule) {
        OpenRuleHelp(rule, *services.casting.effects, services.casting.programFolder,
                     [&window, &services](int topic) { services.openHelpTopic(&window, topic); });
    });
}
