#include "note_list.h"

#include "general_midi.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <utility>

namespace {

struct NoteListError {
    int line;
    std::string message;
};

[[noreturn]] void Fail(int line, std::string message)
{
    throw NoteListError{line, std::move(message)};
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (true) {
        pos = text.find_first_not_of(" \t\r", pos);
        if (pos == std::string_view::npos)
            return words;
        const auto end = text.find_first_of(" \t\r", pos);
        words.push_back(text.substr(pos, end == std::string_view::npos ? end : end - pos));
        if (end == std::string_view::npos)
            return words;
        pos = end;
    }
}

std::optional<int> WholeNumber(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int NumberInRange(std::string_view text, int low, int high, int line, std::string_view what)
{
    const auto value = WholeNumber(text);
    if (!value || *value < low || *value > high)
        Fail(line, std::string(what) + " must be a whole number from " + std::to_string(low) + " to "
                       + std::to_string(high) + ", not \"" + std::string(text) + "\"");
    return *value;
}

double Tempo(std::string_view text, int line)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 10 || value > 400)
        Fail(line, "tempo must be 10 to 400 quarter notes a minute, not \"" + std::string(text) + "\"");
    return value;
}

struct DynamicMark {
    std::string_view mark;
    int velocity;
};

constexpr DynamicMark DynamicMarks[] = {
    {"pp", 36}, {"p", 50}, {"mp", 64}, {"mf", 78}, {"f", 92}, {"ff", 106},
};

std::optional<int> DynamicVelocity(std::string_view mark)
{
    for (const DynamicMark &dynamic : DynamicMarks) {
        if (dynamic.mark == mark)
            return dynamic.velocity;
    }
    return std::nullopt;
}

// Velocity added to a note marked with a leading ^, and to notes on the
// first beat of a bar and on the other beats, so phrases have a pulse.
constexpr int AccentBoost = 16;
constexpr int DownbeatBoost = 6;
constexpr int BeatBoost = 2;

struct Meter {
    int beats = 4;
    int unit = 4;

    long BarTicks() const { return TicksPerQuarter * 4 * beats / unit; }
    long BeatTicks() const { return TicksPerQuarter * 4 / unit; }
    bool operator==(const Meter &) const = default;
};

struct VoiceSpec {
    ScoreVoice voice;
    bool drums = false;
    int gatePercent = 92;
    int startVelocity = 78;
};

struct PartLine {
    int line;
    std::string_view tokens;
};

struct Section {
    std::string name;
    int line = 0;
    std::optional<Meter> meter;
    std::map<std::string, std::vector<PartLine>, std::less<>> parts;
};

struct PieceSpec {
    std::string title;
    std::optional<double> tempo;
    Meter meter;
    int transpose = 0;
    std::vector<VoiceSpec> voices;
    std::vector<Section> sections;
    std::vector<std::string_view> playOrder;
    int playLine = 0;
};

// Ticks of a duration such as 4, 8., 16t or 2_8 (a half tied to an eighth).
long DurationTicks(std::string_view text, int line)
{
    long total = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        const auto end = std::min(text.find('_', pos), text.size());
        std::string_view piece = text.substr(pos, end - pos);
        std::size_t digits = 0;
        while (digits < piece.size() && piece[digits] >= '0' && piece[digits] <= '9')
            ++digits;
        const auto denominator = WholeNumber(piece.substr(0, digits));
        static constexpr int Denominators[] = {1, 2, 4, 8, 16, 32, 64};
        if (!denominator || std::find(std::begin(Denominators), std::end(Denominators), *denominator)
                                == std::end(Denominators))
            Fail(line, "duration \"" + std::string(text) + "\" is not 1, 2, 4, 8, 16, 32 or 64");
        long ticks = TicksPerQuarter * 4 / *denominator;
        long added = ticks;
        piece.remove_prefix(digits);
        while (!piece.empty() && piece.front() == '.') {
            if (added % 2 != 0)
                Fail(line, "duration \"" + std::string(text) + "\" has too many dots");
            added /= 2;
            ticks += added;
            piece.remove_prefix(1);
        }
        if (!piece.empty() && piece.front() == 't') {
            if (ticks * 2 % 3 != 0)
                Fail(line, "duration \"" + std::string(text) + "\" cannot be a triplet");
            ticks = ticks * 2 / 3;
            piece.remove_prefix(1);
        }
        if (!piece.empty())
            Fail(line, "duration \"" + std::string(text) + "\" is not understood");
        total += ticks;
        pos = end + 1;
    }
    return total;
}

