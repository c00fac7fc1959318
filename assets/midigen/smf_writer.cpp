#include "smf_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Events at one tick go out in this order, so a repeated key is released
// before it is struck again.
enum class EventOrder { Setup, NoteOff, NoteOn, TempoOrMeter };

struct TrackEvent {
    long tick;
    EventOrder order;
    std::string bytes;
};

void AppendBigEndian(std::string &out, std::uint32_t value, int byteCount)
{
    for (int shift = (byteCount - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void AppendVariableLength(std::string &out, std::uint32_t value)
{
    std::string reversed(1, static_cast<char>(value & 0x7F));
    while ((value >>= 7) != 0)
        reversed.push_back(static_cast<char>(0x80 | (value & 0x7F)));
    out.append(reversed.rbegin(), reversed.rend());
}

std::string MetaEvent(int type, const std::string &data)
{
    std::string bytes{'\xFF', static_cast<char>(type)};
    AppendVariableLength(bytes, static_cast<std::uint32_t>(data.size()));
    return bytes + data;
}

std::string ChannelEvent(int status, int channel, int first, int second)
{
    return {static_cast<char>(status | channel), static_cast<char>(first), static_cast<char>(second)};
}

std::string ProgramChange(int channel, int program)
{
    return {static_cast<char>(0xC0 | channel), static_cast<char>(program)};
}

// One track chunk: the events sorted by time and order, then end of track.
std::string TrackChunk(std::vector<TrackEvent> events, long endTick)
{
    std::stable_sort(events.begin(), events.end(), [](const TrackEvent &a, const TrackEvent &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::string body;
    long now = 0;
    for (const TrackEvent &event : events) {
        AppendVariableLength(body, static_cast<std::uint32_t>(event.tick - now));
        body += event.bytes;
        now = event.tick;
    }
    AppendVariableLength(body, static_cast<std::uint32_t>(std::max(0L, endTick - now)));
    body += MetaEvent(0x2F, {});

    std::string chunk = "MTrk";
    AppendBigEndian(chunk, static_cast<std::uint32_t>(body.size()), 4);
    return chunk + body;
}

std::string ConductorTrack(const Score &score)
{
    std::vector<TrackEvent> events;
    events.push_back({0, EventOrder::Setup, MetaEvent(0x03, score.title)});
    for (const MeterChange &meter : score.meters) {
        int unitPower = 0;
        while ((1 << unitPower) < meter.unit)
            ++unitPower;
        const std::string data{static_cast<char>(meter.beats), static_cast<char>(unitPower), 24, 8};
        events.push_back({meter.tick, EventOrder::TempoOrMeter, MetaEvent(0x58, data)});
    }
    for (const TempoChange &tempo : score.tempos) {
        std::string microseconds;
        AppendBigEndian(microseconds, static_cast<std::uint32_t>(std::lround(60'000'000.0 / tempo.quartersPerMinute)), 3);
        events.push_back({tempo.tick, EventOrder::TempoOrMeter, MetaEvent(0x51, microseconds)});
    }
    return TrackChunk(std::move(events), score.endTick);
}

std::string VoiceTrack(const ScoreVoice &voice, long endTick)
{
    struct Controller {
        int number;
        int value;
    };
    const Controller controllers[] = {{7, voice.volume}, {10, voice.pan}, {91, voice.reverb}, {93, voice.chorus}};

    std::vector<TrackEvent> events;
    events.push_back({0, EventOrder::Setup, MetaEvent(0x03, voice.name)});
    events.push_back({0, EventOrder::Setup, ProgramChange(voice.channel, voice.program)});
    for (const Controller &controller : controllers)
        events.push_back({0, EventOrder::Setup, ChannelEvent(0xB0, voice.channel, controller.number, controller.value)});
    for (const ScoreNote &note : voice.notes) {
        events.push_back({note.start, EventOrder::NoteOn, ChannelEvent(0x90, voice.channel, note.key, note.velocity)});
        events.push_back({note.start + note.length, EventOrder::NoteOff, ChannelEvent(0x80, voice.channel, note.key, 0)});
    }
    return TrackChunk(std::move(events), endTick);
}

} // namespace

std::string StandardMidiFile(const Score &score)
{
    std::string file = "MThd";
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, 1, 2);
    AppendBigEndian(file, static_cast<std::uint32_t>(score.voices.size() + 1), 2);
    AppendBigEndian(file, static_cast<std::uint32_t>(TicksPerQuarter), 2);
    file += ConductorTrack(score);
    for (const ScoreVoice &voice : score.voices)
        file += VoiceTrack(voice, score.endTick);
    return file;
}
