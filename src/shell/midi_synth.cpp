#include "shell/midi_synth.h"

#include "shell/sound_library.h"

#include <QFile>
#include <QString>

namespace {

// The loudness of SDL2_mixer's own MIDI music at full music volume, so
// pieces sound as loud beside the effects as they always did.
constexpr double Gain = 1.2;

} // namespace

MidiSynth::MidiSynth(const SoundLibrary &sdl, int frequency, int channels, const char *soundFonts)
    : sdl_(sdl)
    , channels_(channels)
{
    settings_ = sdl_.new_fluid_settings();
    if (!settings_)
        return;
    sdl_.fluid_settings_setnum(settings_, "synth.sample-rate", frequency);
    sdl_.fluid_settings_setnum(settings_, "synth.gain", Gain);
    sdl_.fluid_settings_setint(settings_, "synth.dynamic-sample-loading", 1);
    synth_ = sdl_.new_fluid_synth(settings_);
    if (!synth_)
        return;
    const QStringList files = QString::fromUtf8(soundFonts ? soundFonts : "").split(u';', Qt::SkipEmptyParts);
    for (const QString &file : files) {
        if (sdl_.fluid_synth_sfload(synth_, QFile::encodeName(file).constData(), 1) != -1)
            soundFontLoaded_ = true;
    }
}

MidiSynth::~MidiSynth()
{
    DropPlayer();
    if (synth_)
        sdl_.delete_fluid_synth(synth_);
    if (settings_)
        sdl_.delete_fluid_settings(settings_);
}

bool MidiSynth::Play(const QByteArray &file, std::function<void()> finished)
{
    const std::lock_guard lock(mutex_);
    DropPlayer();
    if (!soundFontLoaded_)
        return false;
    player_ = sdl_.new_fluid_player(synth_);
    if (!player_)
        return false;
    if (sdl_.fluid_player_add(player_, file.constData()) != 0 || sdl_.fluid_player_play(player_) != 0) {
        DropPlayer();
        return false;
    }
    finished_ = std::move(finished);
    return true;
}

void MidiSynth::Stop()
{
    const std::lock_guard lock(mutex_);
    DropPlayer();
}

bool MidiSynth::IsPlaying()
{
    const std::lock_guard lock(mutex_);
    return player_ && finished_;
}

void MidiSynth::DropPlayer()
{
    finished_ = nullptr;
    if (!player_)
        return;
    sdl_.fluid_player_stop(player_);
    sdl_.delete_fluid_player(player_);
    player_ = nullptr;
    // Silences the notes still sounding and resets the instruments, so the
    // next piece starts from General MIDI defaults.
    sdl_.fluid_synth_system_reset(synth_);
}

void MidiSynth::Render(void *synth, std::uint8_t *stream, int bytes)
{
    auto &self = *static_cast<MidiSynth *>(synth);
    const std::lock_guard lock(self.mutex_);
    if (!self.player_)
        return;
    // The mixer opened 16-bit samples; the stream comes in silent, and the
    // synthesizer's two channels go to the first two of each frame.
    const int frames = bytes / int(sizeof(std::int16_t)) / self.channels_;
    self.sdl_.fluid_synth_write_s16(self.synth_, frames, stream, 0, self.channels_, stream, 1, self.channels_);
    if (self.finished_ && self.sdl_.fluid_player_get_status(self.player_) == FLUID_PLAYER_DONE
        && self.sdl_.fluid_synth_get_active_voice_count(self.synth_) == 0) {
        const std::function<void()> finished = std::move(self.finished_);
        self.finished_ = nullptr;
        finished();
    }
}