// MIDI key of a pitch such as C4 (middle C, key 60), F#3 or Bb5.
std::optional<int> PitchKey(std::string_view text)
{
    static constexpr int Semitones[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (text.size() < 2 || text[0] < 'A' || text[0] > 'G')
        return std::nullopt;
    int key = Semitones[text[0] - 'A'];
    text.remove_prefix(1);
    if (text.front() == '#' || text.front() == 'b') {
        key += text.front() == '#' ? 1 : -1;
        text.remove_prefix(1);
    }
    const auto octave = WholeNumber(text);
    if (!octave)
        return std::nullopt;
    return (*octave + 1) * 12 + key;
}

struct PartEvents {
    std::vector<ScoreNote> notes;
    std::vector<TempoChange> tempos;
    long length = 0;
};

// Turns the note tokens of one voice in one section into timed notes.
class PartReader {
public:
    PartReader(const VoiceSpec &voice, const Meter &meter, int transpose)
        : voice_(voice), meter_(meter), transpose_(transpose), velocity_(voice.startVelocity)
    {
    }

    PartEvents Read(const std::vector<PartLine> &lines)
    {
        int lastLine = 0;
        for (const PartLine &part : lines) {
            lastLine = part.line;
            for (std::string_view token : Words(part.tokens))
                ReadToken(token, part.line);
        }
        if (!tiedKeys_.empty())
            Fail(lastLine, "a tie at the end of a section has no note to continue");
        Finish();
        events_.length = time_;
        return std::move(events_);
    }

private:
    void ReadToken(std::string_view token, int line)
    {
        if (token == "|") {
            BarLine(line);
            return;
        }
        if (token == "%") {
            RepeatBar(line);
            return;
        }
        currentBar_.tokens.push_back({line, token});
        if (const auto velocity = DynamicVelocity(token))
            velocity_ = *velocity;
        else if (token.starts_with("tempo="))
            events_.tempos.push_back({time_, Tempo(token.substr(6), line)});
        else
            Note(token, line);
    }

    // A bar line checks that the bar just ended holds exactly one bar; the
    // first bar of a section may be shorter (an upbeat).
    void BarLine(int line)
    {
        const long barTicks = meter_.BarTicks();
        if (time_ == lastBar_ && (sawBar_ || time_ == 0)) {
            sawBar_ = true;
            return;
        }
        const long held = time_ - lastBar_;
        if (sawBar_ ? held != barTicks : held > barTicks)
            Fail(line, "bar holds " + std::to_string(held) + " ticks, the meter asks for "
                           + std::to_string(barTicks) + " (a quarter note is "
                           + std::to_string(TicksPerQuarter) + ")");
        if (!sawBar_)
            anchor_ = time_;
        sawBar_ = true;
        lastBar_ = time_;
        previousBar_ = std::move(currentBar_);
        currentBar_ = {duration_, {}};
    }

    // % plays the bar before it again, as the repeat sign of written music.
    void RepeatBar(int line)
    {
        if (previousBar_.tokens.empty())
            Fail(line, "% has no bar before it to repeat");
        if (!currentBar_.tokens.empty())
            Fail(line, "% must fill a bar of its own");
        const BarTokens repeated = previousBar_;
        duration_ = repeated.startDuration;
        currentBar_.startDuration = repeated.startDuration;
        for (const BarToken &token : repeated.tokens)
            ReadToken(token.text, token.line);
    }

    void Note(std::string_view token, int line)
    {
        const bool accented = token.starts_with('^');
        if (accented)
            token.remove_prefix(1);
        const bool tiedOn = token.ends_with('~');
        if (tiedOn)
            token.remove_suffix(1);
        const auto slash = token.find('/');
        if (slash != std::string_view::npos)
            duration_ = DurationTicks(token.substr(slash + 1), line);
        const std::vector<int> keys = Keys(token.substr(0, slash), line);

        if (!tiedKeys_.empty()) {
            if (keys != tiedKeys_)
                Fail(line, "a tie must continue the same note, not \"" + std::string(token) + "\"");
            for (std::size_t i = tiedFrom_; i < events_.notes.size(); ++i)
                events_.notes[i].length += duration_;
        } else {
            tiedFrom_ = events_.notes.size();
            const int velocity = velocity_ + (accented ? AccentBoost : 0);
            for (int key : keys)
                events_.notes.push_back({time_, duration_, key, velocity});
        }
        if (tiedOn && keys.empty())
            Fail(line, "a rest cannot be tied");
        tiedKeys_ = tiedOn ? keys : std::vector<int>();
        time_ += duration_;
    }

    // Sorted keys of the pitches or drums in a note head; empty for a rest.
    std::vector<int> Keys(std::string_view head, int line) const
    {
        std::vector<int> keys;
        if (head == "R")
            return keys;
        std::size_t pos = 0;
        while (pos <= head.size()) {
            const auto end = std::min(head.find('+', pos), head.size());
            const std::string_view name = head.substr(pos, end - pos);
            keys.push_back(voice_.drums ? DrumKey(name, line) : PitchedKey(name, line));
            pos = end + 1;
        }
        std::sort(keys.begin(), keys.end());
        if (std::adjacent_find(keys.begin(), keys.end()) != keys.end())
            Fail(line, "\"" + std::string(head) + "\" strikes one key twice");
        return keys;
    }

    int DrumKey(std::string_view name, int line) const
    {
        const auto key = GeneralMidiDrumKey(name);
        if (!key)
            Fail(line, "\"" + std::string(name) + "\" is not a drum name");
        return *key;
    }

    int PitchedKey(std::string_view name, int line) const
    {
        const auto key = PitchKey(name);
        if (!key)
            Fail(line, "\"" + std::string(name) + "\" is not a pitch (such as C4, F#3, Bb5) or R");
        const int sounding = *key + transpose_;
        if (sounding < 0 || sounding > 127)
            Fail(line, "\"" + std::string(name) + "\" lies outside the MIDI keys");
        return sounding;
    }

    // Shortens every note to its gate and adds the pulse of the meter.
    void Finish()
    {
        const long barTicks = meter_.BarTicks();
        const long beatTicks = meter_.BeatTicks();
        for (ScoreNote &note : events_.notes) {
            note.length = std::max(1L, note.length * voice_.gatePercent / 100);
            const long inBar = ((note.start - anchor_) % barTicks + barTicks) % barTicks;
            if (inBar == 0)
                note.velocity += DownbeatBoost;
            else if (inBar % beatTicks == 0)
                note.velocity += BeatBoost;
            note.velocity = std::clamp(note.velocity, 1, 127);
        }
    }

    const VoiceSpec &voice_;
    const Meter &meter_;
    const int transpose_;
    PartEvents events_;
    long time_ = 0;
    long duration_ = TicksPerQuarter;
    int velocity_;
    long lastBar_ = 0;
    long anchor_ = 0;
    bool sawBar_ = false;
    std::vector<int> tiedKeys_;
    std::size_t tiedFrom_ = 0;

    // The tokens of a bar and the note length in force where it began.
    struct BarToken {
        int line;
        std::string_view text;
    };
    struct BarTokens {
        long startDuration = TicksPerQuarter;
        std::vector<BarToken> tokens;
    };
    BarTokens currentBar_;
    BarTokens previousBar_;
};

void ReadVoiceOptions(VoiceSpec &voiceEntry, const std::vector<std::string_view> &words, std::size_t first,
                      int line)
{
    for (std::size_t i = first; i < words.size(); i += 2) {
        if (i + 1 >= words.size())
            Fail(line, "option \"" + std::string(words[i]) + "\" has no value");
        const std::string_view option = words[i];
        const std::string_view value = words[i + 1];
        if (option == "volume")
            voiceEntry.voice.volume = NumberInRange(value, 0, 127, line, "volume");
        else if (option == "pan")
            voiceEntry.voice.pan = NumberInRange(value, 0, 127, line, "pan");
        else if (option == "reverb")
            voiceEntry.voice.reverb = NumberInRange(value, 0, 127, line, "reverb");
        else if (option == "chorus")
            voiceEntry.voice.chorus = NumberInRange(value, 0, 127, line, "chorus");
        else if (option == "gate")
            voiceEntry.gatePercent = NumberInRange(value, 1, 100, line, "gate");
        else if (option == "dynamic") {
            const auto velocity = DynamicVelocity(value);
            if (!velocity)
                Fail(line, "dynamic must be pp, p, mp, mf, f or ff");
            voiceEntry.startVelocity = *velocity;
        } else
            Fail(line, "unknown voice option \"" + std::string(option) + "\"");
    }
}

void ReadVoice(PieceSpec &piece, const std::vector<std::string_view> &words, int line)
{
    const bool drums = words[0] == "drums";
    const std::size_t optionsFrom = drums ? 2 : 3;
    if (words.size() < optionsFrom)
        Fail(line, drums ? "drums needs a name" : "voice needs a name and an instrument");
    VoiceSpec voiceEntry;
    voiceEntry.drums = drums;
    voiceEntry.voice.name = std::string(words[1]);
    const bool taken = std::any_of(piece.voices.begin(), piece.voices.end(), [&](const VoiceSpec &other) {
        return other.voice.name == voiceEntry.voice.name;
    });
    if (taken)
        Fail(line, "voice \"" + voiceEntry.voice.name + "\" is declared twice");
    const auto pitchedVoices = std::count_if(piece.voices.begin(), piece.voices.end(),
                                             [](const VoiceSpec &other) { return !other.drums; });
    if (!drums && pitchedVoices == 15)
        Fail(line, "more than 15 pitched voices do not fit the MIDI channels");
    if (!drums) {
        const auto program = GeneralMidiProgram(words[2]);
        if (!program)
            Fail(line, "\"" + std::string(words[2]) + "\" is not a General MIDI instrument name");
        voiceEntry.voice.program = *program;
    }
    ReadVoiceOptions(voiceEntry, words, optionsFrom, line);
    // Drum voices share one channel, so its mixer settings must be the same for all.
    const auto otherDrums = std::find_if(piece.voices.begin(), piece.voices.end(),
                                         [](const VoiceSpec &other) { return other.drums; });
    if (drums && otherDrums != piece.voices.end()) {
        const ScoreVoice &a = otherDrums->voice;
        const ScoreVoice &b = voiceEntry.voice;
        if (a.volume != b.volume || a.pan != b.pan || a.reverb != b.reverb || a.chorus != b.chorus)
            Fail(line, "drum voices share channel 10 and must agree on volume, pan, reverb and chorus");
    }
    piece.voices.push_back(std::move(voiceEntry));
}

Meter ReadMeter(std::string_view text, int line)
{
    static constexpr int Units[] = {1, 2, 4, 8, 16};
    const auto slash = text.find('/');
    const auto beats = WholeNumber(text.substr(0, slash));
    const auto unit = WholeNumber(text.substr(std::min(slash, text.size() - 1) + 1));
    if (slash == std::string_view::npos || !beats || *beats < 1 || *beats > 32 || !unit
        || std::find(std::begin(Units), std::end(Units), *unit) == std::end(Units))
        Fail(line, "meter must look like 3/4 or 6/8");
    return {*beats, *unit};
}

void ReadPartLine(PieceSpec &piece, std::string_view text, int line)
{
    const auto colon = text.find(':');
    const std::string_view name = Trimmed(text.substr(0, colon));
    if (colon == std::string_view::npos || name.empty() || Words(name).size() != 1)
        Fail(line, "\"" + std::string(Words(text).front()) + "\" is not a directive or a voice line");
    if (piece.sections.empty())
        Fail(line, "notes must stand inside a section");
    const bool known = std::any_of(piece.voices.begin(), piece.voices.end(),
                                   [&](const VoiceSpec &voiceEntry) { return voiceEntry.voice.name == name; });
    if (!known)
        Fail(line, "voice \"" + std::string(name) + "\" is not declared");
    piece.sections.back().parts[std::string(name)].push_back({line, text.substr(colon + 1)});
}

void ReadLine(PieceSpec &piece, std::string_view text, int line)
{
    const std::vector<std::string_view> words = Words(text);
    const std::string_view directive = words.front();
    const auto needs = [&](std::size_t count) {
        if (words.size() != count)
            Fail(line, std::string(directive) + " takes " + std::to_string(count - 1) + " value(s)");
    };
    if (directive == "title") {
        piece.title = std::string(Trimmed(text.substr(directive.size())));
    } else if (directive == "tempo") {
        needs(2);
        piece.tempo = Tempo(words[1], line);
    } else if (directive == "meter") {
        // Before the first section it is the piece's meter; inside a section, that section's.
        needs(2);
        const Meter meter = ReadMeter(words[1], line);
        if (piece.sections.empty())
            piece.meter = meter;
        else
            piece.sections.back().meter = meter;
    } else if (directive == "transpose") {
        needs(2);
        piece.transpose = NumberInRange(words[1], -24, 24, line, "transpose");
    } else if (directive == "voice" || directive == "drums") {
        ReadVoice(piece, words, line);
    } else if (directive == "section") {
        needs(2);
        const bool taken = std::any_of(piece.sections.begin(), piece.sections.end(),
                                       [&](const Section &section) { return section.name == words[1]; });
        if (taken)
            Fail(line, "section \"" + std::string(words[1]) + "\" is written twice");
        piece.sections.push_back({std::string(words[1]), line, std::nullopt, {}});
    } else if (directive == "play") {
        piece.playOrder.assign(words.begin() + 1, words.end());
        piece.playLine = line;
    } else {
        ReadPartLine(piece, text, line);
    }
}

PieceSpec ReadPieceSpec(std::string_view text)
{
    PieceSpec piece;
    int line = 0;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        ++line;
        const auto end = std::min(text.find('\n', pos), text.size());
        std::string_view content = text.substr(pos, end - pos);
        content = Trimmed(content.substr(0, content.find("//")));
        if (!content.empty())
            ReadLine(piece, content, line);
        pos = end + 1;
    }
    if (!piece.tempo)
        Fail(line, "the piece has no tempo");
    if (piece.voices.empty())
        Fail(line, "the piece has no voices");
    if (piece.playOrder.empty())
        Fail(line, "the piece has no play line naming its sections in order");
    return piece;
}

