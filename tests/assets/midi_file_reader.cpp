#include "midi_file_reader.h"

#include <QMap>
#include <QtEndian>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

struct TempoMark {
    qint64 tick;
    quint32 microsecondsPerQuarter;
};

class ByteCursor {
public:
    ByteCursor(const QByteArray &bytes, qsizetype begin, qsizetype end) : bytes_(bytes), position_(begin), end_(end) {}

    bool AtEnd() const { return position_ >= end_; }

    std::optional<quint8> Byte()
    {
        if (position_ >= end_)
            return std::nullopt;
        return quint8(bytes_[position_++]);
    }

    // A variable-length quantity: at most four bytes of seven bits each.
    std::optional<quint32> VariableLength()
    {
        quint32 value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto byte = Byte();
            if (!byte)
                return std::nullopt;
            value = (value << 7) | (*byte & 0x7F);
            if ((*byte & 0x80) == 0)
                return value;
        }
        return std::nullopt;
    }

    std::optional<QByteArray> Take(quint32 count)
    {
        if (end_ - position_ < qsizetype(count))
            return std::nullopt;
        const QByteArray taken = bytes_.mid(position_, count);
        position_ += count;
        return taken;
    }

private:
    const QByteArray &bytes_;
    qsizetype position_;
    qsizetype end_;
};

int DataBytesOf(quint8 status)
{
    const int kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

struct TrackReading {
    QString fault;
    qint64 endTick = 0;
};

TrackReading ReadTrack(ByteCursor cursor, MidiFileSummary &summary, std::vector<TempoMark> &tempos)
{
    QMap<int, int> sounding; // channel * 128 + key -> notes held
    qint64 tick = 0;
    quint8 runningStatus = 0;
    bool ended = false;
    while (!cursor.AtEnd()) {
        if (ended)
            return {QStringLiteral("events after the end of the track"), tick};
        const auto delta = cursor.VariableLength();
        auto status = cursor.Byte();
        if (!delta || !status)
            return {QStringLiteral("an event is cut off"), tick};
        tick += *delta;
        if (*status == 0xFF) {
            const auto type = cursor.Byte();
            const auto length = cursor.VariableLength();
            const auto data = length ? cursor.Take(*length) : std::nullopt;
            if (!type || !data)
                return {QStringLiteral("a meta event is cut off"), tick};
            if (*type == 0x51 && data->size() == 3)
                tempos.push_back({tick, (quint32(quint8((*data)[0])) << 16) | (quint32(quint8((*data)[1])) << 8)
                                            | quint8((*data)[2])});
            ended = *type == 0x2F;
            continue;
        }
        if (*status == 0xF0 || *status == 0xF7) {
            const auto length = cursor.VariableLength();
            if (!length || !cursor.Take(*length))
                return {QStringLiteral("a system exclusive event is cut off"), tick};
            continue;
        }
        std::optional<quint8> first;
        if (*status & 0x80) {
            runningStatus = *status;
            first = cursor.Byte();
        } else if (runningStatus != 0) {
            first = status;
            status = runningStatus;
        } else {
            return {QStringLiteral("a data byte without a status"), tick};
        }
        const auto second = DataBytesOf(*status) == 2 ? cursor.Byte() : std::optional<quint8>(0);
        if (!first || !second || (*first & 0x80) || (*second & 0x80))
            return {QStringLiteral("a channel event has bad data"), tick};
        const int kind = *status & 0xF0;
        const int key = (*status & 0x0F) * 128 + *first;
        if (kind == 0x90 && *second > 0) {
            ++summary.noteCount;
            if (sounding.value(key) > 0)
                ++summary.restruckNotes;
            ++sounding[key];
        } else if (kind == 0x80 || kind == 0x90) {
            sounding[key] = std::max(0, sounding.value(key) - 1);
        }
    }
    if (!ended)
        return {QStringLiteral("the track has no end-of-track event"), tick};
    for (int held : std::as_const(sounding))
        summary.unreleasedNotes += held;
    return {{}, tick};
}

double SecondsOf(std::vector<TempoMark> tempos, qint64 endTick, int ticksPerQuarter)
{
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoMark &a, const TempoMark &b) { return a.tick < b.tick; });
    double seconds = 0.0;
    qint64 tick = 0;
    quint32 microseconds = 500000; // the default tempo, 120 quarters a minute
    for (const TempoMark &tempo : tempos) {
        const qint64 until = std::min(tempo.tick, endTick);
        seconds += double(until - tick) * microseconds / ticksPerQuarter / 1e6;
        tick = until;
        microseconds = tempo.microsecondsPerQuarter;
    }
    return seconds + double(endTick - tick) * microseconds / ticksPerQuarter / 1e6;
}

} // namespace

MidiFileSummary ReadMidiFile(const QByteArray &bytes)
{
    MidiFileSummary summary;
    if (bytes.size() < 14 || !bytes.startsWith("MThd") || qFromBigEndian<quint32>(bytes.constData() + 4) != 6) {
        summary.fault = QStringLiteral("no MThd header");
        return summary;
    }
    summary.format = qFromBigEndian<quint16>(bytes.constData() + 8);
    const int declaredTracks = qFromBigEndian<quint16>(bytes.constData() + 10);
    const int division = qFromBigEndian<quint16>(bytes.constData() + 12);
    if (division == 0 || (division & 0x8000)) {
        summary.fault = QStringLiteral("not a ticks-per-quarter division");
        return summary;
    }

    std::vector<TempoMark> tempos;
    qint64 endTick = 0;
    qsizetype position = 14;
    while (position < bytes.size()) {
        if (bytes.size() - position < 8 || bytes.mid(position, 4) != "MTrk") {
            summary.fault = QStringLiteral("chunk %1 is not a track").arg(summary.trackCount + 1);
            return summary;
        }
        const quint32 length = qFromBigEndian<quint32>(bytes.constData() + position + 4);
        const qsizetype body = position + 8;
        if (bytes.size() - body < qsizetype(length)) {
            summary.fault = QStringLiteral("track %1 runs past the end of the file").arg(summary.trackCount + 1);
            return summary;
        }
        const TrackReading track = ReadTrack(ByteCursor(bytes, body, body + length), summary, tempos);
        ++summary.trackCount;
        if (!track.fault.isEmpty()) {
            summary.fault = QStringLiteral("track %1: %2").arg(summary.trackCount).arg(track.fault);
            return summary;
        }
        endTick = std::max(endTick, track.endTick);
        position = body + length;
    }
    if (summary.trackCount != declaredTracks) {
        summary.fault = QStringLiteral("the header declares %1 tracks, the file holds %2")
                            .arg(declaredTracks)
                            .arg(summary.trackCount);
        return summary;
    }
    summary.seconds = SecondsOf(std::move(tempos), endTick, division);
    return summary;
}
