// The sound files the build lays out beside the program: each must be what
// its name says, of a sensible length, audible and free of clipping.
#include <QFile>
#include <QTest>
#include <QtEndian>

namespace {

QString ProgramFile(const QString &relativePath)
{
    return QStringLiteral(RAVEZAZ_PROGRAM_DIR) + relativePath;
}

struct WaveFile {
    bool valid = false;
    QString fault;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    double seconds = 0.0;
    int peak = 0;          // largest sample magnitude
};

// Walks the RIFF chunks and reads the PCM samples.
WaveFile ReadWave(const QByteArray &bytes)
{
    WaveFile wave;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE") {
        wave.fault = QStringLiteral("no RIFF WAVE header");
        return wave;
    }
    bool haveFormat = false;
    qsizetype position = 12;
    while (position + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(position, 4);
        const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + position + 4);
        const qsizetype body = position + 8;
        if (body + qsizetype(size) > bytes.size()) {
            wave.fault = QStringLiteral("chunk %1 runs past the end").arg(QString::fromLatin1(id));
            return wave;
        }
        if (id == "fmt " && size >= 16) {
            const char *format = bytes.constData() + body;
            if (qFromLittleEndian<quint16>(format) != 1) {
                wave.fault = QStringLiteral("not PCM");
                return wave;
            }
            wave.channels = qFromLittleEndian<quint16>(format + 2);
            wave.sampleRate = int(qFromLittleEndian<quint32>(format + 4));
            wave.bitsPerSample = qFromLittleEndian<quint16>(format + 14);
            haveFormat = true;
        } else if (id == "data" && haveFormat && wave.bitsPerSample == 16 && wave.channels > 0) {
            const qsizetype samples = size / 2;
            for (qsizetype i = 0; i < samples; ++i) {
                const int sample = qFromLittleEndian<qint16>(bytes.constData() + body + 2 * i);
                wave.peak = std::max(wave.peak, std::abs(sample));
            }
            wave.seconds = double(samples / wave.channels) / wave.sampleRate;
            wave.valid = true;
            return wave;
        }
        position = body + size + (size % 2);
    }
    wave.fault = QStringLiteral("no 16-bit data chunk after a format chunk");
    return wave;
}

struct Mp3Stream {
    int frames = 0;
    int sampleRate = 0;
    qsizetype audioBytes = 0;  // bytes covered by consecutive frames
    double seconds = 0.0;
};

// Skips an ID3v2 tag, then follows MPEG-1 Layer III frame headers from one
// frame to the next, as a player does.
Mp3Stream ReadMp3(const QByteArray &bytes)
{
    constexpr int Bitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    constexpr int SampleRates[4] = {44100, 48000, 32000, 0};
    Mp3Stream stream;
    qsizetype position = 0;
    if (bytes.startsWith("ID3") && bytes.size() >= 10) {
        const auto size = [&](int i) { return qsizetype(quint8(bytes[6 + i]) & 0x7F); };
        position = 10 + (size(0) << 21 | size(1) << 14 | size(2) << 7 | size(3));
    }
    while (position + 4 <= bytes.size()) {
        const auto *header = reinterpret_cast<const quint8 *>(bytes.constData() + position);
        const bool sync = header[0] == 0xFF && (header[1] & 0xFE) == 0xFA;   // MPEG-1, Layer III
        const int bitrate = Bitrates[header[2] >> 4];
        const int sampleRate = SampleRates[(header[2] >> 2) & 3];
        if (!sync || bitrate == 0 || sampleRate == 0)
            break;
        const qsizetype length = 144000 * bitrate / sampleRate + ((header[2] >> 1) & 1);
        if (position + length > bytes.size())
            break;
        ++stream.frames;
        stream.sampleRate = sampleRate;
        stream.audioBytes += length;
        position += length;
    }
    if (stream.sampleRate)
        stream.seconds = double(stream.frames) * 1152 / stream.sampleRate;
    return stream;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// Quieter than this and an effect would go unheard beside the music.
constexpr int AudiblePeak = 8000;
// Louder than this counts as clipped.
constexpr int ClippedPeak = 32000;

} // namespace

class SoundFilesTest : public QObject {
    Q_OBJECT
private slots:
    void effectIsShortCleanWave_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("s1 click") << "/wav/s1.wav" << 0.03 << 0.3;
        QTest::newRow("s2 trigrams open") << "/wav/s2.wav" << 0.3 << 2.5;
        QTest::newRow("s3 manual entry opens") << "/wav/s3.wav" << 0.3 << 2.5;
        QTest::newRow("option") << "/wav/option.wav" << 0.2 << 1.5;
        QTest::newRow("close") << "/wav/close.wav" << 0.2 << 1.5;
        QTest::newRow("open") << "/wav/open.wav" << 0.5 << 3.0;
        // One tick per second of a countdown: it must end well within it.
        QTest::newRow("step") << "/wav/step.wav" << 0.05 << 0.5;
        QTest::newRow("res at fast speeds") << "/wav/res.wav" << 0.1 << 0.6;
        QTest::newRow("res2 at slow speeds") << "/wav/res2.wav" << 0.3 << 2.0;
        QTest::newRow("end") << "/wav/end.wav" << 1.0 << 4.0;
        QTest::newRow("guyue") << "/wav/guyue.wav" << 1.0 << 5.0;
    }
    void effectIsShortCleanWave()
    {
        QFETCH(QString, path);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        const WaveFile wave = ReadWave(ReadAll(ProgramFile(path)));
        QVERIFY2(wave.valid, qPrintable(wave.fault));
        QCOMPARE(wave.bitsPerSample, 16);
        QVERIFY(wave.channels == 1 || wave.channels == 2);
        QCOMPARE(wave.sampleRate, 44100);
        QVERIFY2(wave.seconds >= shortest && wave.seconds <= longest, qPrintable(QString::number(wave.seconds)));
        QVERIFY2(wave.peak >= AudiblePeak && wave.peak < ClippedPeak, qPrintable(QString::number(wave.peak)));
    }

    void waveReaderRejectsBrokenFile()
    {
        const WaveFile wave = ReadWave(ReadAll(QStringLiteral(RAVEZAZ_FIXTURES "/sound/truncated-header.wav")));
        QVERIFY(!wave.valid);
    }

    void mp3IsMpegAudioOfSensibleLength_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("firecrackers") << "/festival/爆竹.mp3" << 3.0 << 20.0;
        QTest::newRow("gongs and drums") << "/festival/锣鼓.mp3" << 3.0 << 20.0;
        QTest::newRow("about window music") << "/wav/音乐.mp3" << 30.0 << 60.0;
    }
    void mp3IsMpegAudioOfSensibleLength()
    {
        QFETCH(QString, path);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        const QByteArray bytes = ReadAll(ProgramFile(path));
        QVERIFY(!bytes.isEmpty());
        const Mp3Stream stream = ReadMp3(bytes);
        QCOMPARE(stream.sampleRate, 44100);
        // Frames follow one another to (nearly) the end: only a short tag
        // may trail them.
        QVERIFY2(stream.audioBytes >= bytes.size() - 1024,
                 qPrintable(QStringLiteral("%1 of %2 bytes").arg(stream.audioBytes).arg(bytes.size())));
        QVERIFY2(stream.seconds >= shortest && stream.seconds <= longest, qPrintable(QString::number(stream.seconds)));
    }

    void mp3ReaderRejectsWave()
    {
        QCOMPARE(ReadMp3(ReadAll(ProgramFile(QStringLiteral("/wav/end.wav")))).frames, 0);
    }
};

QTEST_MAIN(SoundFilesTest)
#include "test_sound_files.moc"
