#include "file_size_limit.h"
#include "fileformat/gbk_codec.h"
#include "shell/settings.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString fixture(const QString &name)
{
    return QStringLiteral(RAVEZAZ_FIXTURES "/settings/") + name;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a settings file gives: the four options, the name and the speed.
Settings load(const QString &path)
{
    // Values left from an earlier read must not survive a short file.
    Settings settings{MusicState::Festival, false, true, false, QStringLiteral("旧"), 4};
    ReadSettings(path, settings);
    return settings;
}

constexpr std::optional<bool> Unset;

Settings loaded(MusicState music, const char16_t *name, int speed, std::optional<bool> quotes,
                std::optional<bool> translation, std::optional<bool> tips)
{
    return {music, quotes, translation, tips, QString::fromUtf16(name), speed};
}

QString debugText(std::optional<bool> value)
{
    return value ? QString::number(*value) : QStringLiteral("unset");
}

} // namespace

QDebug operator<<(QDebug debug, const Settings &loaded)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "Settings(" << int(loaded.musicState) << ", " << loaded.divinerName << ", "
                    << loaded.castingSpeed << ", " << debugText(loaded.showQuotes) << ", "
                    << debugText(loaded.printTranslation) << ", " << debugText(loaded.todayTips)
                    << ')';
    return debug;
}

class SettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void readingAppliesDefaultsToWhatIsMissing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<Settings>("expected");
        QTest::newRow("no file") << "missing.kds" << loaded(MusicState::Unset, u"某官", 3, Unset, Unset, Unset);
        QTest::newRow("empty") << "empty.kds" << loaded(MusicState::Unset, u"某官", 3, Unset, Unset, Unset);
        QTest::newRow("all set") << "all-set.kds" << loaded(MusicState::Festival, u"张三", 5, false, true, true);
        QTest::newRow("two fields") << "two-fields.kds" << loaded(MusicState::Off, u"李四", 3, Unset, Unset, Unset);
        QTest::newRow("blank name and speed") << "blank-name.kds" << loaded(MusicState::Background, u"某官", 3, true, false, false);
        QTest::newRow("letters for speed") << "letters-for-speed.kds" << loaded(MusicState::Background, u"张三", 3, Unset, Unset, Unset);
        QTest::newRow("speed out of range") << "speed-out-of-range.kds" << loaded(MusicState::Background, u"张三", 9, Unset, Unset, Unset);
        QTest::newRow("unquoted fields") << "unquoted-fields.kds" << loaded(MusicState::Off, u"张三", 2, false, true, true);
        QTest::newRow("no final line end") << "no-final-crlf.kds" << loaded(MusicState::Background, u"王五", 1, Unset, true, Unset);
        QTest::newRow("two lines") << "two-lines.kds" << loaded(MusicState::Background, u"赵六", 2, Unset, Unset, Unset);
        // A field that is not GBK counts as never set.
        QTest::newRow("invalid GBK in name") << "invalid-gbk.kds" << loaded(MusicState::Background, u"某官", 4, Unset, Unset, Unset);
        QTest::newRow("invalid GBK in music state")
            << "invalid-gbk-music.kds" << loaded(MusicState::Unset, u"张三", 2, false, true, true);
        // A line break an earlier version let into the name splits the line
        // inside the quoted name; the options after it are still read.
        QTest::newRow("CR LF in name") << "line-break-in-name.kds" << loaded(MusicState::Off, u"张三", 2, false, true, true);
        QTest::newRow("CR in name") << "cr-line-break-in-name.kds"
                                    << loaded(MusicState::Festival, u"李四", 5, Unset, true, Unset);
    }
    void readingAppliesDefaultsToWhatIsMissing()
    {
        QFETCH(QString, file);
        QFETCH(Settings, expected);
        QCOMPARE(load(fixture(file)), expected);
    }

    void optionFlagsTakeOnlyTheExactText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("quotes");
        QTest::addColumn<bool>("translation");
        QTest::addColumn<bool>("tips");
        QTest::newRow("empty") << "" << true << false << true;
        QTest::newRow("关") << "关" << false << false << false;
        QTest::newRow("开") << "开" << true << false << true;
        QTest::newRow("是") << "是" << true << true << true;
        QTest::newRow("否") << "否" << true << false << true;
        QTest::newRow("关 with a space") << "关 " << true << false << true;
        QTest::newRow("是 with a space") << " 是" << true << false << true;
    }
    void optionFlagsTakeOnlyTheExactText()
    {
        QFETCH(QString, text);
        QFETCH(bool, quotes);
        QFETCH(bool, translation);
        QFETCH(bool, tips);
        QBuffer file;
        file.setData(EncodeGb18030(QStringLiteral("\"音乐开\",\"张三\",\"3\",\"%1\",\"%1\",\"%1\"\r\n").arg(text)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        Settings settings;
        ReadSettings(file, settings);
        QCOMPARE(ShowsQuotes(settings), quotes);
        QCOMPARE(PrintsTranslation(settings), translation);
        QCOMPARE(AllowsTodayTips(settings), tips);
    }

    void unchangedRunWritesBackWhatItRead_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("golden");
        QTest::newRow("no file") << "missing.kds" << "defaults-written.kds";
        QTest::newRow("all set") << "all-set.kds" << "all-set.kds";
        QTest::newRow("the other stored texts") << "stated-otherwise.kds" << "stated-otherwise.kds";
        QTest::newRow("background music") << "music-on.kds" << "music-on.kds";
        QTest::newRow("damaged name and speed") << "invalid-gbk.kds" << "damaged-name-written.kds";
    }
    void unchangedRunWritesBackWhatItRead()
    {
        QFETCH(QString, file);
        QFETCH(QString, golden);
        Settings settings;
        ReadSettings(fixture(file), settings);
        const QString written = dir_.filePath(QStringLiteral("setlog.kds"));
        QVERIFY(WriteSettings(written, settings).written);
        QCOMPARE(bytesOf(written), bytesOf(fixture(golden)));
    }

    void quoteInNameIsStoredFullWidth()
    {
        Settings settings;
        settings.divinerName = QStringLiteral("张\"三");
        settings.castingSpeed = 3;
        const QString path = dir_.filePath(QStringLiteral("quote.kds"));
        QVERIFY(WriteSettings(path, settings).written);
        QCOMPARE(load(path), loaded(MusicState::Unset, u"张“三", 3, Unset, Unset, Unset));
    }

    void controlCharactersInTheNameNeverBreakTheLine_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("CR LF") << "张三\r\n" << "张三  ";
        QTest::newRow("LF inside") << "张\n三" << "张 三";
        QTest::newRow("CR, tab and escape") << "\r张\t三\x1b" << " 张 三 ";
    }
    void controlCharactersInTheNameNeverBreakTheLine()
    {
        QFETCH(QString, name);
        QFETCH(QString, stored);
        const QString path = dir_.filePath(QStringLiteral("control.kds"));
        QVERIFY(WriteSettings(path, Settings{MusicState::Off, false, {}, {}, name, 2}).written);
        const QByteArray bytes = bytesOf(path);
        QCOMPARE(bytes.count('\n'), 1);
        QCOMPARE(bytes.count('\r'), 1);
        const Settings expected{MusicState::Off, false, {}, {}, stored, 2};
        QCOMPARE(load(path), expected);
    }

    // A write that fails says why and keeps the old file whole.
    void failedWriteSaysWhyAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<rlim_t>("sizeLimit");
        QTest::newRow("full disk") << "kept.kds" << rlim_t(8);
        QTest::newRow("missing folder") << "no-such-folder/setlog.kds" << RLIM_INFINITY;
        QTest::newRow("folder in the file's place") << "folder.kds" << RLIM_INFINITY;
    }
    void failedWriteSaysWhyAndKeepsTheOldFile()
    {
        QFETCH(QString, name);
        QFETCH(rlim_t, sizeLimit);
        const QString path = dir_.filePath(name);
        if (name == u"kept.kds") {
            QFile::remove(path);
            QVERIFY(QFile::copy(fixture(QStringLiteral("all-set.kds")), path));
        } else if (name == u"folder.kds") {
            QVERIFY(QDir(dir_.path()).mkpath(name));
        }
        const QByteArray before = bytesOf(path);
        Settings settings;
        settings.divinerName = QStringLiteral("新名字");
        SettingsWrite result;
        {
            const FileSizeLimit limit(sizeLimit);
            result = WriteSettings(path, settings);
        }
        QVERIFY(!result.written);
        QVERIFY2(!result.failure.isEmpty(), qPrintable(name));
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(QFileInfo(path).isDir(), name == u"folder.kds");
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "test_settings.moc"
