#include "core/casting_engine.h"
#include "core/casting_speed.h"
#include "core/changing_line_rules.h"
#include "core/date_text.h"
#include "core/resolution.h"
#include "support/split_script.h"

#include <QTest>

#include <utility>

namespace {

const QDateTime castMoment(QDate(2006, 7, 16), QTime(10, 20, 30));

// A finished cast of the given line values, line 1 first.
CastResult CastOfValues(const std::array<int, LinesPerHexagram> &values)
{
    CastResult cast;
    cast.lineValues = values;
    const CastLineStrings strings = BuildLineStrings(values);
    cast.primaryLines = strings.primary;
    cast.resultingLines = strings.resulting;
    cast.castTime = QStringLiteral("2006-7-16 10:20:30");
    cast.divinerName = QStringLiteral("张三");
    cast.matterText = QStringLiteral("问行程");
    return cast;
}

// The record of CastOfValues: hexagrams given as "number name lines".
DivinationRecord RecordOfCastOf(const QString &primary, const QString &changingLines, const QString &resulting)
{
    const QStringList primaryParts = primary.split(u' ');
    const QStringList resultingParts = resulting.isEmpty() ? QStringList{{}, {}, {}} : resulting.split(u' ');
    return {QStringLiteral("2006-7-16 10:20:30"), QStringLiteral("张三"), QStringLiteral("问行程"),
            primaryParts[0], primaryParts[2], primaryParts[1], changingLines,
            resultingParts[0], resultingParts[2], resultingParts[1]};
}

// Records every display hook of an engine as readable text.
struct Recorder {
    QStringList events;
    QList<CastResult> casts;
    QList<CastResolution> resolutions;
    QList<DivinationRecord> records;

    explicit Recorder(CastingEngine &engine)
    {
        QObject::connect(&engine, &CastingEngine::StepStarted, [this] { events << "step"; });
        QObject::connect(&engine, &CastingEngine::SoundRequested, [this](const QString &path) { events << "sound " + path; });
        QObject::connect(&engine, &CastingEngine::LampChanged, [this](StatusLamp lamp) {
            events << (lamp == StatusLamp::Red ? "lamp red" : lamp == StatusLamp::Yellow ? "lamp yellow" : "lamp other");
        });
        QObject::connect(&engine, &CastingEngine::ChangeMessageShown, [this](const QString &text) { events << "message " + text; });
        QObject::connect(&engine, &CastingEngine::StalkCounterShown, [this](int stalks) { events << QStringLiteral("counter %1").arg(stalks); });
        QObject::connect(&engine, &CastingEngine::HeapsShown, [this](int left, int hung, int right) {
            events << QStringLiteral("heaps %1 %2 %3").arg(left).arg(hung).arg(right);
        });
        QObject::connect(&engine, &CastingEngine::ProgressShown, [this](const QString &text, int bar) {
            events << QStringLiteral("progress %1 %2").arg(text).arg(bar);
        });
        QObject::connect(&engine, &CastingEngine::LineValueShown, [this](int line, int value) {
            events << QStringLiteral("value %1 %2").arg(line).arg(value);
        });
        QObject::connect(&engine, &CastingEngine::ChangingLinesShown, [this](const QString &label, const QList<int> &values) {
            QStringList texts;
            for (int value : values)
                texts << QString::number(value);
            events << "changing " + label + " " + texts.join(u' ');
        });
        QObject::connect(&engine, &CastingEngine::LinePicturesShown, [this](int line, const QString &primary, const QString &resulting) {
            events << QStringLiteral("pictures %1 %2 %3").arg(line).arg(primary, resulting);
        });
        QObject::connect(&engine, &CastingEngine::ReadyForStep, [this](const QString &caption) { events << "ready " + caption; });
        QObject::connect(&engine, &CastingEngine::CastResolved, [this](const CastResult &cast, const ResolvedCast &resolved) {
            events << "resolved";
            casts << cast;
            resolutions << resolved.resolution;
            records << resolved.record;
        });
    }

    QStringList take() { return std::exchange(events, {}); }
    QStringList matching(const QString &prefix) const
    {
        QStringList found;
        for (const QString &event : events) {
            if (event.startsWith(prefix))
                found << event;
        }
        return found;
    }
};

// An engine with a scripted source and a fixed clock.
struct Fixture {
    CastingEngine engine;
    Recorder recorder;

    explicit Fixture(const QList<int> &lineValues, int castingSpeed = 3)
        : engine(QStringLiteral("某官"), LineScriptSource(lineValues), [] { return castMoment; }), recorder(engine)
    {
        engine.SetCastingSpeed(castingSpeed);
    }

    // Casts one line in manual mode: one click, then every timed phase.
    void castLine()
    {
        QVERIFY(!engine.Step(QStringLiteral("张三"), QStringLiteral("问行程")));
        engine.RunPendingPhases();
    }
};

} // namespace

