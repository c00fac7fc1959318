#include "music_decision.h"

namespace {

constexpr QStringView MusicOn = u"音乐开";

} // namespace

std::optional<MusicToggle> DecideFestivalMusic(QStringView musicState, QStringView savedMusicState,
                                               QStringView gregorianMusicName,
                                               QStringView lunarMusicName)
{
    const bool festivalTune = !gregorianMusicName.isEmpty() || !lunarMusicName.isEmpty();
    const bool musicWanted = musicState == MusicOn || musicState.isEmpty() || savedMusicState == MusicOn;
    if (!musicWanted && !festivalTune)
        return std::nullopt;
    return festivalTune ? MusicToggle::Festival : MusicToggle::Background;
}
