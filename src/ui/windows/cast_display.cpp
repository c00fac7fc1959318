#include "ui/windows/cast_display.h"

#include "core/changing_line_rules.h"
#include "core/program_sounds.h"
#include "shell/sound_effect.h"
#include "ui/windows/main_window.h"

MainWindowCastDisplay::MainWindowCastDisplay(MainWindow &window)
    : window_(window)
{
}

void MainWindowCastDisplay::PrepareForNewCast()
{
    window_.PrepareForNewCast();
}

void MainWindowCastDisplay::ShowLinePictures(int line, const QString &primaryCode, const QString &resultingCode)
{
    window_.ShowCastLine(line, primaryCode, resultingCode);
}

void MainWindowCastDisplay::ShowCast(const CastResolution &cast)
{
    window_.ShowCastView(cast);
}

void OpenRuleHelp(const QString &ruleLabel, EffectSound &effects, const QString &programFolder,
                  const HelpTopicOpener &openTopic)
{
    effects.PlayEffect(programFolder + ClickSound);
    openTopic(ChangingLineRulesHelpTopic);
    if (const std::optional<int> topic = ChangingLineRuleHelpTopic(ruleLabel))
        openTopic(*topic);
}
