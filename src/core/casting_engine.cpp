#include "core/casting_engine.h"

#include "core/changing_line_rules.h"

namespace {

constexpr int ChangesPerLine = 3;
constexpr int ChangesPerCast = ChangesPerLine * LinesPerHexagram;
constexpr int NameFieldLength = 9;
constexpr int MatterFieldLength = 30;

// The fields are tested with blanks at both ends ignored, and asked for in
// this order.
std::optional<FieldPrompt> blankFieldPrompt(const QString &nameField, const QString &matterField,
                                            const QString &divinerName)
{
    if (nameField.trimmed().isEmpty())
        return FieldPrompt{CastingField::Name, QStringLiteral("请输入占筮者姓名(不能超过9个字符)。"),
                           QStringLiteral("输入姓名"), divinerName, NameFieldLength};
    if (matterField.trimmed().isEmpty())
        return FieldPrompt{CastingField::Matter, QStringLiteral("请输入所占何事(不能超过30个字符)。"),
                           QStringLiteral("输入事由"), QStringLiteral("某事云云"), MatterFieldLength};
    return std::nullopt;
}

// The quicker speeds start a line with the shorter sound.
QString lineStartSound(int castingSpeed)
{
    return castingSpeed <= 3 ? QStringLiteral("/wav/res2.wav") : QStringLiteral("/wav/res.wav");
}

QString progressText(int changesDone)
{
    const QString head = changesDone == ChangesPerCast ? QStringLiteral("推演完成(") : QStringLiteral("推演进度(");
    return head + QString::number(changesDone) + QStringLiteral("/18变)");
}

} // namespace

CastingEngine::CastingEngine(CurrentCast &cast, RandomSource random, Clock clock, QObject *parent)
    : QObject(parent), cast_(cast), random_(std::move(random)), clock_(std::move(clock))
{
    cast_.stalksInPlay = StalksPerLine;
    cast_.leftPile = 0;
    cast_.hungStalk = 0;
    cast_.rightPile = 0;
    cast_.lineValue.fill(0);
    cast_.changedLineValue.fill(0);
    cast_.castTime.clear();
}

std::optional<FieldPrompt> CastingEngine::step(const QString &nameField, const QString &matterField)
{
    if (phase_ != CastingPhase::WaitingForStep)
        return std::nullopt;
    if (auto prompt = blankFieldPrompt(nameField, matterField, cast_.divinerName)) {
        autoMode_ = false;
        return prompt;
    }
    nameField_ = nameField;
    matterField_ = matterField;
    castOn();
    return std::nullopt;
}

std::optional<FieldPrompt> CastingEngine::startAutomatic(const QString &nameField, const QString &matterField)
{
    if (started_ || phase_ != CastingPhase::WaitingForStep)
        return std::nullopt;
    autoMode_ = true;
    return step(nameField, matterField);
}

void CastingEngine::advance()
{
    switch (phase_) {
    case CastingPhase::SplitDelay:
        splitBundle();
        break;
    case CastingPhase::HeapsShownDelay:
        showHeaps();
        break;
    case CastingPhase::Pause:
        phase_ = CastingPhase::LeftCounting;
        break;
    case CastingPhase::LeftCounting:
        countLeft();
        break;
    case CastingPhase::RightCounting:
        countRight();
        break;
    case CastingPhase::NextStepDelay:
        castOn();
        break;
    case CastingPhase::WaitingForStep:
    case CastingPhase::Finished:
        break;
    }
}

void CastingEngine::runPendingPhases()
{
    while (isTimedPhase())
        advance();
}

bool CastingEngine::isTimedPhase() const
{
    return phase_ != CastingPhase::WaitingForStep && phase_ != CastingPhase::Finished;
}

QString CastingEngine::stepCaption() const
{
    if (phase_ == CastingPhase::Finished)
        return {};
    return QStringLiteral("推演") + lineWord();
}

// A step that proceeds: starts the next change of the line, or finishes the
// line after its third change.
void CastingEngine::castOn()
{
    started_ = true;
    emit stepStarted();
    emit lampChanged(StatusLamp::Yellow);
    cast_.divinerName = nameField_;
    cast_.matterText = matterField_;
    if (changeInLine_ == 0)
        emit soundRequested(lineStartSound(cast_.castingSpeed));
    ++changeInLine_;
    emit heapsShown(0, 0, 0);
    if (changeInLine_ > ChangesPerLine) {
        finishLine();
        return;
    }
    if (changesDone_ == 0 && changeInLine_ == 1)
        emit stalkCounterShown(StalksPerLine);
    phase_ = CastingPhase::SplitDelay;
}