Score BuildScore(const PieceSpec &piece)
{
    Score score;
    score.title = piece.title;
    score.tempos.push_back({0, *piece.tempo});
    // Pitched voices take the channels in order, passing over the percussion channel.
    int nextChannel = 0;
    for (const VoiceSpec &voiceEntry : piece.voices) {
        score.voices.push_back(voiceEntry.voice);
        if (voiceEntry.drums) {
            score.voices.back().channel = PercussionChannel;
            continue;
        }
        if (nextChannel == PercussionChannel)
            ++nextChannel;
        score.voices.back().channel = nextChannel++;
    }

    long offset = 0;
    for (std::string_view name : piece.playOrder) {
        const auto section = std::find_if(piece.sections.begin(), piece.sections.end(),
                                          [&](const Section &s) { return s.name == name; });
        if (section == piece.sections.end())
            Fail(piece.playLine, "there is no section \"" + std::string(name) + "\"");
        const Meter meter = section->meter.value_or(piece.meter);
        if (score.meters.empty() || score.meters.back().beats != meter.beats
            || score.meters.back().unit != meter.unit)
            score.meters.push_back({offset, meter.beats, meter.unit});
        std::optional<long> length;
        std::string lengthVoice;
        for (std::size_t v = 0; v < piece.voices.size(); ++v) {
            const auto part = section->parts.find(piece.voices[v].voice.name);
            if (part == section->parts.end())
                continue;
            PartEvents events = PartReader(piece.voices[v], meter, piece.transpose).Read(part->second);
            if (length && *length != events.length)
                Fail(section->line, "in section " + section->name + " voice " + part->first + " lasts "
                                        + std::to_string(events.length) + " ticks but voice " + lengthVoice
                                        + " lasts " + std::to_string(*length));
            length = events.length;
            lengthVoice = part->first;
            for (ScoreNote note : events.notes) {
                note.start += offset;
                score.voices[v].notes.push_back(note);
            }
            for (TempoChange tempo : events.tempos) {
                tempo.tick += offset;
                score.tempos.push_back(tempo);
            }
        }
        if (!length || *length == 0)
            Fail(section->line, "section " + section->name + " holds no notes");
        offset += *length;
    }
    std::stable_sort(score.tempos.begin(), score.tempos.end(),
                     [](const TempoChange &a, const TempoChange &b) { return a.tick < b.tick; });
    score.endTick = offset;
    return score;
}

} // namespace

NoteListResult ReadNoteList(std::string_view text)
{
    try {
        return {BuildScore(ReadPieceSpec(text)), {}};
    } catch (const NoteListError &error) {
        return {std::nullopt, "line " + std::to_string(error.line) + ": " + error.message};
    }
}
