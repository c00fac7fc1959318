#include "cli_run.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

// Runs ravezaz-cli under a GB18030 locale: arguments are read and terminal
// text is written in the locale's character set, JSON and iCalendar stay
// UTF-8. The locale is compiled into a folder of the test's own with
// localedef, so no system locale and no root rights are needed.
class CliCharsetTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString missingLocale_;

    struct Bytes {
        int exitCode;
        QByteArray out;
        QByteArray err;
    };

    // Runs the CLI under the GB18030 locale through the shell, so that
    // arguments can be handed over as the locale's bytes.
    Bytes run(const QString &shellArguments) const
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LOCPATH"), dir_.path());
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("zh_CN.GB18030"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"),
                                                  QStringLiteral("exec \"$0\" ") + shellArguments,
                                                  QStringLiteral(RAVEZAZ_CLI)});
        process.waitForFinished(60000);
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    // `text` as GB18030 bytes written for printf.
    static QString PrintfBytes(const QString &text)
    {
        QString escaped;
        const QByteArray bytes = QStringEncoder("GB18030").encode(text);
        for (const char byte : bytes)
            escaped += u'\\' + QString::number(uchar(byte), 8);
        return QStringLiteral("\"$(printf '") + escaped + QStringLiteral("')\"");
    }

    static QString FromGb18030(const QByteArray &bytes) { return QStringDecoder("GB18030").decode(bytes); }

private slots:
    void initTestCase()
    {
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"), {QStringLiteral("-i"), QStringLiteral("zh_CN"), QStringLiteral("-f"),
                                                      QStringLiteral("GB18030"), dir_.filePath(QStringLiteral("zh_CN.GB18030"))});
        localedef.waitForFinished(240000);
        if (!QFile::exists(dir_.filePath(QStringLiteral("zh_CN.GB18030/LC_CTYPE"))))
            missingLocale_ = QStringLiteral("the zh_CN.GB18030 locale could not be built with localedef "
                                            "(needs the locales package's zh_CN source and GB18030 charmap): ")
                + QString::fromLocal8Bit(localedef.readAllStandardError()) + localedef.errorString();
    }

    void init()
    {
        if (!missingLocale_.isEmpty())
            QSKIP(qPrintable(missingLocale_));
    }

    void terminalTextIsWrittenInTheLocaleSet_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("head");
        QTest::newRow("hexagram") << "hexagram 111111" << "1\t乾\t111111\n乾：元、亨、利、贞。";
        QTest::newRow("almanac tsv") << "almanac 2024-02-10"
                                     << "date\tin_range\tlunar_year\tlunar_month\tlunar_day\tmonth_day_text";
        QTest::newRow("--help") << "--help" << "用法: ravezaz-cli COMMAND [ARGS]";
    }
    void terminalTextIsWrittenInTheLocaleSet()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, head);
        const Bytes result = run(arguments);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(FromGb18030(result.out).startsWith(head), result.out.left(80).constData());
    }

    void messagesAreWrittenInTheLocaleSet()
    {
        const Bytes result = run(QStringLiteral("hexagram 11"));
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(FromGb18030(result.err), QStringLiteral("未知卦象: 11\n"));
    }

    void jsonAndIcalendarStayUtf8_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::newRow("json") << "json" << "\"month_day_text\":\"正月初一\"";
        QTest::newRow("ics") << "ics" << "春节";
    }
    void jsonAndIcalendarStayUtf8()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        const Bytes result = run(QStringLiteral("almanac 2024-02-10 --format ") + format);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains(expected.toUtf8()), result.out.left(200).constData());
    }

    // A name typed in the locale reaches the record file as that name.
    void argumentsAreReadInTheLocaleSet()
    {
        const QString record = dir_.filePath(QStringLiteral("casts.kdf"));
        const Bytes cast = run(QStringLiteral("cast --seed 3 --name ") + PrintfBytes(QStringLiteral("孔子"))
                               + QStringLiteral(" --matter ") + PrintfBytes(QStringLiteral("远行")) + QStringLiteral(" --record ")
                               + record);
        QCOMPARE(cast.exitCode, 0);
        const Bytes shown = run(QStringLiteral("records ") + record + QStringLiteral(" show 1"));
        const QStringList fields = FromGb18030(shown.out).split(u'\n');
        QCOMPARE(fields.value(1), QStringLiteral("2\t孔子"));
        QCOMPARE(fields.value(2), QStringLiteral("3\t远行"));
        const Bytes found = run(QStringLiteral("records ") + record + QStringLiteral(" find ") + PrintfBytes(QStringLiteral("孔子")));
        QCOMPARE(found.out, QByteArray("1\n"));
    }
};

QTEST_GUILESS_MAIN(CliCharsetTest)
#include "test_cli_charset.moc"
