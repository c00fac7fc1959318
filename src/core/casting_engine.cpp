#include "core/casting_engine.h"

#include "core/changing_line_rules.h"
#include "core/date_text.h"
#include "core/program_sounds.h"

namespace {

constexpr int ChangesPerLine = 3;
constexpr int ChangesPerCast = ChangesPerLine * LinesPerHexagram;

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

CastingEngine::CastingEngine(QString divinerName, RandomSource random, Clock clock, QObject *parent)
    : QObject(parent), divinerName_(std::move(divinerName)), random_(std::move(random)), clock_(std::move(clock))
{
}

std::optional<FieldPrompt> CastingEngine::Step(const QString &nameField, const QString &matterField)
{
    if (phase_ != CastingPhase::WaitingForStep)
        return std::nullopt;
    if (auto prompt = BlankFieldPrompt(nameField, matterField, divinerName_)) {
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
    cast_.divinerName = nameField_;
    cast_.matterText = matterField_;
    emit StepStarted();
    emit LampChanged(StatusLamp::Yellow);
    if (changeInLine_ == 0)
        emit SoundRequested(LineStartSound(castingSpeed_));
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
    const int stalks = stalks_.stalksInPlay;
    emit ChangeMessageShown(ChangeMessage(QStringLiteral("变开始")));
    emit StalkCounterShown(stalks);
    stalks_.leftPile = LeftHeapOfSplit(stalks, random_());
    stalks_.hungStalk = 1;
    stalks_.rightPile = stalks - stalks_.leftPile - stalks_.hungStalk;
    phase_ = CastingPhase::HeapsShownDelay;
}

void CastingEngine::ShowHeaps()
{
    // From here on stalksInPlay counts the stalks counted off by fours.
    stalks_.stalksInPlay = 0;
    emit StalkCounterShown(0);
    emit HeapsShown(stalks_.leftPile, stalks_.hungStalk, stalks_.rightPile);
    emit ChangeMessageShown(ChangeMessage(QStringLiteral("变进行中…")));
    phase_ = CastingPhase::Pause;
}

void CastingEngine::CountLeft()
{
    emit LampChanged(StatusLamp::Red);
    if (!CountOffGroup(stalks_.leftPile, stalks_.stalksInPlay)) {
        phase_ = CastingPhase::RightCounting;
        return;
    }
    emit HeapsShown(stalks_.leftPile, stalks_.hungStalk, stalks_.rightPile);
    emit StalkCounterShown(stalks_.stalksInPlay);
}

void CastingEngine::CountRight()
{
    emit LampChanged(StatusLamp::Red);
    if (!CountOffGroup(stalks_.rightPile, stalks_.stalksInPlay)) {
        FinishChange();
        return;
    }
    emit HeapsShown(stalks_.leftPile, stalks_.hungStalk, stalks_.rightPile);
    emit StalkCounterShown(stalks_.stalksInPlay);
}

// The remainders and the hung stalk are set aside; the counted stalks go on
// into the next change.
void CastingEngine::FinishChange()
{
    emit StalkCounterShown(stalks_.stalksInPlay);
    emit HeapsShown(0, 0, 0);
    emit ChangeMessageShown(ChangeMessage(QStringLiteral("变完成")));
    ++changesDone_;
    emit ProgressShown(ProgressText(changesDone_), changesDone_);
    phase_ = CastingPhase::NextStepDelay;
}

void CastingEngine::FinishLine()
{
    emit SoundRequested(ClickSound);
    const int index = line_ - 1;
    const int value = stalks_.stalksInPlay / StalksPerGroup;
    cast_.lineValues[index] = value;
    emit LineValueShown(line_, value);
    cast_.primaryLines += PrimaryLineCharacter(value);
    cast_.resultingLines += ResultingLineCharacter(value);
    const LinePictureCodes pictures = LinePicturesOf(value);
    emit LinePicturesShown(line_, pictures.primary, pictures.resulting);
    if (const int changingLineCount = ChangingLineCount(cast_); changingLineCount > 0) {
        QList<int> changed;
        for (int i = 0; i < line_; ++i)
            changed.append(ChangedLineValue(cast_.lineValues[i]));
        emit ChangingLinesShown(ChangingLineField(changingLineCount), changed);
    }

    if (line_ == LinesPerHexagram) {
        phase_ = CastingPhase::Finished;
        cast_.castTime = GeneralDateTimeText(clock_());
        emit CastResolved(cast_, ResolveCast(cast_));
        return;
    }
    ++line_;
    changeInLine_ = 0;
    stalks_.stalksInPlay = StalksPerLine;
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
        // Every engine draws from the one shared source.
        CastingEngine engine(QStringLiteral("某官"), [&random] { return random(); }, [] { return QDateTime(); });
        engine.StartAutomatic(QStringLiteral("某官"), QStringLiteral("某事云云"));
        engine.RunPendingPhases();
        for (int value : engine.Cast().lineValues) {
            if (counted == lineCount)
                break;
            ++counts[value - 6];
            ++counted;
        }
    }
    return counts;
}
