#include "shell/sound_library.h"

#include <QLibrary>

namespace {

// Resolves one symbol into a table entry; false when it is missing.
template <typename Function>
bool Resolve(QLibrary &library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(library.resolve(name));
    return function != nullptr;
}

} // namespace

std::optional<SoundLibrary> LoadSoundLibrary(const SoundLibraryFiles &files)
{
    QLibrary sdl(files.sdl.name, files.sdl.majorVersion);
    QLibrary mixer(files.mixer.name, files.mixer.majorVersion);
    QLibrary synth(files.synth.name, files.synth.majorVersion);
    if (!sdl.load() || !mixer.load() || !synth.load())
        return std::nullopt;
    SoundLibrary library;
    bool complete = true;
#define RAVEZAZ_RESOLVE(name) complete = Resolve(sdl, #name, library.name) && complete;
    RAVEZAZ_SDL_FUNCTIONS(RAVEZAZ_RESOLVE)
#undef RAVEZAZ_RESOLVE
#define RAVEZAZ_RESOLVE(name) complete = Resolve(mixer, #name, library.name) && complete;
    RAVEZAZ_MIXER_FUNCTIONS(RAVEZAZ_RESOLVE)
#undef RAVEZAZ_RESOLVE
#define RAVEZAZ_RESOLVE(name) complete = Resolve(synth, #name, library.name) && complete;
    RAVEZAZ_SYNTH_FUNCTIONS(RAVEZAZ_RESOLVE)
#undef RAVEZAZ_RESOLVE
    if (!complete)
        return std::nullopt;
    return library;
}
