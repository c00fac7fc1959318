#include "shell/music_control.h"

#include "shell/music_player.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTimer>

namespace {

// What each toggle value stores and shows; a null caption leaves caption and
// tooltip as they are (background music names its piece once it starts).
struct ToggleState {
    MusicState musicState;
    const char16_t *caption;
    const char16_t *tooltip;
};

constexpr ToggleState ToggleStates[] = {
    {MusicState::Off, u"背景音乐(M)", u"点击开启背景音乐 M"},
    {MusicState::Background, nullptr, nullptr},
    {MusicState::Festival, u"节日音乐(M)", u"点击关闭节日音乐画面 M"},
};

constexpr char16_t DesignCaption[] = u"背景音乐(M)";
constexpr char16_t DesignTooltip[] = u"背景音乐开关 M";
constexpr char16_t NoPiecesMessage[] = u"没找到MIDI背景音乐文件!";
constexpr char16_t NoTuneMessage[] = u"未找到相关MID背景音乐！";

// The pause between the end of a piece (or a switch) and the next start.
constexpr int StartDelayMs = 500;

QTimer *MakeOneShotTimer(const char *name, QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setObjectName(QString::fromLatin1(name));
    timer->setSingleShot(true);
    timer->setInterval(StartDelayMs);
    return timer;
}

// Whether the user's choice is background music: chosen, never set, or kept
// over the day change.
bool MusicCountsAsOn(MusicState musicState, MusicState savedMusicState)
{
    return musicState == MusicState::Background || musicState == MusicState::Unset
           || savedMusicState == MusicState::Background;
}

} // namespace

double UniformRandom()
{
    return QRandomGenerator::global()->generateDouble();
}

int PickPieceIndex(int count, int lastIndex, const std::function<double()> &random)
{
    if (count == 1)
        return 1;
    int index = lastIndex;
    while (index == lastIndex)
        index = int(count * random()) + 1;
    return index;
}

QStringList ListBackgroundPieces(const QString &programFolder)
{
    return QDir(programFolder + QStringLiteral("/mid"))
        .entryList({QStringLiteral("*.mid")}, QDir::Files, QDir::Name);
}

QString BackgroundPieceTooltip(const QString &pieceName)
{
    return QStringLiteral("【") + pieceName.left(pieceName.size() - 4) + QStringLiteral("】- 背景音乐 M");
}

QString FestivalTunePath(const QString &programFolder, const QString &gregorianMusicName,
                         const QString &lunarMusicName)
{
    const QString &name = lunarMusicName.isEmpty() ? gregorianMusicName : lunarMusicName;
    if (name.isEmpty())
        return programFolder + QStringLiteral("/mid/节日.mid");
    return programFolder + QStringLiteral("/festival/") + name + QStringLiteral(".mid");
}

std::optional<int> MusicToggleForDay(MusicState musicState, MusicState savedMusicState,
                                     const QString &gregorianMusicName, const QString &lunarMusicName)
{
    const bool festivalDay = !gregorianMusicName.isEmpty() || !lunarMusicName.isEmpty();
    if (!festivalDay && !MusicCountsAsOn(musicState, savedMusicState))
        return std::nullopt;
    return festivalDay ? FestivalMusic : BackgroundMusic;
}

MusicControl::MusicControl(MusicRecords records, MusicPlayer &backgroundPlayer, MusicPlayer &festivalPlayer,
                           MusicWindow &window, QString programFolder, std::function<double()> random,
                           QObject *parent)
    : QObject(parent)
    , records_(records)
    , backgroundPlayer_(backgroundPlayer)
    , festivalPlayer_(festivalPlayer)
    , window_(window)
    , programFolder_(std::move(programFolder))
    , random_(std::move(random))
    , backgroundTimer_(MakeOneShotTimer("background_piece_timer", this))
    , festivalTimer_(MakeOneShotTimer("festival_tune_timer", this))
    , toggle_{MusicOff, QString::fromUtf16(DesignCaption), QString::fromUtf16(DesignTooltip)}
{
    connect(backgroundTimer_, &QTimer::timeout, this, &MusicControl::StartBackgroundPiece);
    connect(festivalTimer_, &QTimer::timeout, this, &MusicControl::StartFestivalTune);
    connect(&backgroundPlayer_, &MusicPlayer::Finished, this, &MusicControl::OnBackgroundFinished);
    connect(&festivalPlayer_, &MusicPlayer::Finished, this, &MusicControl::OnFestivalFinished);
}

