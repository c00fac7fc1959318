#include "shell/music_player.h"

#include "shell/midi_synth.h"
#include "shell/sound_device.h"
#include "shell/sound_library.h"

#include <QCoreApplication>
#include <QFile>

namespace {

// Numbers every start of the music stream, so that a notice that belongs to
// a piece since closed or replaced matches nothing.
std::uint64_t streamNumber = 0;

// The player whose piece holds the stream, and the number of that start.
// Touched on the GUI thread only.
SdlMusicPlayer *streamOwner = nullptr;
std::uint64_t ownerPlayNumber = 0;

void HaltStream()
{
    if (MidiSynth *synth = Synth(); synth && SoundDevice::IsOpen())
        synth->Stop();
    streamOwner = nullptr;
}

} // namespace

SdlMusicPlayer::~SdlMusicPlayer()
{
    Close();
}

bool SdlMusicPlayer::Open(const QString &path)
{
    Close();
    if (!SoundDevice::IsOpen() || !Synth())
        return false;
    const QByteArray file = QFile::encodeName(path);
    if (!Sdl().fluid_is_midifile(file.constData()))
        return false;
    file_ = file;
    return true;
}

void SdlMusicPlayer::Play()
{
    MidiSynth *synth = Synth();
    if (file_.isEmpty() || !synth || !SoundDevice::IsOpen())
        return;
    if (streamOwner)
        HaltStream();
    const std::uint64_t number = ++streamNumber;
    // Runs on the audio thread: only a hand-over to the GUI thread.
    const auto finished = [number] {
        if (QCoreApplication *app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [number] { DeliverFinished(number); }, Qt::QueuedConnection);
    };
    if (!synth->Play(file_, finished))
        return;
    streamOwner = this;
    ownerPlayNumber = number;
}

void SdlMusicPlayer::Close()
{
    if (streamOwner == this)
        HaltStream();
    file_.clear();
}

bool SdlMusicPlayer::IsPlaying() const
{
    MidiSynth *synth = Synth();
    return streamOwner == this && synth && SoundDevice::IsOpen() && synth->IsPlaying();
}

void SdlMusicPlayer::DeliverFinished(std::uint64_t playNumber)
{
    if (!streamOwner || playNumber != ownerPlayNumber)
        return;
    SdlMusicPlayer *player = streamOwner;
    streamOwner = nullptr;
    emit player->Finished();
}
