#pragma once

#include <QStringView>

#include <optional>

// Values of the main window's three-state music toggle.
enum class MusicToggle {
    Off = 0,
    Background = 1,
    Festival = 2,
};

// The music decision that ends every festival evaluation. Music is switched
// when the saved setting `musicState` is "音乐开" or never set, when background
// music was on before the day changed (`savedMusicState` "音乐开"), or when
// the day has a festival tune: then festival music if either tune name is set,
// else background music. Otherwise the toggle keeps its value (nullopt), so
// a user who switched music off hears nothing on an ordinary day.
std::optional<MusicToggle> DecideFestivalMusic(QStringView musicState, QStringView savedMusicState,
                                               QStringView gregorianMusicName,
                                               QStringView lunarMusicName);
