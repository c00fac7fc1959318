#include "music_player.h"

#include "sound_device.h"

#include <QCoreApplication>
#include <QFile>

#include <SDL_mixer.h>

#include <atomic>

namespace {

// Numbers every start and every deliberate halt of the music stream. The
// end-of-music hook reports the number current when it runs, so a notice
// that belongs to a piece since closed or replaced matches nothing.
std::atomic<std::uint64_t> streamNumber{0};

// The player whose piece holds the stream, and the number of that start.
// Touched on the GUI thread only.
SdlMusicPlayer *streamOwner = nullptr;
std::uint64_t ownerPlayNumber = 0;

void HaltStream()
{
    ++streamNumber;
    Mix_HaltMusic();
}

} // namespace

SdlMusicPlayer::~SdlMusicPlayer()
{
    Close();
}

bool SdlMusicPlayer::Open(const QString &path)
{
    Close();
    if (!SoundDevice::IsOpen())
        return false;
    music_ = Mix_LoadMUS(QFile::encodeName(path).constData());
    return music_ != nullptr;
}

void SdlMusicPlayer::Play()
{
    if (!music_ || !SoundDevice::IsOpen())
        return;
    if (streamOwner)
        HaltStream();
    // Runs on the audio thread, or inside Mix_HaltMusic: no mixer calls here,
    // only a hand-over to the GUI thread.
    Mix_HookMusicFinished([] {
        const std::uint64_t number = streamNumber.load();
        if (QCoreApplication *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [number] { DeliverFinished(number); }, Qt::QueuedConnection);
    });
    const std::uint64_t number = ++streamNumber;
    if (Mix_PlayMusic(music_, 0) != 0)
        return;
    streamOwner = this;
    ownerPlayNumber = number;
}

void SdlMusicPlayer::Close()
{
    if (streamOwner == this) {
        HaltStream();
        streamOwner = nullptr;
    }
    if (music_) {
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
}

bool SdlMusicPlayer::IsPlaying() const
{
    return streamOwner == this && Mix_PlayingMusic();
}

void SdlMusicPlayer::DeliverFinished(std::uint64_t playNumber)
{
    if (!streamOwner || playNumber != ownerPlayNumber)
        return;
    SdlMusicPlayer *player = streamOwner;
    streamOwner = nullptr;
    emit player->finished();
}
