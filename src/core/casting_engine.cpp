#include "core/casting_engine.h"

#include "core/changing_line_rules.h"
#include "core/program_sounds.h"

namespace {

constexpr int ChangesPerLine = 3;
constexpr int ChangesPerCast = ChangesPerLine * LinesPerHexagram;
constexpr int NameFieldLength = 9;
constexpr int MatterFieldLength = 30;

// The fields are tested with blanks at both ends ignored, and asked for in
// this order.
std::optional<FieldPrompt> BlankFieldPrompt(const QString &nameField, const QString &matterField,
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
QString LineStartSound(int castingSpeed)
{
    return castingSpeed <= 3 ? QStringLiteral("/wav/res2.wav") : QStringLiteral("/wav/res.wav");
}

QString ProgressText(int changesDone)
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

std::optional<FieldPrompt> CastingEngine::Step(const QString &nameField, const QString &matterField)
{
    if (phase_ != CastingPhase::WaitingForStep)
        return std::nullopt;
    if (auto prompt = BlankFieldPrompt(nameField, matterField, cast_.divinerName)) {
        autoMode_ = false;
        return prompt;
    }
    nameField_ = nameField;
    matterField_ = matterField;
    CastOn();
    return std::nullopt;
}

std::optional<FieldPrompt> CastingEngine::StartAutomatic(const QString &nameField, const QString &matterField)
{
    if (started_ || phase_ != CastingPhase::WaitingForStep)
        return std::nullopt;
    autoMode_ = true;
    return Step(nameField, matterField);
}

void CastingEngine::Advance()
{
    switch (phase_) {
    case CastingPhase::SplitDelay:
        SplitBundle();
        break;
    case CastingPhase::HeapsShownDelay:
        ShowHeaps();
        break;
    case CastingPhase::Pause:
        phase_ = CastingPhase::LeftCounting;
        break;
    case CastingPhase::LeftCounting:
        CountLeft();
        break;
    case CastingPhase::RightCounting:
        CountRight();
        break;
    case CastingPhase::NextStepDelay:
        CastOn();
        break;
    case CastingPhase::WaitingForStep:
    case CastingPhase::Finished:
        break;
    }
}

void CastingEngine::RunPendingPhases()
{
    while (IsTimedPhase())
        Advance();
}

bool CastingEngine::IsTimedPhase() const
{
    return phase_ != CastingPhase::WaitingForStep && phase_ != CastingPhase::Finished;
}

QString CastingEngine::StepCaption() const
{
    if (phase_ == CastingPhase::Finished)
        return {};
    return QStringLiteral("推演") + LineWord();
}

// A step that proceeds: starts the next change of the line, or finishes the
// line after its third change.
void CastingEngine::CastOn()
{
    started_ = true;
    emit StepStarted();
    emit LampChanged(StatusLamp::Yellow);
    cast_.divinerName = nameField_;
    cast_.matterText = matterField_;
    if (changeInLine_ == 0)
        emit SoundRequested(LineStartSound(cast_.castingSpeed));
    ++changeInLine_;
    emit HeapsShown(0, 0, 0);
    if (changeInLine_ > ChangesPerLine) {
        FinishLine();
        return;
    }
    if (changesDone_ == 0 && changeInLine_ == 1)
        emit StalkCounterShown(StalksPerLine);
    phase_ = CastingPhase::SplitDelay;
}

void CastingEngine::SplitBundle()
{
    const int stalks = cast_.stalksInPlay;
    emit ChangeMessageShown(ChangeMessage(QStringLiteral("变开始")));
    emit StalkCounterShown(stalks);
    cast_.leftPile = LeftHeapOfSplit(stalks, random_());
    cast_.hungStalk = 1;
    cast_.rightPile = stalks - cast_.leftPile - cast_.hungStalk;
    phase_ = CastingPhase::HeapsShownDelay;
}

void CastingEngine::ShowHeaps()
{
    // From here on stalksInPlay counts the stalks counted off by fours.
    cast_.stalksInPlay = 0;
    emit StalkCounterShown(0);
    emit HeapsShown(cast_.leftPile, cast_.hungStalk, cast_.rightPile);
    emit ChangeMessageShown(ChangeMessage(QStringLiteral("变进行中…")));
    phase_ = CastingPhase::Pause;
}

void CastingEngine::CountLeft()
{
    emit LampChanged(StatusLamp::Red);
    if (!CountOffGroup(cast_.leftPile, cast_.stalksInPlay)) {
        phase_ = CastingPhase::RightCounting;
        return;
    }
    emit HeapsShown(cast_.leftPile, cast_.hungStalk, cast_.rightPile);
    emit StalkCounterShown(cast_.stalksInPlay);
}

void CastingEngine::CountRight()
{
    emit LampChanged(StatusLamp::Red);
    if (!CountOffGroup(cast_.rightPile, cast_.stalksInPlay)) {
        FinishChange();
        return;
    }
    emit HeapsShown(cast_.leftPile, cast_.hungStalk, cast_.rightPile);
    emit StalkCounterShown(cast_.stalksInPlay);
}

// The remainders and the hung stalk are set aside; the counted stalks go on
// into the next change.
void CastingEngine::FinishChange()
{
    emit StalkCounterShown(cast_.stalksInPlay);
    emit HeapsShown(0, 0, 0);
    emit ChangeMessageShown(ChangeMessage(QStringLiteral("变完成")));
    ++changesDone_;
    emit ProgressShown(ProgressText(changesDone_), changesDone_);
    phase_ = CastingPhase::NextStepDelay;
}

void CastingEngine::FinishLine()
{
    emit SoundRequested(ClickSound);
    if (line_ == 1) {
        cast_.changingLineCount = 0;
        cast_.primaryLines.clear();
        cast_.resultingLines.clear();
    }
    const int index = line_ - 1;
    const int value = cast_.stalksInPlay / StalksPerGroup;
    cast_.lineValue[index] = value;
    cast_.changedLineValue[index] = ChangedLineValue(value);
    emit LineValueShown(line_, value);
    if (IsChangingLine(value))
        ++cast_.changingLineCount;
    cast_.primaryLines += PrimaryLineCharacter(value);
    cast_.resultingLines += ResultingLineCharacter(value);
    const LinePictureCodes pictures = LinePicturesOf(value);
    emit LinePicturesShown(line_, pictures.primary, pictures.resulting);
    if (cast_.changingLineCount > 0) {
        const QList<int> changed(cast_.changedLineValue.begin(), cast_.changedLineValue.begin() + line_);
        emit ChangingLinesShown(ChangingLineField(cast_.changingLineCount), changed);
    }

    if (line_ == LinesPerHexagram) {
        phase_ = CastingPhase::Finished;
        emit CastResolved(ResolveCast(cast_, clock_()));
        return;
    }
    ++line_;
    changeInLine_ = 0;
    cast_.stalksInPlay = StalksPerLine;
    phase_ = CastingPhase::WaitingForStep;
    emit ReadyForStep(StepCaption());
    if (autoMode_)
        CastOn();
}

QString CastingEngine::LineWord() const
{
    return LinePositionWord(line_);
}

QString CastingEngine::ChangeMessage(const QString &event) const
{
    return LineWord() + QString::number(changeInLine_) + event;
}

std::array<int, 4> CountLineValues(int lineCount, RandomSource random)
{
    std::array<int, 4> counts{};
    int counted = 0;
    while (counted < lineCount) {
        CurrentCast cast;
        // Every engine draws from the one shared source.
        CastingEngine engine(cast, [&random] { return random(); }, [] { return QDateTime(); });
        engine.StartAutomatic(QStringLiteral("某官"), QStringLiteral("某事云云"));
        engine.RunPendingPhases();
        for (int value : cast.lineValue) {
            if (counted == lineCount)
                break;
            ++counts[value - 6];
            ++counted;
        }
    }
    return counts;
}