void CastingEngine::splitBundle()
{
    const int stalks = cast_.stalksInPlay;
    emit changeMessageShown(changeMessage(QStringLiteral("变开始")));
    emit stalkCounterShown(stalks);
    cast_.leftPile = LeftHeapOfSplit(stalks, random_());
    cast_.hungStalk = 1;
    cast_.rightPile = stalks - cast_.leftPile - cast_.hungStalk;
    phase_ = CastingPhase::HeapsShownDelay;
}

void CastingEngine::showHeaps()
{
    // From here on stalksInPlay counts the stalks counted off by fours.
    cast_.stalksInPlay = 0;
    emit stalkCounterShown(0);
    emit heapsShown(cast_.leftPile, cast_.hungStalk, cast_.rightPile);
    emit changeMessageShown(changeMessage(QStringLiteral("变进行中…")));
    phase_ = CastingPhase::Pause;
}

void CastingEngine::countLeft()
{
    emit lampChanged(StatusLamp::Red);
    if (!CountOffGroup(cast_.leftPile, cast_.stalksInPlay)) {
        phase_ = CastingPhase::RightCounting;
        return;
    }
    emit heapsShown(cast_.leftPile, cast_.hungStalk, cast_.rightPile);
    emit stalkCounterShown(cast_.stalksInPlay);
}

void CastingEngine::countRight()
{
    emit lampChanged(StatusLamp::Red);
    if (!CountOffGroup(cast_.rightPile, cast_.stalksInPlay)) {
        finishChange();
        return;
    }
    emit heapsShown(cast_.leftPile, cast_.hungStalk, cast_.rightPile);
    emit stalkCounterShown(cast_.stalksInPlay);
}

// The remainders and the hung stalk are set aside; the counted stalks go on
// into the next change.
void CastingEngine::finishChange()
{
    emit stalkCounterShown(cast_.stalksInPlay);
    emit heapsShown(0, 0, 0);
    emit changeMessageShown(changeMessage(QStringLiteral("变完成")));
    ++changesDone_;
    emit progressShown(progressText(changesDone_), changesDone_);
    phase_ = CastingPhase::NextStepDelay;
}

void CastingEngine::finishLine()
{
    emit soundRequested(QStringLiteral("/wav/s1.wav"));
    if (line_ == 1) {
        cast_.changingLineCount = 0;
        cast_.primaryLines.clear();
        cast_.resultingLines.clear();
        cast_.lookupLines.clear();
        cast_.lookupName.clear();
        cast_.lookupNumber.clear();
        cast_.lookupText.clear();
    }
    const int index = line_ - 1;
    const int value = cast_.stalksInPlay / StalksPerGroup;
    cast_.lineValue[index] = value;
    cast_.changedLineValue[index] = ChangedLineValue(value);
    emit lineValueShown(line_, value);
    if (IsChangingLine(value))
        ++cast_.changingLineCount;
    cast_.primaryLines += PrimaryLineCharacter(value);
    cast_.resultingLines += ResultingLineCharacter(value);
    const LinePictureCodes pictures = LinePicturesOf(value);
    emit linePicturesShown(line_, pictures.primary, pictures.resulting);
    if (cast_.changingLineCount > 0) {
        const QList<int> changed(cast_.changedLineValue.begin(), cast_.changedLineValue.begin() + line_);
        emit changingLinesShown(ChangingLineField(cast_.changingLineCount), changed);
    }

    if (line_ == LinesPerHexagram) {
        phase_ = CastingPhase::Finished;
        emit castResolved(ResolveCast(cast_, clock_()));
        return;
    }
    ++line_;
    changeInLine_ = 0;
    cast_.stalksInPlay = StalksPerLine;
    phase_ = CastingPhase::WaitingForStep;
    emit readyForStep(stepCaption());
    if (autoMode_)
        castOn();
}

QString CastingEngine::lineWord() const
{
    return LinePositionWord(line_);
}

QString CastingEngine::changeMessage(const QString &event) const
{
    return lineWord() + QString::number(changeInLine_) + event;
}

std::array<int, 4> CountLineValues(int lineCount, RandomSource random)
{
    std::array<int, 4> counts{};
    int counted = 0;
    while (counted < lineCount) {
        CurrentCast cast;
        // Every engine draws from the one shared source.
        CastingEngine engine(cast, [&random] { return random(); }, [] { return QDateTime(); });
        engine.startAutomatic(QStringLiteral("某官"), QStringLiteral("某事云云"));
        engine.runPendingPhases();
        for (int value : cast.lineValue) {
            if (counted == lineCount)
                break;
            ++counts[value - 6];
            ++counted;
        }
    }
    return counts;
}
