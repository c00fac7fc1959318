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
//     compares the lunar year, month (negative for a leap month) and day,
//     the month-and-day text, the year name, the day name and the solar term
//     of every day from 1900-01-31 to 2100-12-31 in the output of
//     `ravezaz-cli almanac --from 1900-01-31 --to 2100-12-31` with the
//     library, prints the differences and fails on any, or on a missing day.

'use strict';

const fs = require('fs');
const { Solar } = require('lunar-javascript');

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

function expectedFields(lunar) {
    return {
        lunar_year: String(lunar.getYear()),
        lunar_month: String(lunar.getMonth()),
        lunar_day: String(lunar.getDay()),
        month_day_text: monthDayText(lunar),
        year_text: yearText(lunar),
        day_pillar: lunar.getDayInGanZhi() + '日',
        solar_term: lunar.getJieQi(),
    };
}

function check(path) {
    const rows = fs.readFileSync(path, 'utf8').trimEnd().split('\n');
    const header = rows.shift().split('\t');
    const column = (name) => header.indexOf(name);
    const byDate = new Map(rows.map((row) => {
        const cells = row.split('\t');
        return [cells[column('date')], cells];
    }));
    let compared = 0;
    const differences = [];
    for (const [year, month, day] of days(First, Last)) {
        const date = `${year}-${String(month).padStart(2, '0')}-${String(day).padStart(2, '0')}`;
        const cells = byDate.get(date);
        if (!cells || cells[column('in_range')] !== '1') {
            differences.push(`${date}\tmissing or out of range`);
            continue;
        }
        const expected = expectedFields(Solar.fromYmd(year, month, day).getLunar());
        ++compared;
        for (const [field, value] of Object.entries(expected)) {
            if (cells[column(field)] !== value)
                differences.push(`${date}\t${field}\t${cells[column(field)]}\t${value}`);
        }
    }
    console.log(`compared_days\t${compared}\tof\t${DayCount}`);
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
