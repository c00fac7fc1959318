#include "shell/sound_mp3_player.h"

#include "shell/sound_device.h"
#include "shell/sound_library.h"

#include <QFile>


SdlMp3Player::~SdlMp3Player()
{
    Stop();
}

bool SdlMp3Player::Open(const QString &path)
{
    if (!SoundDevice::IsOpen())
        return false;
    Mix_Chunk *decoded = Sdl().Mix_LoadWAV(QFile::encodeName(path).constData());
    if (!decoded)
        return false;
    // The playing sound points into samples_, which is about to grow.
    Stop();
    samples_.insert(samples_.end(), decoded->abuf, decoded->abuf + decoded->alen);
    Sdl().Mix_FreeChunk(decoded);
    return true;
}

void SdlMp3Player::Play()
{
    Stop();
    if (samples_.empty() || !SoundDevice::IsOpen())
        return;
    // The chunk borrows samples_ and leaves it alone when freed.
    chunk_ = Sdl().Mix_QuickLoad_RAW(samples_.data(), static_cast<Uint32>(samples_.size()));
    if (chunk_)
        channel_ = Sdl().Mix_PlayChannel(-1, chunk_, 0);
}

void SdlMp3Player::Stop()
{
    if (!chunk_)
        return;
    // Freeing a chunk halts the channel playing it.
    Sdl().Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
    channel_ = -1;
}

void SdlMp3Player::Close()
{
    Stop();
    samples_.clear();
}

bool SdlMp3Player::IsPlaying() const
{
    return chunk_ && channel_ >= 0 && Sdl().Mix_Playing(channel_) && Sdl().Mix_GetChunk(channel_) == chunk_;
}

int SdlMp3Player::DurationMs() const
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (!SoundDevice::IsOpen() || !Sdl().Mix_QuerySpec(&frequency, &format, &channels))
        return 0;
    const qint64 bytesPerFrame = qint64(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    return int(qint64(samples_.size()) * 1000 / (bytesPerFrame * frequency));
}
