#include "core/resolution.h"

#include "core/changed_line_pictures.h"
#include "core/changing_line_rules.h"
#include "core/lookup.h"

namespace {

HexagramView LookUp(const QString &lines, const std::array<QString, LinesPerHexagram> &pictures)
{
    HexagramView view = HexagramViewOf(lines);
    view.pictures = pictures;
    return view;
}

DivinationRecord RecordOf(const CastResolution &resolution)
{
    DivinationRecord record;
    record.castTime = resolution.castTime;
    record.divinerName = resolution.divinerName;
    record.matterText = resolution.matterText;
    record.primaryNumber = resolution.primary.number;
    record.primaryLines = resolution.primary.lines;
    record.primaryName = resolution.primary.name;
    record.changingLines = resolution.changingLineField;
    if (resolution.changingLineCount > 0) {
        record.resultingNumber = resolution.resulting.number;
        record.resultingLines = resolution.resulting.lines;
        record.resultingName = resolution.resulting.name;
    }
    return record;
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

ResolvedCast ResolveCast(const CastResult &cast)
{
    // A line whose character differs between the two line strings takes part
    // in a change and is drawn with the doubled (red) code in both hexagrams.
    const ChangedLinePictures pictures = ChangedLinePicturesOf(cast.primaryLines, cast.resultingLines);
    const int changingLineCount = ChangingLineCount(cast);
    CastResolution resolution;
    resolution.changingLineCount = changingLineCount;
    resolution.changingLineField = ChangingLineField(changingLineCount);
    resolution.resultingShown = changingLineCount > 0;
    if (resolution.resultingShown) {
        resolution.resulting = LookUp(cast.resultingLines, pictures.resulting);
    } else {
        resolution.resulting.lines = cast.resultingLines;
        resolution.resulting.pictures = pictures.resulting;
    }
    resolution.ruleText = ChangingLineRule(changingLineCount);
    resolution.ruleHelpTopic = ChangingLineRuleHelpTopic(resolution.ruleText).value_or(ChangingLineRulesHelpTopic);
    resolution.primary = LookUp(cast.primaryLines, pictures.primary);
    resolution.castTime = cast.castTime;
    resolution.divinerName = cast.divinerName;
    resolution.matterText = cast.matterText;
    return {resolution, RecordOf(resolution)};
}
