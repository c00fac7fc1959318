#pragma once

#include <QObject>
#include <QString>

#include <cstdint>

typedef struct _Mix_Music Mix_Music;

// A MIDI player for one file at a time. `finished` tells that the opened
// piece has played to its end; closing or replacing a piece never reports it.
class MusicPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // Takes the file as the player's piece; false (and no piece) when it
    // cannot be read.
    virtual bool Open(const QString &path) = 0;
    virtual void Play() = 0;
    virtual void Close() = 0;

signals:
    void finished();
};

// Plays through SDL2_mixer's FluidSynth backend with the system's General
// MIDI SoundFont. The mixer has a single music stream: starting a piece on
// one player silences any piece of another. The end of a piece is noticed on
// the audio thread and delivered as `finished` on the thread of the
// application object, about three seconds after the last note (the
// synthesizer's release tail).
class SdlMusicPlayer final : public MusicPlayer {
    Q_OBJECT
public:
    using MusicPlayer::MusicPlayer;
    ~SdlMusicPlayer() override;

    bool Open(const QString &path) override;
    void Play() override;
    void Close() override;

    bool IsPlaying() const;

private:
    static void DeliverFinished(std::uint64_t playNumber);

    Mix_Music *music_ = nullptr;
};
