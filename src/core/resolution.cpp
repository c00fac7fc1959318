#include "core/resolution.h"

#include "core/changing_line_rules.h"
#include "core/date_text.h"
#include "core/lookup.h"

namespace {

// A line whose character differs between the two line strings takes part in
// a change and is drawn with the doubled (red) code in both hexagrams.
std::array<QString, LinesPerHexagram> LinePictures(const QString &lines, const QString &otherLines)
{
    std::array<QString, LinesPerHexagram> pictures;
    for (int i = 0; i < LinesPerHexagram && i < lines.size(); ++i) {
        const QString code(lines[i]);
        const bool changing = i < otherLines.size() && otherLines[i] != lines[i];
        pictures[i] = changing ? code + code : code;
    }
    return pictures;
}

HexagramView LookUp(const QString &lines, const QString &otherLines)
{
    HexagramView view = HexagramViewOf(lines);
    view.pictures = LinePictures(lines, otherLines);
    return view;
}

} // namespace

HexagramView HexagramViewOf(const QString &lines)
{
    HexagramView view;
    view.lines = lines;
    if (const std::optional<HexagramEntry> found = FindHexagram(lines)) {
        view.number = QString::number(found->number);
        view.name = found->name;
        view.text = found->text;
    }
    return view;
}

CastResolution ResolveCast(CurrentCast &cast, const QDateTime &now)
{
    CastResolution resolution;
    resolution.changingLineCount = cast.changingLineCount;
    resolution.changingLineField = ChangingLineField(cast.changingLineCount);
    resolution.resultingShown = cast.changingLineCount > 0;
    if (resolution.resultingShown) {
        resolution.resulting = LookUp(cast.resultingLines, cast.primaryLines);
        cast.recordResultingNumber = resolution.resulting.number;
        cast.recordResultingLines = resolution.resulting.lines;
        cast.recordResultingName = resolution.resulting.name;
    } else {
        resolution.resulting.lines = cast.resultingLines;
        resolution.resulting.pictures = LinePictures(cast.resultingLines, cast.primaryLines);
    }
    resolution.ruleText = ChangingLineRule(cast.changingLineCount);
    resolution.ruleHelpTopic = ChangingLineRuleHelpTopic(resolution.ruleText).value_or(ChangingLineRulesHelpTopic);

    resolution.primary = LookUp(cast.primaryLines, cast.resultingLines);
    cast.recordPrimaryNumber = resolution.primary.number;
    cast.recordPrimaryLines = resolution.primary.lines;
    cast.recordPrimaryName = resolution.primary.name;

    cast.castTime = GeneralDateTimeText(now);
    resolution.castTime = cast.castTime;
    resolution.divinerName = cast.divinerName;
    resolution.matterText = cast.matterText;
    return resolution;
}
