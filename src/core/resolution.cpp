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

// Runs LookupHexagram on `lines`; the lookup fields keep the result.
HexagramView LookUp(CurrentCast &cast, const QString &lines, const QString &otherLines)
{
    cast.lookupLines = lines;
    LookupHexagram(cast);
    return {cast.lookupNumber, cast.lookupName, cast.lookupLines, cast.lookupText,
            LinePictures(lines, otherLines)};
}

} // namespace

CastResolution ResolveCast(CurrentCast &cast, const QDateTime &now)
{
    CastResolution resolution;
    resolution.changingLineCount = cast.changingLineCount;
    resolution.changingLineField = ChangingLineField(cast.changingLineCount);
    resolution.resultingShown = cast.changingLineCount > 0;
    if (resolution.resultingShown) {
        resolution.resulting = LookUp(cast, cast.resultingLines, cast.primaryLines);
        cast.recordResultingNumber = cast.lookupNumber;
        cast.recordResultingLines = cast.lookupLines;
        cast.recordResultingName = cast.lookupName;
    } else {
        resolution.resulting.lines = cast.resultingLines;
        resolution.resulting.pictures = LinePictures(cast.resultingLines, cast.primaryLines);
    }
    resolution.ruleText = ChangingLineRule(cast.changingLineCount);
    resolution.ruleHelpTopic = ChangingLineRuleHelpTopic(resolution.ruleText).value_or(ChangingLineRulesHelpTopic);

    resolution.primary = LookUp(cast, cast.primaryLines, cast.resultingLines);
    cast.recordPrimaryNumber = cast.lookupNumber;
    cast.recordPrimaryLines = cast.lookupLines;
    cast.recordPrimaryName = cast.lookupName;

    cast.castTime = GeneralDateTimeText(now);
    resolution.castTime = cast.castTime;
    resolution.divinerName = cast.divinerName;
    resolution.matterText = cast.matterText;
    return resolution;
}
