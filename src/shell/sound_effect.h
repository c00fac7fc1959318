#pragma once

#include <QString>

#include <functional>

struct Mix_Chunk;

// Short WAV effects on clicks and at the steps of a cast.
class EffectSound {
public:
    virtual ~EffectSound() = default;
    // Starts the file and returns at once. A new effect cuts off the one
    // still sounding; effects never queue and never loop. A missing file
    // sounds the system beep instead.
    virtual void PlayEffect(const QString &path) = 0;
};

class SdlEffectSound final : public EffectSound {
public:
    // `beep` sounds the system's default sound; the window layer passes
    // QApplication::beep, which this QtCore-only module cannot call itself.
    explicit SdlEffectSound(std::function<void()> beep);
    ~SdlEffectSound() override;
    SdlEffectSound(const SdlEffectSound &) = delete;
    SdlEffectSound &operator=(const SdlEffectSound &) = delete;

    void PlayEffect(const QString &path) override;

    // The file of the effect still sounding, empty when it has ended.
    QString SoundingEffect() const;

private:
    void StopEffect();

    std::function<void()> beep_;
    Mix_Chunk *chunk_ = nullptr;
    QString path_;
};
