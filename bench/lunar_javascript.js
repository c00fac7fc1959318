// Reference runs with the lunar-javascript library.
//
//   node lunar_javascript.js describe
//     describes every day from 1900-01-31 to 2100-12-31 the way the almanac
//     does (lunar date, month-and-day text, year, month and day names, nayin,
//     star sign, weekday, solar term, both festival texts, lunar line) and
//     prints one tab-separated row per day: the whole process is timed
//     against `ravezaz-cli almanac` over the same days.
//   node lunar_javascript.js time
//     the same description in process, without output, and the time per day.
//   node lunar_javascript.js check ALMANAC.tsv
//     compares every day from 1900-01-31 to 2100-12-31 in the output of
//     `ravezaz-cli almanac --from 1900-01-31 --to 2100-12-31 --huangli` with
//     the library: the lunar year, month (negative for a leap month) and day,
//     the month-and-day text, the year name, the day name and the solar term;
//     the day almanac (宜, 忌, officer, day god and its path, the day's nayin,
//     mansion and its luck, clash, 煞, 彭祖百忌, the gods' directions, 胎神,
//     物候, the year and month pillars of the solar terms); and the public
//     holiday and make-up working day. Prints the differences and fails on
//     any, or on a missing day.

'use strict';

const fs = require('fs');
const { Solar, HolidayUtil } = require('lunar-javascript');

const DayMs = 86400000;
const First = Date.UTC(1900, 0, 31);
const Last = Date.UTC(2100, 11, 31);
const DayCount = (Last - First) / DayMs + 1;

function* days(first, last) {
    for (let time = first; time <= last; time += DayMs) {
        const date = new Date(time);
        yield [date.getUTCFullYear(), date.getUTCMonth() + 1, date.getUTCDate()];
    }
}

function monthDayText(lunar) {
    return lunar.getMonthInChinese() + '月' + lunar.getDayInChinese();
}

function yearText(lunar) {
    return lunar.getYearInGanZhi() + '(' + lunar.getYearShengXiao() + ')年';
}

function describe(year, month, day) {
    const solar = Solar.fromYmd(year, month, day);
    const lunar = solar.getLunar();
    const monthDay = monthDayText(lunar);
    return [
        lunar.getYear(), lunar.getMonth(), lunar.getDay(), monthDay, yearText(lunar),
        lunar.getMonthInGanZhi() + '月', lunar.getDayInGanZhi() + '日',
        '[' + lunar.getYearNaYin() + ']', solar.getXingZuo() + '座', '星期' + solar.getWeekInChinese(),
        lunar.getJieQi(),
        solar.getFestivals().map((name) => ' ☆' + name).join(''),
        lunar.getFestivals().map((name) => ' ★' + name).join(''),
        '农历:' + yearText(lunar) + ' ' + monthDay,
    ];
}

function describeAll() {
    const rows = [];
    for (const [year, month, day] of days(First, Last))
        rows.push(describe(year, month, day).join('\t'));
    process.stdout.write(rows.join('\n') + '\n');
}

function time() {
    let count = 0;
    let characters = 0;
    const start = process.hrtime.bigint();
    for (const [year, month, day] of days(First, Last)) {
        characters += describe(year, month, day).join('\t').length;
        ++count;
    }
    const elapsed = Number(process.hrtime.bigint() - start);
    console.log(`days\t${count}`);
    console.log(`characters\t${characters}`);
    console.log(`range_ms\t${(elapsed / 1e6).toFixed(1)}`);
    console.log(`ns_per_described_day\t${(elapsed / count).toFixed(1)}`);
}

function holidayFields(year, month, day) {
    const holiday = HolidayUtil.getHoliday(year, month, day);
    if (!holiday)
        return { holiday: '', workday: '' };
    return { holiday: holiday.getName(), workday: holiday.isWork() ? '1' : '0' };
}

function expectedFields(year, month, day) {
    const lunar = Solar.fromYmd(year, month, day).getLunar();
    return {
        lunar_year: String(lunar.getYear()),
        lunar_month: String(lunar.getMonth()),
        lunar_day: String(lunar.getDay()),
        month_day_text: monthDayText(lunar),
        year_text: yearText(lunar),
        day_pillar: lunar.getDayInGanZhi() + '日',
        solar_term: lunar.getJieQi(),
        yi: lunar.getDayYi().join(' '),
        ji: lunar.getDayJi().join(' '),
        day_officer: lunar.getZhiXing(),
        day_god: lunar.getDayTianShen(),
        day_god_luck: lunar.getDayTianShenType(),
        day_nayin: lunar.getDayNaYin(),
        mansion: lunar.getXiu(),
        mansion_luck: lunar.getXiuLuck(),
        clash_animal: lunar.getDayChongShengXiao(),
        sha: lunar.getDaySha(),
        pengzu: lunar.getPengZuGan() + ' ' + lunar.getPengZuZhi(),
        xishen: lunar.getDayPositionXiDesc(),
        fushen: lunar.getDayPositionFuDesc(),
        caishen: lunar.getDayPositionCaiDesc(),
        taishen: lunar.getDayPositionTai(),
        hou: lunar.getWuHou(),
        bazi_year: lunar.getYearInGanZhiByLiChun(),
        bazi_month: lunar.getMonthInGanZhi(),
        ...holidayFields(year, month, day),
    };
}

function check(path) {
    // Only the final line end goes: trailing tabs are empty cells of the last day.
    const rows = fs.readFileSync(path, 'utf8').replace(/\n$/, '').split('\n');
    const header = rows.shift().split('\t');
    const column = (name) => header.indexOf(name);
    const byDate = new Map(rows.map((row) => {
        const cells = row.split('\t');
        return [cells[column('date')], cells];
    }));
    let compared = 0;
    let holidays = 0;
    const differences = [];
    for (const [year, month, day] of days(First, Last)) {
        const date = `${year}-${String(month).padStart(2, '0')}-${String(day).padStart(2, '0')}`;
        const cells = byDate.get(date);
        if (!cells || cells[column('in_range')] !== '1') {
            differences.push(`${date}\tmissing or out of range`);
            continue;
        }
        const expected = expectedFields(year, month, day);
        ++compared;
        if (expected.holiday !== '')
            ++holidays;
        for (const [field, value] of Object.entries(expected)) {
            if (column(field) < 0)
                differences.push(`${date}\t${field}\tcolumn missing`);
            else if (cells[column(field)] !== value)
                differences.push(`${date}\t${field}\t${cells[column(field)]}\t${value}`);
        }
    }
    console.log(`compared_days\t${compared}\tof\t${DayCount}`);
    console.log(`holiday_days\t${holidays}`);
    console.log(`differences\t${differences.length}`);
    for (const line of differences.slice(0, 50))
        console.log(line);
    process.exitCode = differences.length === 0 && compared === DayCount ? 0 : 1;
}

const [mode, path] = process.argv.slice(2);
if (mode === 'describe')
    describeAll();
else if (mode === 'time')
    time();
else if (mode === 'check' && path)
    check(path);
else {
    console.error('usage: node lunar_javascript.js describe | time | check ALMANAC.tsv');
    process.exitCode = 2;
}
