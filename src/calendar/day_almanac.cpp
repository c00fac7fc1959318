#include "calendar/day_almanac.h"

#include "calendar/calendar_text.h"
#include "calendar/civil_date.h"
#include "calendar/day_names.h"
#include "calendar/solar_terms.h"

#include <QFile>

#include <array>

namespace {

constexpr int CycleLength = 60;
constexpr int BranchCount = 12;

constexpr QStringView BranchNames = u"子丑寅卯辰巳午未申酉戌亥";

// What the almanac gives for each heavenly stem of the day, 甲 to 癸.
struct StemRow {
    QStringView pengzu;
    QStringView joyGod;       // 喜神
    QStringView fortuneGod;   // 福神
    QStringView wealthGod;    // 财神
};

constexpr std::array<StemRow, 10> StemRows{{
    {u"甲不开仓财物耗散", u"东北", u"正北", u"东北"},
    {u"乙不栽植千株不长", u"西北", u"西南", u"东北"},
    {u"丙不修灶必见灾殃", u"西南", u"西北", u"西南"},
    {u"丁不剃头头必生疮", u"正南", u"东南", u"西南"},
    {u"戊不受田田主不祥", u"东南", u"东北", u"正北"},
    {u"己不破券二比并亡", u"东北", u"正北", u"正北"},
    {u"庚不经络织机虚张", u"西北", u"西南", u"正东"},
    {u"辛不合酱主人不尝", u"西南", u"西北", u"正东"},
    {u"壬不泱水更难提防", u"正南", u"东南", u"正南"},
    {u"癸不词讼理弱敌强", u"东南", u"东北", u"正南"},
}};

// What the almanac gives for each earthly branch of the day, 子 to 亥, and,
// for a month of that branch, where its 值神 stand: a day's god is the one
// (day branch + dayGodStart) places on from 青龙, so in a 寅 month 青龙 falls
// on the 子 days.
struct BranchRow {
    QStringView pengzu;
    QStringView sha;           // 煞
    int dayGodStart;
};

constexpr std::array<BranchRow, BranchCount> BranchRows{{
    {u"子不问卜自惹祸殃", u"南", 4},
    {u"丑不冠带主不还乡", u"东", 2},
    {u"寅不祭祀神鬼不尝", u"北", 0},
    {u"卯不穿井水泉不香", u"西", 10},
    {u"辰不哭泣必主重丧", u"南", 8},
    {u"巳不远行财物伏藏", u"东", 6},
    {u"午不苫盖屋主更张", u"北", 4},
    {u"未不服药毒气入肠", u"西", 2},
    {u"申不安床鬼祟入房", u"南", 0},
    {u"酉不会客醉坐颠狂", u"东", 10},
    {u"戌不吃犬作怪上床", u"北", 8},
    {u"亥不嫁娶不利新郎", u"西", 6},
}};

// 建除十二值星, counted from the month's branch to the day's: the day of the
// month's own branch is 建.
constexpr std::array<QStringView, BranchCount> DayOfficers{
    u"建", u"除", u"满", u"平", u"定", u"执", u"破", u"危", u"成", u"收", u"开", u"闭",
};

struct DayGod {
    QStringView name;
    QStringView path;
};

constexpr std::array<DayGod, BranchCount> DayGods{{
    {u"青龙", u"黄道"}, {u"明堂", u"黄道"}, {u"天刑", u"黑道"}, {u"朱雀", u"黑道"},
    {u"金匮", u"黄道"}, {u"天德", u"黄道"}, {u"白虎", u"黑道"}, {u"玉堂", u"黄道"},
    {u"天牢", u"黑道"}, {u"玄武", u"黑道"}, {u"司命", u"黄道"}, {u"勾陈", u"黑道"},
}};

// The day's 纳音 in the almanac's words; row r names cycle indexes 2r and 2r + 1.
constexpr std::array<QStringView, CycleLength / 2> DayNayins{
    u"海中金", u"炉中火", u"大林木", u"路旁土", u"剑锋金", u"山头火", // 甲子 … 乙亥
    u"涧下水", u"城头土", u"白蜡金", u"杨柳木", u"泉中水", u"屋上土", // 丙子 … 丁亥
    u"霹雳火", u"松柏木", u"长流水", u"沙中金", u"山下火", u"平地木", // 戊子 … 己亥
    u"壁上土", u"金箔金", u"覆灯火", u"天河水", u"大驿土", u"钗钏金", // 庚子 … 辛亥
    u"桑柘木", u"大溪水", u"沙中土", u"天上火", u"石榴木", u"大海水", // 壬子 … 癸亥
};

struct Mansion {
    QStringView name;
    QStringView luck;
};

// The twenty-eight mansions follow each other day by day without a break.
constexpr std::array<Mansion, 28> Mansions{{
    {u"角", u"吉"}, {u"亢", u"凶"}, {u"氐", u"凶"}, {u"房", u"吉"}, {u"心", u"凶"}, {u"尾", u"吉"}, {u"箕", u"吉"},
    {u"斗", u"吉"}, {u"牛", u"凶"}, {u"女", u"凶"}, {u"虚", u"凶"}, {u"危", u"凶"}, {u"室", u"吉"}, {u"壁", u"吉"},
    {u"奎", u"凶"}, {u"娄", u"吉"}, {u"胃", u"吉"}, {u"昴", u"凶"}, {u"毕", u"吉"}, {u"觜", u"凶"}, {u"参", u"吉"},
    {u"井", u"吉"}, {u"鬼", u"凶"}, {u"柳", u"凶"}, {u"星", u"凶"}, {u"张", u"吉"}, {u"翼", u"凶"}, {u"轸", u"吉"},
}};
// 2026-12-11 (Julian day 2461386) is a 亢 day.
constexpr qint64 MansionOffset = 11;
static_assert((2461386 + MansionOffset) % 28 == 1);

// 胎神 of each day of the sixty-day cycle.
constexpr std::array<QStringView, CycleLength> FetusGods{
    u"占门碓 外东南", u"碓磨厕 外东南", u"厨灶炉 外正南", u"仓库门 外正南", u"房床栖 外正南", u"占门床 外正南", // 甲子 … 己巳
    u"占碓磨 外正南", u"厨灶厕 外西南", u"仓库炉 外西南", u"房床门 外西南", u"占门栖 外西南", u"碓磨床 外西南", // 庚午 … 乙亥
    u"厨灶碓 外西南", u"仓库厕 外正西", u"房床炉 外正西", u"占大门 外正西", u"碓磨栖 外正西", u"厨灶床 外正西", // 丙子 … 辛巳
    u"仓库碓 外西北", u"房床厕 外西北", u"占门炉 外西北", u"碓磨门 外西北", u"厨灶栖 外西北", u"仓库床 外西北", // 壬午 … 丁亥
    u"房床碓 外正北", u"占门厕 外正北", u"碓磨炉 外正北", u"厨灶门 外正北", u"仓库栖 外正北", u"占房床 房内北", // 戊子 … 癸巳
    u"占门碓 房内北", u"碓磨厕 房内北", u"厨灶炉 房内北", u"仓库门 房内北", u"房床栖 房内中", u"占门床 房内中", // 甲午 … 己亥
    u"占碓磨 房内南", u"厨灶厕 房内南", u"仓库炉 房内南", u"房床门 房内西", u"占门栖 房内东", u"碓磨床 房内东", // 庚子 … 乙巳
    u"厨灶碓 房内东", u"仓库厕 房内东", u"房床炉 房内中", u"占大门 外东北", u"碓磨栖 外东北", u"厨灶床 外东北", // 丙午 … 辛亥
    u"仓库碓 外东北", u"房床厕 外东北", u"占门炉 外东北", u"碓磨门 外正东", u"厨灶栖 外正东", u"仓库床 外正东", // 壬子 … 丁巳
    u"房床碓 外正东", u"占门厕 外正东", u"碓磨炉 外东南", u"厨灶门 外东南", u"仓库栖 外东南", u"占房床 外东南", // 戊午 … 癸亥
};

// The three 候 of each solar term, 小寒 to 冬至 as the term table counts
// them; each 候 lasts five days from the term's day, the third to the next term.
constexpr std::array<std::array<QStringView, 3>, SolarTermCount> Phenologies{{
    {u"雁北乡", u"鹊始巢", u"雉始雊"},              // 小寒
    {u"鸡始乳", u"征鸟厉疾", u"水泽腹坚"},          // 大寒
    {u"东风解冻", u"蛰虫始振", u"鱼陟负冰"},        // 立春
    {u"獭祭鱼", u"候雁北", u"草木萌动"},            // 雨水
    {u"桃始华", u"仓庚鸣", u"鹰化为鸠"},            // 惊蛰
    {u"玄鸟至", u"雷乃发声", u"始电"},              // 春分
    {u"桐始华", u"田鼠化为鴽", u"虹始见"},          // 清明
    {u"萍始生", u"鸣鸠拂其羽", u"戴胜降于桑"},      // 谷雨
    {u"蝼蝈鸣", u"蚯蚓出", u"王瓜生"},              // 立夏
    {u"苦菜秀", u"靡草死", u"麦秋至"},              // 小满
    {u"螳螂生", u"鵙始鸣", u"反舌无声"},            // 芒种
    {u"鹿角解", u"蜩始鸣", u"半夏生"},              // 夏至
    {u"温风至", u"蟋蟀居壁", u"鹰始挚"},            // 小暑
    {u"腐草为萤", u"土润溽暑", u"大雨行时"},        // 大暑
    {u"凉风至", u"白露降", u"寒蝉鸣"},              // 立秋
    {u"鹰乃祭鸟", u"天地始肃", u"禾乃登"},          // 处暑
    {u"鸿雁来", u"玄鸟归", u"群鸟养羞"},            // 白露
    {u"雷始收声", u"蛰虫坯户", u"水始涸"},          // 秋分
    {u"鸿雁来宾", u"雀入大水为蛤", u"菊有黄花"},    // 寒露
    {u"豺乃祭兽", u"草木黄落", u"蛰虫咸俯"},        // 霜降
    {u"水始冰", u"地始冻", u"雉入大水为蜃"},        // 立冬
    {u"虹藏不见", u"天气上升地气下降", u"闭塞而成冬"}, // 小雪
    {u"鹖鴠不鸣", u"虎始交", u"荔挺出"},            // 大雪
    {u"蚯蚓结", u"麋角解", u"水泉动"},              // 冬至
}};
constexpr int DaysPerPhenology = 5;

// Term rows of the two that open the year and the month of the almanac.
constexpr int BeginningOfSpringRow = 2; // 立春
// Year pillars count from 1900, a 庚子 year (cycle index 36) whose 寅 month
// is 戊寅 (cycle index 14).
constexpr int BaziBaseYear = 1900;
constexpr int FirstMonthCycleIndexOfBaseYear = 14;

constexpr int Wrap(qint64 value, int length)
{
    const int remainder = int(value % length);
    return remainder < 0 ? remainder + length : remainder;
}

// 宜 and 忌 of each pair of month branch and day, read once from the table
// built into the program (data/day-almanac-yi-ji.txt).
struct Suitability {
    QStringList suitable;
    QStringList unsuitable;
};

using SuitabilityTable = std::array<Suitability, BranchCount * CycleLength>;

int SuitabilityRow(int monthBranch, int dayCycle)
{
    return monthBranch * CycleLength + dayCycle;
}

int CycleIndexNamed(QStringView name)
{
    for (int index = 0; index < CycleLength; ++index) {
        if (StemBranchName(index) == name)
            return index;
    }
    return -1;
}

// A row reads "子 甲子 | 宜… | 忌…", the activities separated by blanks.
void ReadSuitabilityRow(QStringView line, SuitabilityTable &table)
{
    const QList<QStringView> parts = line.split(u" | ");
    if (parts.size() != 3)
        return;
    const QList<QStringView> key = parts[0].split(u' ', Qt::SkipEmptyParts);
    if (key.size() != 2 || key[0].size() != 1)
        return;
    const qsizetype monthBranch = BranchNames.indexOf(key[0][0]);
    const int dayCycle = CycleIndexNamed(key[1]);
    if (monthBranch < 0 || dayCycle < 0)
        return;
    Suitability &row = table[std::size_t(SuitabilityRow(int(monthBranch), dayCycle))];
    row.suitable = parts[1].toString().split(u' ', Qt::SkipEmptyParts);
    row.unsuitable = parts[2].toString().split(u' ', Qt::SkipEmptyParts);
}

const SuitabilityTable &Suitabilities()
{
    static const SuitabilityTable table = [] {
        SuitabilityTable read;
        QFile file(QStringLiteral(":/calendar/day-almanac-yi-ji.txt"));
        if (!file.open(QIODevice::ReadOnly))
            return read;
        const QString text = QString::fromUtf8(file.readAll());
        for (QStringView line : QStringView(text).split(u'\n')) {
            if (!line.isEmpty() && !line.startsWith(u'#'))
                ReadSuitabilityRow(line, read);
        }
        return read;
    }();
    return table;
}

// The day of a term and its place in the term table.
struct TermDay {
    int year = 0;
    int row = 0;
    qint64 julianDay = 0;
};

TermDay TermDayOf(int year, int row)
{
    return {year, row, SolarTermMoment(year, row).date.toJulianDay()};
}

// The last term whose day is on or before `julianDay`, a day of `year`.
TermDay LastTermOnOrBefore(qint64 julianDay, int year)
{
    int after = 0;
    int count = SolarTermCount;
    while (count > 0) {
        const int half = count / 2;
        if (TermDayOf(year, after + half).julianDay <= julianDay) {
            after += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return after == 0 ? TermDayOf(year - 1, SolarTermCount - 1) : TermDayOf(year, after - 1);
}

} // namespace

QDebug operator<<(QDebug debug, const DayAlmanac &almanac)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "DayAlmanac(" << almanac.date.toString(Qt::ISODate) << ", 宜 " << almanac.suitable
                    << ", 忌 " << almanac.unsuitable << ", " << almanac.dayOfficer << ", " << almanac.dayGod
                    << ' ' << almanac.dayGodPath << ", " << almanac.dayNayin << ", " << almanac.mansion << ' '
                    << almanac.mansionLuck << ", 冲" << almanac.clashAnimal << " 煞" << almanac.shaDirection << ", "
                    << almanac.pengzuStem << ' ' << almanac.pengzuBranch << ", 喜" << almanac.joyGodDirection
                    << " 福" << almanac.fortuneGodDirection << " 财" << almanac.wealthGodDirection << ", "
                    << almanac.fetusGod << ", " << almanac.phenology << ", " << almanac.baziYear << ' '
                    << almanac.baziMonth << ')';
    return debug;
}

std::optional<DayAlmanac> DescribeDayAlmanac(QDate date)
{
    if (!date.isValid() || date < DayAlmanacFirstDate || date > DayAlmanacLastDate)
        return std::nullopt;
    const qint64 julianDay = date.toJulianDay();
    const int civilYear = CivilDateOf(date).year;
    const int dayCycle = DayCycleIndex(date);
    const int dayStem = dayCycle % 10;
    const int dayBranch = dayCycle % BranchCount;

    // The month of the almanac runs from one 节 (the even rows of the term
    // table) to the next; its branch is 丑 from 小寒, 寅 from 立春 … 子 from 大雪.
    const TermDay term = LastTermOnOrBefore(julianDay, civilYear);
    const int monthBranch = (term.row / 2 + 1) % BranchCount;
    const int baziYear = julianDay >= TermDayOf(civilYear, BeginningOfSpringRow).julianDay ? civilYear : civilYear - 1;
    const int monthFromSpring = (monthBranch + BranchCount - 2) % BranchCount;
    const int monthCycle = Wrap(qint64(baziYear - BaziBaseYear) * 12 + monthFromSpring + FirstMonthCycleIndexOfBaseYear,
                                CycleLength);

    const Suitability &suitability = Suitabilities()[std::size_t(SuitabilityRow(monthBranch, dayCycle))];
    const DayGod &god = DayGods[std::size_t((dayBranch + BranchRows[std::size_t(monthBranch)].dayGodStart) % BranchCount)];
    const Mansion &mansion = Mansions[std::size_t(Wrap(julianDay + MansionOffset, int(Mansions.size())))];
    const StemRow &stem = StemRows[std::size_t(dayStem)];
    const BranchRow &branch = BranchRows[std::size_t(dayBranch)];
    const int phenology = int(std::min<qint64>((julianDay - term.julianDay) / DaysPerPhenology, 2));

    DayAlmanac almanac;
    almanac.date = date;
    almanac.suitable = suitability.suitable;
    almanac.unsuitable = suitability.unsuitable;
    almanac.dayOfficer = StaticText(DayOfficers[std::size_t((dayBranch - monthBranch + BranchCount) % BranchCount)]);
    almanac.dayGod = StaticText(god.name);
    almanac.dayGodPath = StaticText(god.path);
    almanac.dayNayin = StaticText(DayNayins[std::size_t(dayCycle / 2)]);
    almanac.mansion = StaticText(mansion.name);
    almanac.mansionLuck = StaticText(mansion.luck);
    almanac.clashAnimal = ZodiacAnimalOf(dayBranch + 6);
    almanac.shaDirection = StaticText(branch.sha);
    almanac.pengzuStem = StaticText(stem.pengzu);
    almanac.pengzuBranch = StaticText(branch.pengzu);
    almanac.joyGodDirection = StaticText(stem.joyGod);
    almanac.fortuneGodDirection = StaticText(stem.fortuneGod);
    almanac.wealthGodDirection = StaticText(stem.wealthGod);
    almanac.fetusGod = StaticText(FetusGods[std::size_t(dayCycle)]);
    almanac.phenology = StaticText(Phenologies[std::size_t(term.row)][std::size_t(phenology)]);
    almanac.baziYear = StemBranchName(int(baziYear) - 4);
    almanac.baziMonth = StemBranchName(monthCycle);
    return almanac;
}

QDebug operator<<(QDebug debug, const DayAlmanacLine &line)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "DayAlmanacLine(" << line.caption << ", " << line.text << ')';
    return debug;
}

