#include "records/recalled_cast.h"

#include "core/changed_line_pictures.h"
#include "core/changing_line_rules.h"
#include "core/hexagram.h"
#include "core/lookup.h"

namespace {

bool IsHexagram(const QString &lines)
{
    return HexagramNumberOf(lines) != 0;
}

QString LookedUpText(const QString &lines)
{
    const std::optional<HexagramEntry> found = FindHexagram(lines);
    return found ? found->text : QString();
}

} // namespace

std::optional<RecalledCast> RecallRecord(const DivinationRecord &record)
{
    if (!IsHexagram(record.primaryLines))
        return std::nullopt;
    const QString resultingLines = IsHexagram(record.resultingLines) ? record.resultingLines : QString();

    CastResult cast;
    cast.primaryLines = record.primaryLines;
    cast.resultingLines = resultingLines;
    cast.castTime = record.castTime;
    cast.divinerName = record.divinerName;
    cast.matterText = record.matterText;

    CastResolution resolution;
    resolution.castTime = record.castTime;
    resolution.divinerName = record.divinerName;
    resolution.matterText = record.matterText;

    const ChangedLinePictures pictures = ChangedLinePicturesOf(record.primaryLines, resultingLines);
    resolution.primary = {record.primaryNumber, record.primaryName, record.primaryLines,
                          LookedUpText(record.primaryLines), pictures.primary};
    resolution.resulting = {record.resultingNumber, record.resultingName, resultingLines,
                            LookedUpText(resultingLines), pictures.resulting};
    resolution.resultingShown = !resultingLines.isEmpty() && record.changingLines != ChangingLineField(0);

    resolution.changingLineField = record.changingLines;
    resolution.ruleText = ChangingLineRuleOfField(record.changingLines);
    resolution.ruleHelpTopic = ChangingLineRuleHelpTopic(resolution.ruleText).value_or(ChangingLineRulesHelpTopic);
    for (const QString &code : pictures.primary)
        resolution.changingLineCount += code.size() == 2 ? 1 : 0;
    return RecalledCast{cast, resolution};
}
