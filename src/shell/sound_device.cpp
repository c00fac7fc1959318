#include "shell/sound_device.h"

#include "shell/midi_synth.h"
#include "shell/sound_library.h"

#include <atomic>
#include <memory>

namespace {

constexpr int MixerChannels = 8;
constexpr int OutputChannels = 2;
constexpr int BufferFrames = 2048;

// Filled by whichever thread opens the device before it sets deviceOpen,
// read by the players only while deviceOpen is set.
SoundLibrary library;
// Made with the device, like the library, and read by the music players.
std::unique_ptr<MidiSynth> synth;
// Set by whichever thread opens the device, read by the players.
std::atomic<bool> deviceOpen = false;

// The synthesizer of the MIDI music, with the SoundFont loaded, playing into
// the mixer's music stream.
void StartSynth()
{
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (!library.Mix_QuerySpec(&frequency, &format, &channels) || format != AUDIO_S16SYS || channels < 2)
        return;
    synth = std::make_unique<MidiSynth>(library, frequency, channels, library.Mix_GetSoundFonts());
    if (synth->HasSoundFont())
        library.Mix_HookMusic(&MidiSynth::Render, synth.get());
    else
        synth.reset();
}

bool OpenMixer()
{
    // SDL would otherwise take over SIGINT and SIGTERM and turn them into
    // quit events nobody reads, so the program could not be stopped.
    library.SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (library.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (library.Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, OutputChannels, BufferFrames) == 0)
        return true;
    library.SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

} // namespace

SoundDevice::SoundDevice(const SoundLibraryFiles &files)
{
    if (deviceOpen)
        return;
    std::optional<SoundLibrary> loaded = LoadSoundLibrary(files);
    if (!loaded)
        return;
    library = *loaded;
    library.Mix_Init(MIX_INIT_MP3);
    bool opened = OpenMixer();
    if (!opened) {
        // No sound card (a server, a CI machine): play into nothing, so the
        // program behaves the same, end-of-piece notices included.
        library.SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        opened = OpenMixer();
    }
    if (!opened) {
        library.Mix_Quit();
        return;
    }
    library.Mix_AllocateChannels(MixerChannels);
    library.Mix_ReserveChannels(EffectChannel + 1);
    StartSynth();
    deviceOpen = true;
    owner_ = true;
}

SoundDevice::~SoundDevice()
{
    if (!owner_)
        return;
    deviceOpen = false;
    library.Mix_HookMusic(nullptr, nullptr);
    synth.reset();
    library.Mix_CloseAudio();
    library.Mix_Quit();
    library.SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SoundDevice::IsOpen()
{
    return deviceOpen;
}

QString SoundDevice::DriverName()
{
    if (!deviceOpen)
        return {};
    return QString::fromUtf8(library.SDL_GetCurrentAudioDriver());
}

const SoundLibrary &Sdl()
{
    return library;
}

MidiSynth *Synth()
{
    return synth.get();
}

BackgroundSoundDevice::~BackgroundSoundDevice()
{
    if (opening_.joinable())
        opening_.join();
}

void BackgroundSoundDevice::Start(const SoundLibraryFiles &files)
{
    if (opening_.joinable() || device_)
        return;
    opening_ = std::thread([this, files] {
        device_ = std::make_unique<SoundDevice>(files);
        // SDL frees its per-thread data (the last error message) by itself
        // only on threads it started.
        if (Sdl().SDL_TLSCleanup)
            Sdl().SDL_TLSCleanup();
    });
}

void BackgroundSoundDevice::WaitUntilOpen()
{
    Start();
    if (opening_.joinable())
        opening_.join();
}
