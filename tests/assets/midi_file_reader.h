#pragma once

#include <QByteArray>
#include <QString>

// What an independent reading of a Standard MIDI File finds: enough to tell
// whether the file is well formed, how long it plays and whether every note
// that starts also stops.
struct MidiFileSummary {
    QString fault;             // empty when the file reads cleanly
    int format = -1;
    int trackCount = 0;
    int noteCount = 0;
    int unreleasedNotes = 0;   // notes still held when their track ends
    int restruckNotes = 0;     // keys struck again while still sounding
    double seconds = 0.0;
};

MidiFileSummary ReadMidiFile(const QByteArray &bytes);
