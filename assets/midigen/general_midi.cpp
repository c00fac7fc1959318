#include "general_midi.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// Index = General MIDI program number, counted from 0.
constexpr std::array<std::string_view, 128> ProgramNames = {
    "acoustic_grand_piano", "bright_acoustic_piano", "electric_grand_piano", "honky_tonk_piano",
    "electric_piano_1", "electric_piano_2", "harpsichord", "clavinet",
    "celesta", "glockenspiel", "music_box", "vibraphone",
    "marimba", "xylophone", "tubular_bells", "dulcimer",
    "drawbar_organ", "percussive_organ", "rock_organ", "church_organ",
    "reed_organ", "accordion", "harmonica", "tango_accordion",
    "nylon_guitar", "steel_guitar", "jazz_guitar", "clean_guitar",
    "muted_guitar", "overdriven_guitar", "distortion_guitar", "guitar_harmonics",
    "acoustic_bass", "finger_bass", "pick_bass", "fretless_bass",
    "slap_bass_1", "slap_bass_2", "synth_bass_1", "synth_bass_2",
    "violin", "viola", "cello", "contrabass",
    "tremolo_strings", "pizzicato_strings", "orchestral_harp", "timpani",
    "string_ensemble_1", "string_ensemble_2", "synth_strings_1", "synth_strings_2",
    "choir_aahs", "voice_oohs", "synth_voice", "orchestra_hit",
    "trumpet", "trombone", "tuba", "muted_trumpet",
    "french_horn", "brass_section", "synth_brass_1", "synth_brass_2",
    "soprano_sax", "alto_sax", "tenor_sax", "baritone_sax",
    "oboe", "english_horn", "bassoon", "clarinet",
    "piccolo", "flute", "recorder", "pan_flute",
    "blown_bottle", "shakuhachi", "whistle", "ocarina",
    "lead_square", "lead_sawtooth", "lead_calliope", "lead_chiff",
    "lead_charang", "lead_voice", "lead_fifths", "lead_bass",
    "pad_new_age", "pad_warm", "pad_polysynth", "pad_choir",
    "pad_bowed", "pad_metallic", "pad_halo", "pad_sweep",
    "fx_rain", "fx_soundtrack", "fx_crystal", "fx_atmosphere",
    "fx_brightness", "fx_goblins", "fx_echoes", "fx_scifi",
    "sitar", "banjo", "shamisen", "koto",
    "kalimba", "bagpipe", "fiddle", "shanai",
    "tinkle_bell", "agogo", "steel_drums", "woodblock",
    "taiko_drum", "melodic_tom", "synth_drum", "reverse_cymbal",
    "guitar_fret_noise", "breath_noise", "seashore", "bird_tweet",
    "telephone_ring", "helicopter", "applause", "gunshot",
};

struct DrumName {
    std::string_view name;
    int key;
};

constexpr DrumName DrumNames[] = {
    {"kick2", 35}, {"kick", 36}, {"rim", 37}, {"snare", 38},
    {"clap", 39}, {"snare2", 40}, {"floor_tom_low", 41}, {"hihat", 42},
    {"floor_tom", 43}, {"hihat_pedal", 44}, {"tom_low", 45}, {"hihat_open", 46},
    {"tom_mid_low", 47}, {"tom_mid_high", 48}, {"crash", 49}, {"tom_high", 50},
    {"ride", 51}, {"chinese_cymbal", 52}, {"ride_bell", 53}, {"tambourine", 54},
    {"splash", 55}, {"cowbell", 56}, {"crash2", 57}, {"vibraslap", 58},
    {"ride2", 59}, {"bongo_high", 60}, {"bongo_low", 61}, {"conga_mute", 62},
    {"conga_high", 63}, {"conga_low", 64}, {"timbale_high", 65}, {"timbale_low", 66},
    {"agogo_high", 67}, {"agogo_low", 68}, {"cabasa", 69}, {"maracas", 70},
    {"whistle_short", 71}, {"whistle_long", 72}, {"guiro_short", 73}, {"guiro_long", 74},
    {"claves", 75}, {"woodblock_high", 76}, {"woodblock_low", 77}, {"cuica_mute", 78},
    {"cuica_open", 79}, {"triangle_mute", 80}, {"triangle", 81},
};

} // namespace

std::optional<int> GeneralMidiProgram(std::string_view name)
{
    const auto found = std::find(ProgramNames.begin(), ProgramNames.end(), name);
    if (found == ProgramNames.end())
        return std::nullopt;
    return static_cast<int>(std::distance(ProgramNames.begin(), found));
}

std::optional<int> GeneralMidiDrumKey(std::string_view name)
{
    const auto found = std::find_if(std::begin(DrumNames), std::end(DrumNames),
                                    [name](const DrumName &drum) { return drum.name == name; });
    if (found == std::end(DrumNames))
        return std::nullopt;
    return found->key;
}
