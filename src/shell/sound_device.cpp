#include "sound_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>

namespace {

constexpr int MixerChannels = 8;
constexpr int OutputChannels = 2;
constexpr int BufferFrames = 2048;

// Set by whichever thread opens the device, read by the players.
std::atomic<bool> deviceOpen = false;

bool OpenMixer()
{
    // SDL would otherwise take over SIGINT and SIGTERM and turn them into
    // quit events nobody reads, so the program could not be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, OutputChannels, BufferFrames) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

} // namespace

SoundDevice::SoundDevice()
{
    if (deviceOpen)
        return;
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_MID);
    bool opened = OpenMixer();
    if (!opened) {
        // No sound card (a server, a CI machine): play into nothing, so the
        // program behaves the same, end-of-piece notices included.
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
        opened = OpenMixer();
    }
    if (!opened) {
        Mix_Quit();
        return;
    }
    Mix_AllocateChannels(MixerChannels);
    Mix_ReserveChannels(EffectChannel + 1);
    deviceOpen = true;
    owner_ = true;
}

SoundDevice::~SoundDevice()
{
    if (!owner_)
        return;
    Mix_HookMusicFinished(nullptr);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    deviceOpen = false;
}

bool SoundDevice::IsOpen()
{
    return deviceOpen;
}

QString SoundDevice::DriverName()
{
    if (!deviceOpen)
        return {};
    return QString::fromUtf8(SDL_GetCurrentAudioDriver());
}

BackgroundSoundDevice::BackgroundSoundDevice()
    : opening_([this] {
        device_ = std::make_unique<SoundDevice>();
        // SDL frees its per-thread data (the last error message) by itself
        // only on threads it started.
        SDL_TLSCleanup();
    })
{
}

BackgroundSoundDevice::~BackgroundSoundDevice()
{
    WaitUntilOpen();
}

void BackgroundSoundDevice::WaitUntilOpen()
{
    if (opening_.joinable())
        opening_.join();
}
