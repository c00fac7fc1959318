#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>

// A MIDI player for one file at a time. `Finished` tells that the opened
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
    void Finished();
};

// Plays through the sound device's FluidSynth synthesizer, which holds the
// system's General MIDI SoundFont, into SDL2_mixer's music stream. The
// stream is single: starting a piece on one player silences any piece of
// another. The end of a piece is noticed on the audio thread and delivered as
// `Finished` on the thread of the application object, once the release of
// its last notes has died away.
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

    // The opened piece, as a file name for the synthesizer.
    QByteArray file_;
};