QList<DayAlmanacLine> DayAlmanacDetails(const DayAlmanac &almanac)
{
    return QList<DayAlmanacLine>{
        {QStringLiteral("建除"), almanac.dayOfficer},
        {QStringLiteral("值神"), almanac.dayGod + u'（' + almanac.dayGodPath + u'）'},
        {QStringLiteral("纳音"), almanac.dayNayin},
        {QStringLiteral("星宿"), almanac.mansion + QStringLiteral("宿（") + almanac.mansionLuck + u'）'},
        {QStringLiteral("冲煞"), u'冲' + almanac.clashAnimal + QStringLiteral(" 煞") + almanac.shaDirection},
        {QStringLiteral("吉神"), QStringLiteral("喜神%1 福神%2 财神%3")
                                     .arg(almanac.joyGodDirection, almanac.fortuneGodDirection,
                                          almanac.wealthGodDirection)},
        {QStringLiteral("胎神"), almanac.fetusGod},
        {QStringLiteral("物候"), almanac.phenology},
        {QStringLiteral("彭祖"), almanac.pengzuStem + u' ' + almanac.pengzuBranch},
        {QStringLiteral("八字"), almanac.baziYear + QStringLiteral("年 ") + almanac.baziMonth
                                     + QStringLiteral("月（按节气）")},
    };
}
