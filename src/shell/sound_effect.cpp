#include "shell/sound_effect.h"

#include "shell/sound_device.h"
#include "shell/sound_library.h"

#include <QFileInfo>


SdlEffectSound::SdlEffectSound(std::function<void()> beep)
    : beep_(std::move(beep))
{
}

SdlEffectSound::~SdlEffectSound()
{
    StopEffect();
}

void SdlEffectSound::PlayEffect(const QString &path)
{
    StopEffect();
    if (!QFileInfo(path).isFile()) {
        beep_();
        return;
    }
    if (!SoundDevice::IsOpen())
        return;
    chunk_ = Sdl().Mix_LoadWAV(QFile::encodeName(path).constData());
    if (!chunk_) {
        // A file that cannot be decoded counts as missing.
        beep_();
        return;
    }
    path_ = path;
    Sdl().Mix_PlayChannel(EffectChannel, chunk_, 0);
}

QString SdlEffectSound::SoundingEffect() const
{
    if (!chunk_ || !Sdl().Mix_Playing(EffectChannel) || Sdl().Mix_GetChunk(EffectChannel) != chunk_)
        return {};
    return path_;
}

void SdlEffectSound::StopEffect()
{
    if (!chunk_)
        return;
    // Freeing a chunk halts the channel playing it.
    Sdl().Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
    path_.clear();
}