void MusicControl::SetToggleValue(int value)
{
    if (value == toggle_.value || value < MusicOff || value > FestivalMusic)
        return;
    const int previous = toggle_.value;
    toggle_.value = value;
    OnToggleChanged(previous);
}

void MusicControl::ToggleByUser()
{
    SetToggleValue(toggle_.value == MusicOff ? BackgroundMusic : MusicOff);
}

void MusicControl::OnToggleChanged(int previous)
{
    const ToggleState &state = ToggleStates[toggle_.value];
    if (toggle_.value == MusicOff && previous == FestivalMusic)
        window_.ResetToIdleView();
    records_.musicState = state.musicState;
    switch (toggle_.value) {
    case MusicOff:
        // A start still pending would otherwise sound after music was
        // switched off.
        backgroundTimer_->stop();
        festivalTimer_->stop();
        backgroundPlayer_.Close();
        festivalPlayer_.Close();
        break;
    case BackgroundMusic:
        backgroundTimer_->start();
        break;
    case FestivalMusic:
        festivalTimer_->start();
        break;
    }
    if (state.caption)
        ShowToggle(QString::fromUtf16(state.caption), QString::fromUtf16(state.tooltip));
    else
        window_.ShowMusicToggle(toggle_);
}

void MusicControl::StartBackgroundPiece()
{
    if (toggle_.value != BackgroundMusic)
        return;
    backgroundPlayer_.Close();
    // Listed afresh for every piece, so files added or removed count at once.
    const QStringList pieces = ListBackgroundPieces(programFolder_);
    if (pieces.isEmpty()) {
        window_.ShowMusicMessage(QString::fromUtf16(NoPiecesMessage));
        SetToggleValue(MusicOff);
        return;
    }
    lastPieceIndex_ = PickPieceIndex(int(pieces.size()), lastPieceIndex_, random_);
    const QString &name = pieces[lastPieceIndex_ - 1];
    if (backgroundPlayer_.Open(programFolder_ + QStringLiteral("/mid/") + name))
        backgroundPlayer_.Play();
    ShowToggle(toggle_.caption, BackgroundPieceTooltip(name));
}

void MusicControl::StartFestivalTune()
{
    festivalPlayer_.Close();
    const QString path = FestivalTunePath(programFolder_, records_.gregorianMusicName, records_.lunarMusicName);
    if (!QFileInfo(path).isFile()) {
        window_.ShowMusicMessage(QString::fromUtf16(NoTuneMessage));
        return;
    }
    if (festivalPlayer_.Open(path))
        festivalPlayer_.Play();
}

void MusicControl::BeginDayChange()
{
    savedMusicState_ = records_.musicState == MusicState::Background ? MusicState::Background : MusicState::Unset;
    SetToggleValue(MusicOff);
}

void MusicControl::ApplyDayMusic()
{
    const bool backgroundChosen = MusicCountsAsOn(records_.musicState, savedMusicState_);
    const std::optional<int> value =
        MusicToggleForDay(records_.musicState, savedMusicState_, records_.gregorianMusicName, records_.lunarMusicName);
    if (!value)
        return;
    SetToggleValue(*value);
    // The festival tune only borrows the toggle for its day: background
    // music the user had on stays the remembered choice, so the next
    // ordinary day, and the next run, bring it back.
    if (*value == FestivalMusic && backgroundChosen)
        records_.musicState = MusicState::Background;
}

void MusicControl::OnBackgroundFinished()
{
    if (toggle_.value == BackgroundMusic)
        backgroundTimer_->start();
}

void MusicControl::OnFestivalFinished()
{
    if (toggle_.value != FestivalMusic)
        return;
    // With a Gregorian and a lunar tune on the same day, the two take turns.
    if (!records_.gregorianMusicName.isEmpty() && !records_.lunarMusicName.isEmpty())
        std::swap(records_.gregorianMusicName, records_.lunarMusicName);
    festivalTimer_->start();
}

void MusicControl::ShowToggle(const QString &caption, const QString &tooltip)
{
    toggle_.caption = caption;
    toggle_.tooltip = tooltip;
    window_.ShowMusicToggle(toggle_);
}