class CastingTest : public QObject {
    Q_OBJECT
private slots:
    // Changing-line rules

    void rulesFollowTheChangingLineCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("topic");
        QTest::newRow("none") << 0 << "凡卦六爻皆不变,则占本卦彖辞,而以内卦为贞,外卦为悔。" << "未变爻" << 920;
        QTest::newRow("one") << 1 << "变1爻：则以本卦变爻辞占。" << "变1爻" << 921;
        QTest::newRow("two") << 2 << "变2爻：则以本卦二变爻辞占，仍以上爻为主。" << "变2爻" << 922;
        QTest::newRow("three") << 3 << "变3爻：则占本卦及之卦之彖辞，而以本卦为贞，之卦为悔。前十卦主贞，后十卦主悔。"
                               << "变3爻" << 923;
        QTest::newRow("four") << 4 << "变4爻：则以之卦二不变爻占，仍以下爻为主。" << "变4爻" << 924;
        QTest::newRow("five") << 5 << "变5爻：则以之卦不变爻占。" << "变5爻" << 925;
        QTest::newRow("six") << 6 << "变6爻：则《乾》、《坤》占“二用”，余卦占之卦彖辞。" << "变6爻" << 926;
    }
    void rulesFollowTheChangingLineCount()
    {
        QFETCH(int, count);
        QFETCH(QString, rule);
        QFETCH(QString, field);
        QFETCH(int, topic);
        QCOMPARE(ChangingLineRule(count), rule);
        QCOMPARE(QString::fromUtf16(ChangingLineRules()[count]), rule);
        QCOMPARE(ChangingLineField(count), field);
        QCOMPARE(ChangingLineRuleOfField(field), rule);
        QCOMPARE(ChangingLineRuleHelpTopic(rule), std::optional<int>(topic));
    }

    void storedFieldChoosesRuleExactly_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("row");
        QTest::newRow("change 3") << "变3爻" << 3;
        QTest::newRow("no change") << "未变爻" << 0;
        QTest::newRow("seven") << "变7爻" << 0;
        QTest::newRow("zero") << "变0爻" << 0;
        QTest::newRow("padded") << " 变3爻" << 0;
        QTest::newRow("leading zero") << "变03爻" << 0;
        QTest::newRow("full-width digit") << "变３爻" << 0;
        QTest::newRow("empty") << "" << 0;
    }
    void storedFieldChoosesRuleExactly()
    {
        QFETCH(QString, field);
        QFETCH(int, row);
        QCOMPARE(ChangingLineRuleOfField(field), ChangingLineRule(row));
    }

    void ruleLabelWithoutRuleHasNoOwnTopic_data()
    {
        QTest::addColumn<QString>("label");
        QTest::newRow("initial caption") << "变爻推论规则";
        QTest::newRow("one character") << "变";
        QTest::newRow("empty") << "";
        QTest::newRow("seven") << "变7爻";
    }
    void ruleLabelWithoutRuleHasNoOwnTopic()
    {
        QFETCH(QString, label);
        QCOMPARE(ChangingLineRuleHelpTopic(label), std::nullopt);
    }

    // Resolution

    void castTimeUsesTheGeneralDateForm_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("text");
        QTest::newRow("example") << castMoment << "2006-7-16 10:20:30";
        QTest::newRow("morning") << QDateTime(QDate(2006, 7, 6), QTime(9, 5, 9)) << "2006-7-6 9:05:09";
        QTest::newRow("midnight") << QDateTime(QDate(2024, 1, 1), QTime(0, 0, 0)) << "2024-1-1 0:00:00";
        QTest::newRow("year end") << QDateTime(QDate(2049, 12, 31), QTime(23, 59, 59)) << "2049-12-31 23:59:59";
    }
    void castTimeUsesTheGeneralDateForm()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, text);
        QCOMPARE(GeneralDateTimeText(moment), text);
        CastingEngine engine(QStringLiteral("某官"), [] { return 0.0; }, [moment] { return moment; });
        Recorder recorder(engine);
        engine.StartAutomatic(QStringLiteral("张三"), QStringLiteral("问行程"));
        engine.RunPendingPhases();
        QCOMPARE(engine.Cast().castTime, text);
        QCOMPARE(recorder.resolutions.value(0).castTime, text);
        QCOMPARE(recorder.records.value(0).castTime, text);
    }

    void resolutionShowsBothHexagrams_data()
    {
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QString>("primary");
        QTest::addColumn<QString>("resulting");
        QTest::addColumn<QStringList>("primaryPictures");
        QTest::addColumn<QStringList>("resultingPictures");
        QTest::newRow("乾 all changing") << QList<int>{9, 9, 9, 9, 9, 9} << "1 乾 111111" << "2 坤 000000"
                                        << QStringList{"11", "11", "11", "11", "11", "11"}
                                        << QStringList{"00", "00", "00", "00", "00", "00"};
        QTest::newRow("节 two changing") << QList<int>{9, 7, 8, 6, 7, 8} << "60 节 110010" << "47 困 010110"
                                       << QStringList{"11", "1", "0", "00", "1", "0"}
                                       << QStringList{"00", "1", "0", "11", "1", "0"};
        QTest::newRow("泰 three changing") << QList<int>{7, 9, 9, 6, 8, 8} << "11 泰 111000" << "51 震 100100"
                                         << QStringList{"1", "11", "11", "00", "0", "0"}
                                         << QStringList{"1", "00", "00", "11", "0", "0"};
    }
    void resolutionShowsBothHexagrams()
    {
        QFETCH(QList<int>, values);
        QFETCH(QString, primary);
        QFETCH(QString, resulting);
        QFETCH(QStringList, primaryPictures);
        QFETCH(QStringList, resultingPictures);
        std::array<int, LinesPerHexagram> lineValues{};
        std::copy(values.begin(), values.end(), lineValues.begin());
        const CastResult cast = CastOfValues(lineValues);
        const int changingLineCount = int(std::count_if(values.begin(), values.end(), IsChangingLine));

        const ResolvedCast resolved = ResolveCast(cast);
        const CastResolution &resolution = resolved.resolution;

        const auto summary = [](const HexagramView &view) { return view.number + ' ' + view.name + ' ' + view.lines; };
        QCOMPARE(summary(resolution.primary), primary);
        QCOMPARE(summary(resolution.resulting), resulting);
        QVERIFY(resolution.primary.text.startsWith(resolution.primary.name + QStringLiteral("：")));
        QVERIFY(resolution.resulting.text.startsWith(resolution.resulting.name + QStringLiteral("：")));
        QCOMPARE(QStringList(resolution.primary.pictures.begin(), resolution.primary.pictures.end()), primaryPictures);
        QCOMPARE(QStringList(resolution.resulting.pictures.begin(), resolution.resulting.pictures.end()), resultingPictures);
        QVERIFY(resolution.resultingShown);
        QCOMPARE(resolution.changingLineCount, changingLineCount);
        QCOMPARE(resolution.changingLineField, ChangingLineField(changingLineCount));
        QCOMPARE(resolution.ruleText, ChangingLineRule(changingLineCount));
        QCOMPARE(resolution.ruleHelpTopic, 920 + changingLineCount);
        QCOMPARE(resolution.castTime, QStringLiteral("2006-7-16 10:20:30"));
        QCOMPARE(resolution.divinerName, QStringLiteral("张三"));
        QCOMPARE(resolution.matterText, QStringLiteral("问行程"));
        QCOMPARE(resolved.record, RecordOfCastOf(primary, ChangingLineField(changingLineCount), resulting));
    }

    // The resolution reads the cast and returns the record to append; the
    // cast it was given stays as it was.
    void resolutionLeavesTheCastAndReturnsItsRecord_data()
    {
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QString>("primary");
        QTest::addColumn<QString>("changingLines");
        QTest::addColumn<QString>("resulting");
        QTest::newRow("0 离") << QList<int>{7, 8, 7, 7, 8, 7} << "30 离 101101" << "未变爻" << "";
        QTest::newRow("1 乾") << QList<int>{9, 7, 7, 7, 7, 7} << "1 乾 111111" << "变1爻" << "44 姤 011111";
        QTest::newRow("2 节") << QList<int>{9, 7, 8, 6, 7, 8} << "60 节 110010" << "变2爻" << "47 困 010110";
        QTest::newRow("3 泰") << QList<int>{7, 9, 9, 6, 8, 8} << "11 泰 111000" << "变3爻" << "51 震 100100";
        QTest::newRow("4 泰") << QList<int>{9, 9, 9, 6, 8, 8} << "11 泰 111000" << "变4爻" << "16 豫 000100";
        QTest::newRow("5 乾") << QList<int>{9, 9, 9, 9, 9, 7} << "1 乾 111111" << "变5爻" << "23 剥 000001";
        QTest::newRow("6 乾") << QList<int>{9, 9, 9, 9, 9, 9} << "1 乾 111111" << "变6爻" << "2 坤 000000";
    }
    void resolutionLeavesTheCastAndReturnsItsRecord()
    {
        QFETCH(QList<int>, values);
        QFETCH(QString, primary);
        QFETCH(QString, changingLines);
        QFETCH(QString, resulting);
        std::array<int, LinesPerHexagram> lineValues{};
        std::copy(values.begin(), values.end(), lineValues.begin());
        const CastResult cast = CastOfValues(lineValues);
        const CastResult before = cast;

        const ResolvedCast resolved = ResolveCast(cast);

        QCOMPARE(cast, before);
        QCOMPARE(resolved.record, RecordOfCastOf(primary, changingLines, resulting));
        QCOMPARE(resolved.resolution.changingLineField, changingLines);
        QCOMPARE(resolved.resolution.resultingShown, !resulting.isEmpty());
        QCOMPARE(ResolveCast(cast), resolved);
    }

    // A cast without changing lines made after one with changing lines
    // shows and records no resulting hexagram: nothing of the earlier cast is
    // carried over.
    void castWithoutChangeAfterOneWithChangesRecordsNoResultingHexagram()
    {
        CastResult cast = CastOfValues({9, 9, 9, 9, 9, 9});
        QCOMPARE(ResolveCast(cast).record.resultingName, QStringLiteral("坤"));
        cast = CastOfValues({7, 8, 7, 7, 8, 7});

        const ResolvedCast resolved = ResolveCast(cast);

        const CastResolution &resolution = resolved.resolution;
        QVERIFY(!resolution.resultingShown);
        QCOMPARE(resolution.changingLineField, QStringLiteral("未变爻"));
        QCOMPARE(resolution.ruleText, ChangingLineRule(0));
        QCOMPARE(resolution.ruleHelpTopic, 920);
        QCOMPARE(resolution.primary.number, QStringLiteral("30"));
        QCOMPARE(resolution.resulting.lines, QStringLiteral("101101"));
        QVERIFY(resolution.resulting.number.isEmpty());
        QVERIFY(resolution.resulting.name.isEmpty());
        QVERIFY(resolution.resulting.text.isEmpty());
        QCOMPARE(resolution.resulting.pictures, resolution.primary.pictures);
        QCOMPARE(resolution.primary.pictures[1], QStringLiteral("0"));
        QCOMPARE(resolved.record, RecordOfCastOf(QStringLiteral("30 离 101101"), QStringLiteral("未变爻"), {}));
    }

    void unknownLineStringResolvesEmpty()
    {
        CastResult cast;
        cast.primaryLines = cast.resultingLines = QStringLiteral("11111");
        const ResolvedCast resolved = ResolveCast(cast);
        const CastResolution &resolution = resolved.resolution;
        QVERIFY(resolution.primary.number.isEmpty());
        QVERIFY(resolution.primary.name.isEmpty());
        QVERIFY(resolution.primary.text.isEmpty());
        QVERIFY(resolved.record.primaryNumber.isEmpty());
        QVERIFY(resolved.record.primaryName.isEmpty());
    }

    // The split and the counting

    void splitStaysInsideTheBundle_data()
    {
        QTest::addColumn<int>("stalks");
        QTest::addColumn<double>("r");
        QTest::addColumn<int>("left");
        QTest::newRow("lowest draw") << 49 << 0.0 << 4;
        QTest::newRow("highest draw") << 49 << std::nextafter(1.0, 0.0) << 44;
        QTest::newRow("middle") << 49 << DrawForLeftHeap(24, 49) << 24;
        QTest::newRow("smallest bundle") << 24 << std::nextafter(1.0, 0.0) << 19;
        QTest::newRow("bundle of 36") << 36 << std::nextafter(1.0, 0.0) << 31;
        QTest::newRow("faulty 1.0") << 49 << 1.0 << 44;
        QTest::newRow("faulty negative") << 49 << -0.5 << 4;
        QTest::newRow("faulty NaN") << 49 << std::nan("") << 4;
    }
    void splitStaysInsideTheBundle()
    {
        QFETCH(int, stalks);
        QFETCH(double, r);
        QFETCH(int, left);
        QCOMPARE(LeftHeapOfSplit(stalks, r), left);
    }

    void splitIsUniformOverItsRange()
    {
        // Equal slices of [0, 1) give each left heap 4 … N − 5 exactly once.
        for (int stalks : {49, 44, 40, 36, 32}) {
            QList<int> lefts;
            for (int k = 0; k < stalks - 8; ++k)
                lefts << LeftHeapOfSplit(stalks, (k + 0.5) / (stalks - 8));
            QCOMPARE(lefts.first(), 4);
            QCOMPARE(lefts.last(), stalks - 5);
            for (int k = 1; k < lefts.size(); ++k)
                QCOMPARE(lefts[k], lefts[k - 1] + 1);
        }
    }

    void seededSourceRepeatsAndStaysBelowOne()
    {
        RandomSource first = SeededRandomSource(7);
        RandomSource second = SeededRandomSource(7);
        RandomSource other = SeededRandomSource(8);
        bool differs = false;
        for (int i = 0; i < 1000; ++i) {
            const double r = first();
            QCOMPARE(second(), r);
            QVERIFY(r >= 0.0 && r < 1.0);
            differs = differs || other() != r;
        }
        QVERIFY(differs);
    }

    // One change, tick by tick

    void firstChangeCountsBothHeaps_data()
    {
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("carried");
        QTest::addColumn<int>("leftTicks");
        QTest::addColumn<int>("rightTicks");
        // A heap of exactly 8 is counted once and keeps 4; a heap of 5 keeps 1.
        QTest::newRow("left 8") << 8 << 40 << 2 << 10;
        QTest::newRow("left 5") << 5 << 44 << 2 << 11;
        QTest::newRow("left 4") << 4 << 40 << 1 << 11;
        QTest::newRow("left 44") << 44 << 40 << 11 << 1;
        QTest::newRow("left 6") << 6 << 44 << 2 << 11;
    }
    void firstChangeCountsBothHeaps()
    {
        QFETCH(int, left);
        QFETCH(int, carried);
        QFETCH(int, leftTicks);
        QFETCH(int, rightTicks);
        CastingEngine engine(QStringLiteral("某官"), [left] { return DrawForLeftHeap(left, 49); }, [] { return castMoment; });
        engine.SetCastingSpeed(3);
        Recorder recorder(engine);

        QVERIFY(!engine.Step(QStringLiteral("张三"), QStringLiteral("问行程")));
        QCOMPARE(recorder.take(), (QStringList{"step", "lamp yellow", "sound /wav/res2.wav", "heaps 0 0 0", "counter 49"}));
        QCOMPARE(engine.PendingPhase(), CastingPhase::SplitDelay);
        engine.Advance();
        QCOMPARE(recorder.take(), (QStringList{"message 初爻1变开始", "counter 49"}));
        engine.Advance();
        QCOMPARE(recorder.take(), (QStringList{"counter 0", QStringLiteral("heaps %1 1 %2").arg(left).arg(48 - left),
                                               "message 初爻1变进行中…"}));
        QCOMPARE(engine.PendingPhase(), CastingPhase::Pause);
        engine.Advance();
        QVERIFY(recorder.take().isEmpty());

        int ticks = 0;
        for (; engine.PendingPhase() == CastingPhase::LeftCounting; ++ticks)
            engine.Advance();
        QCOMPARE(ticks, leftTicks);
        const StalkCounters &stalks = engine.Stalks();
        const int leftRemainder = stalks.leftPile;
        QVERIFY(leftRemainder >= 1 && leftRemainder <= 4);
        QCOMPARE((left - leftRemainder) % 4, 0);
        for (ticks = 0; engine.PendingPhase() == CastingPhase::RightCounting; ++ticks)
            engine.Advance();
        QCOMPARE(ticks, rightTicks);
        QCOMPARE(stalks.stalksInPlay, carried);
        QCOMPARE(stalks.stalksInPlay, 49 - 1 - leftRemainder - stalks.rightPile);
        QCOMPARE(recorder.matching("lamp red").size(), leftTicks + rightTicks);
        QCOMPARE(recorder.events.mid(recorder.events.size() - 5),
                 (QStringList{"lamp red", QStringLiteral("counter %1").arg(carried), "heaps 0 0 0",
                              "message 初爻1变完成", "progress 推演进度(1/18变) 1"}));
        QCOMPARE(engine.PendingPhase(), CastingPhase::NextStepDelay);
    }

    void firstChangeCarriesFortyFourWithOddsThirtyInFortyOne()
    {
        int fortyFour = 0;
        int forty = 0;
        for (int left = 4; left <= 44; ++left) {
            CastingEngine engine(QStringLiteral("某官"), [left] { return DrawForLeftHeap(left, 49); }, [] { return castMoment; });
            engine.Step(QStringLiteral("张三"), QStringLiteral("问行程"));
            while (engine.ChangesDone() == 0)
                engine.Advance();
            fortyFour += engine.Stalks().stalksInPlay == 44;
            forty += engine.Stalks().stalksInPlay == 40;
        }
        QCOMPARE(fortyFour, 30);
        QCOMPARE(forty, 11);
    }

    // Lines and whole casts

    void lineValueIsAQuarterOfTheCarriedStalks_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("pictures");
        QTest::addColumn<QStringList>("changing");
        QTest::newRow("6") << 6 << "pictures 1 00 11" << QStringList{"changing 变1爻 9"};
        QTest::newRow("7") << 7 << "pictures 1 1 1" << QStringList{};
        QTest::newRow("8") << 8 << "pictures 1 0 0" << QStringList{};
        QTest::newRow("9") << 9 << "pictures 1 11 00" << QStringList{"changing 变1爻 6"};
    }
    void lineValueIsAQuarterOfTheCarriedStalks()
    {
        QFETCH(int, value);
        QFETCH(QString, pictures);
        QFETCH(QStringList, changing);
        Fixture fixture({value});
        fixture.castLine();

        const CastResult &cast = fixture.engine.Cast();
        QCOMPARE(cast.lineValues[0], value);
        QCOMPARE(ChangingLineCount(cast), IsChangingLine(value) ? 1 : 0);
        QCOMPARE(cast.primaryLines, QString(PrimaryLineCharacter(value)));
        QCOMPARE(cast.resultingLines, QString(ResultingLineCharacter(value)));
        QCOMPARE(fixture.engine.Stalks().stalksInPlay, 49);
        QCOMPARE(fixture.engine.ChangeInLine(), 0);
        QCOMPARE(fixture.engine.ChangesDone(), 3);
        QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::WaitingForStep);
        const Recorder &recorder = fixture.recorder;
        QCOMPARE(recorder.matching("value"), QStringList{QStringLiteral("value 1 %1").arg(value)});
        QCOMPARE(recorder.matching("pictures"), QStringList{pictures});
        QCOMPARE(recorder.matching("changing"), changing);
        QCOMPARE(recorder.matching("message"),
                 (QStringList{"message 初爻1变开始", "message 初爻1变进行中…", "message 初爻1变完成",
                              "message 初爻2变开始", "message 初爻2变进行中…", "message 初爻2变完成",
                              "message 初爻3变开始", "message 初爻3变进行中…", "message 初爻3变完成"}));
        const QStringList lineEnd = QStringList{"sound /wav/s1.wav", QStringLiteral("value 1 %1").arg(value), pictures}
                                    + changing + QStringList{"ready 推演二爻"};
        QCOMPARE(recorder.events.mid(recorder.events.indexOf("sound /wav/s1.wav")), lineEnd);
        QCOMPARE(recorder.matching("sound /wav/res").size(), 1);
    }

    void wholeCastInManualModeResolvesOnce()
    {
        Fixture fixture({9, 7, 8, 6, 7, 8});
        QStringList captions;
        for (int line = 1; line <= 6; ++line) {
            captions << fixture.engine.StepCaption();
            fixture.castLine();
        }
        QCOMPARE(captions, (QStringList{"推演初爻", "推演二爻", "推演三爻", "推演四爻", "推演五爻", "推演上爻"}));

        const Recorder &recorder = fixture.recorder;
        QCOMPARE(recorder.resolutions.size(), 1);
        QCOMPARE(recorder.events.last(), QStringLiteral("resolved"));
        const CastResolution &resolution = recorder.resolutions.first();
        QCOMPARE(resolution.primary.name, QStringLiteral("节"));
        QCOMPARE(resolution.resulting.name, QStringLiteral("困"));
        QCOMPARE(resolution.ruleText, ChangingLineRule(2));
        QCOMPARE(resolution.castTime, QStringLiteral("2006-7-16 10:20:30"));
        QCOMPARE(resolution.divinerName, QStringLiteral("张三"));
        QCOMPARE(resolution.matterText, QStringLiteral("问行程"));

        const CastResult &cast = recorder.casts.first();
        QCOMPARE(cast, fixture.engine.Cast());
        QCOMPARE(cast.lineValues, (std::array<int, 6>{9, 7, 8, 6, 7, 8}));
        QCOMPARE(cast.primaryLines, QStringLiteral("110010"));
        QCOMPARE(cast.resultingLines, QStringLiteral("010110"));
        QCOMPARE(ChangingLineCount(cast), 2);
        QCOMPARE(cast.castTime, QStringLiteral("2006-7-16 10:20:30"));
        QCOMPARE(cast.divinerName, QStringLiteral("张三"));
        QCOMPARE(cast.matterText, QStringLiteral("问行程"));
        QCOMPARE(recorder.records.first(),
                 RecordOfCastOf(QStringLiteral("60 节 110010"), QStringLiteral("变2爻"), QStringLiteral("47 困 010110")));

        QCOMPARE(recorder.matching("progress").size(), 18);
        QCOMPARE(recorder.matching("progress").mid(16),
                 (QStringList{"progress 推演进度(17/18变) 17", "progress 推演完成(18/18变) 18"}));
        QCOMPARE(recorder.matching("changing"),
                 (QStringList{"changing 变1爻 6", "changing 变1爻 6 7", "changing 变1爻 6 7 8",
                              "changing 变2爻 6 7 8 9", "changing 变2爻 6 7 8 9 7", "changing 变2爻 6 7 8 9 7 8"}));
        QCOMPARE(recorder.matching("ready").size(), 5);
        // Line 2 starts without the first change's "49" on the stalk counter.
        QCOMPARE(recorder.events.mid(recorder.events.indexOf("ready 推演二爻") + 1, 5),
                 (QStringList{"step", "lamp yellow", "sound /wav/res2.wav", "heaps 0 0 0", "message 二爻1变开始"}));
        QCOMPARE(recorder.matching("message 上爻3变完成").size(), 1);
        QCOMPARE(recorder.matching("sound /wav/s1.wav").size(), 6);
        QCOMPARE(recorder.matching("sound /wav/res2.wav").size(), 6);

        QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::Finished);
        QVERIFY(fixture.engine.StepCaption().isEmpty());
        QVERIFY(!fixture.engine.Step(QStringLiteral("张三"), QStringLiteral("问行程")));
        QCOMPARE(fixture.engine.ChangesDone(), 18);
        QCOMPARE(recorder.resolutions.size(), 1);
    }

    void castWithoutChangeShowsNoChangingLines()
    {
        Fixture fixture({7, 8, 8, 7, 7, 8});
        fixture.engine.StartAutomatic(QStringLiteral("张三"), QStringLiteral("问行程"));
        fixture.engine.RunPendingPhases();
        QVERIFY(fixture.recorder.matching("changing").isEmpty());
        QCOMPARE(fixture.engine.Cast().resultingLines, fixture.engine.Cast().primaryLines);
        QCOMPARE(fixture.recorder.records.first().changingLines, QStringLiteral("未变爻"));
        QVERIFY(fixture.recorder.records.first().resultingName.isEmpty());
        const CastResolution &resolution = fixture.recorder.resolutions.first();
        QVERIFY(!resolution.resultingShown);
        QCOMPARE(resolution.changingLineField, QStringLiteral("未变爻"));
        QCOMPARE(resolution.primary.lines, QStringLiteral("100110"));
    }

    void automaticModeChainsTheSixLines()
    {
        Fixture fixture({6, 9});
        QVERIFY(!fixture.engine.StartAutomatic(QStringLiteral("张三"), QStringLiteral("问行程")));
        QVERIFY(fixture.engine.AutoMode());
        fixture.engine.RunPendingPhases();
        QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::Finished);
        QCOMPARE(fixture.recorder.resolutions.size(), 1);
        QCOMPARE(fixture.recorder.resolutions.first().changingLineCount, 6);
        QCOMPARE(fixture.engine.Cast().resultingLines, QStringLiteral("101010"));
        QCOMPARE(fixture.recorder.matching("ready").size(), 5);
    }

    void blankFieldsAreAskedForOneAtATime_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("matter");
        QTest::addColumn<QString>("asked");
        QTest::newRow("both empty") << "" << "" << "name";
        QTest::newRow("name blanks") << "   " << "问行程" << "name";
        QTest::newRow("matter empty") << "张三" << "" << "matter";
        QTest::newRow("matter blanks") << "张三" << "  " << "matter";
        QTest::newRow("both filled") << "张三" << "问行程" << "";
    }
    void blankFieldsAreAskedForOneAtATime()
    {
        QFETCH(QString, name);
        QFETCH(QString, matter);
        QFETCH(QString, asked);
        Fixture fixture({7});
        const std::optional<FieldPrompt> prompt = fixture.engine.Step(name, matter);
        if (asked.isEmpty()) {
            QVERIFY(!prompt);
            QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::SplitDelay);
            QVERIFY(fixture.engine.HasStarted());
            return;
        }
        QVERIFY(prompt);
        QVERIFY(fixture.recorder.events.isEmpty());
        QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::WaitingForStep);
        QVERIFY(!fixture.engine.HasStarted());
        if (asked == "name") {
            QCOMPARE(prompt->field, CastingField::Name);
            QCOMPARE(prompt->prompt, QStringLiteral("请输入占筮者姓名(不能超过9个字符)。"));
            QCOMPARE(prompt->title, QStringLiteral("输入姓名"));
            QCOMPARE(prompt->defaultText, QStringLiteral("某官"));
            QCOMPARE(prompt->maxLength, 9);
        } else {
            QCOMPARE(prompt->field, CastingField::Matter);
            QCOMPARE(prompt->prompt, QStringLiteral("请输入所占何事(不能超过30个字符)。"));
            QCOMPARE(prompt->title, QStringLiteral("输入事由"));
            QCOMPARE(prompt->defaultText, QStringLiteral("某事云云"));
            QCOMPARE(prompt->maxLength, 30);
        }
    }

    void automaticStartAsksThenStartsOnTheThirdTry()
    {
        Fixture fixture({7});
        QCOMPARE(fixture.engine.StartAutomatic({}, {})->field, CastingField::Name);
        QVERIFY(!fixture.engine.AutoMode());
        QCOMPARE(fixture.engine.StartAutomatic(QStringLiteral("张三"), {})->field, CastingField::Matter);
        QVERIFY(!fixture.engine.AutoMode());
        QVERIFY(!fixture.engine.StartAutomatic(QStringLiteral("张三"), QStringLiteral("问行程")));
        QVERIFY(fixture.engine.AutoMode());
    }

    void automaticStartIsRefusedOnceCastingHasBegun()
    {
        Fixture fixture({7});
        fixture.castLine();
        QVERIFY(!fixture.engine.StartAutomatic(QStringLiteral("张三"), QStringLiteral("问行程")));
        QVERIFY(!fixture.engine.AutoMode());
        QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::WaitingForStep);
    }

    void stepIsIgnoredWhileAChangeRuns()
    {
        Fixture fixture({7});
        fixture.engine.Step(QStringLiteral("张三"), QStringLiteral("问行程"));
        fixture.engine.Advance();
        fixture.recorder.take();
        QVERIFY(!fixture.engine.Step(QStringLiteral("李四"), QStringLiteral("别事")));
        QVERIFY(fixture.recorder.events.isEmpty());
        QCOMPARE(fixture.engine.PendingPhase(), CastingPhase::HeapsShownDelay);
        QCOMPARE(fixture.engine.Cast().divinerName, QStringLiteral("张三"));
    }

    void fieldsAreCopiedAsTheyStand()
    {
        Fixture fixture({7});
        fixture.engine.Step(QStringLiteral(" 张三 "), QStringLiteral("问行程 "));
        QCOMPARE(fixture.engine.Cast().divinerName, QStringLiteral(" 张三 "));
        QCOMPARE(fixture.engine.Cast().matterText, QStringLiteral("问行程 "));
    }

    void lineStartSoundFollowsTheSpeed_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<QString>("sound");
        QTest::newRow("1") << 1 << "sound /wav/res2.wav";
        QTest::newRow("3") << 3 << "sound /wav/res2.wav";
        QTest::newRow("4") << 4 << "sound /wav/res.wav";
        QTest::newRow("5") << 5 << "sound /wav/res.wav";
    }
    void lineStartSoundFollowsTheSpeed()
    {
        QFETCH(int, speed);
        QFETCH(QString, sound);
        Fixture fixture({7}, speed);
        fixture.castLine();
        QCOMPARE(fixture.recorder.matching("sound /wav/res"), QStringList{sound});
    }

    void newEngineStartsWithFortyNineStalksAndNoLines()
    {
        CastingEngine engine(QStringLiteral("某官"), [] { return 0.0; }, [] { return castMoment; });
        const StalkCounters &stalks = engine.Stalks();
        QCOMPARE(stalks.stalksInPlay, 49);
        QCOMPARE(stalks.leftPile + stalks.hungStalk + stalks.rightPile, 0);
        QCOMPARE(engine.Cast(), CastResult{});
    }

    // Over many lines the split rule gives 6, 7, 8, 9 with the odds
    // 11/164, 52/164, 71/164, 30/164. A chi-square statistic over 240,000
    // lines stays below the 0.1 % critical value (3 degrees of freedom) for a
    // sound engine; a split range one stalk too narrow or too wide lands far
    // above it (statistic 700 and more), and so does a shifted or rounded
    // split that lets the right heap fall below four (65 and more).
    void lineValuesFollowTheClassicalOdds()
    {
        constexpr int lineCount = 240000;
        const std::array<int, 4> counts = CountLineValues(lineCount, SeededRandomSource(20060716));
        const std::array<double, 4> odds{11.0 / 164, 52.0 / 164, 71.0 / 164, 30.0 / 164};
        double chiSquare = 0;
        QString report;
        for (int i = 0; i < 4; ++i) {
            const double expected = odds[i] * lineCount;
            chiSquare += (counts[i] - expected) * (counts[i] - expected) / expected;
            report += QStringLiteral("%1: %2 (expected %3)  ").arg(i + 6).arg(counts[i]).arg(expected, 0, 'f', 0);
        }
        QVERIFY2(chiSquare < 16.27, qPrintable(report + QStringLiteral("chi-square %1").arg(chiSquare)));
    }

    // A speed picks its row of the schedule handed in, the standard one when
    // none is; a speed outside one to five has none.
    void speedPicksItsRowOfTheSchedule_data()
    {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("splitDelay");
        QTest::addColumn<int>("animationFrame");
        QTest::newRow("slowest") << 1 << 3000 << 120;
        QTest::newRow("middle") << 3 << 1000 << 60;
        QTest::newRow("fastest") << 5 << 10 << 30;
        QTest::newRow("below one") << 0 << -1 << -1;
        QTest::newRow("above five") << 6 << -1 << -1;
    }
    void speedPicksItsRowOfTheSchedule()
    {
        QFETCH(int, speed);
        QFETCH(int, splitDelay);
        QFETCH(int, animationFrame);
        const std::optional<CastingTimings> standard = TimingsOfSpeed(speed);
        QCOMPARE(standard.has_value(), splitDelay >= 0);
        CastingSchedule quick = StandardCastingSchedule();
        for (CastingTimings &timings : quick.speeds)
            timings.splitDelay = 1;
        const std::optional<CastingTimings> handedIn = TimingsOfSpeed(speed, quick);
        QCOMPARE(handedIn.has_value(), splitDelay >= 0);
        if (!standard)
            return;
        QCOMPARE(standard->splitDelay, splitDelay);
        QCOMPARE(standard->animationFrame, animationFrame);
        QCOMPARE(handedIn->splitDelay, 1);
        QCOMPARE(handedIn->animationFrame, animationFrame);
    }
};

QTEST_GUILESS_MAIN(CastingTest)
#include "test_casting.moc"
