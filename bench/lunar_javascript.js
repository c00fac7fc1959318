// Reference runs with the lunar-javascript library.
//
//   node lunar_javascript.js time
//     describes every day from 1900-01-01 to 2050-12-31 the way the almanac
//     does (lunar date, month-and-day text, year, month and day names, nayin,
//     star sign, weekday, solar term, both festival texts, lunar line) and
//     prints the time per day.
//   node lunar_javascript.js check ALMANAC.tsv
//     compares the lunar year, month (negative for a leap month) and day,
//     the year name and the day name of every convertible day in the output
//     of `ravezaz-cli almanac --from 1900-01-01 --to 2050-12-31` with the
//     library, and prints the differences.

'use strict';

const fs = require('fs');
const { Solar } = require('lunar-javascript');

const DayMs = 86400000;
const First = Date.UTC(1900, 0, 1);
const Last = Date.UTC(2050, 11, 31);

function* days(first, last) {
    for (let time = first; time <= last; time += DayMs) {
        const date = new Date(time);
        yield [date.getUTCFullYear(), date.getUTCMonth() + 1, date.getUTCDate()];
    }
}

function describe(year, month, day) {
    const solar = Solar.fromYmd(year, month, day);
    const lunar = solar.getLunar();
    const monthDay = lunar.getMonthInChinese() + '月' + lunar.getDayInChinese();
    const yearText = lunar.getYearInGanZhi() + '(' + lunar.getYearShengXiao() + ')年';
    return [
        lunar.getYear(), lunar.getMonth(), lunar.getDay(), monthDay, yearText,
        lunar.getMonthInGanZhi() + '月', lunar.getDayInGanZhi() + '日',
        '[' + lunar.getYearNaYin() + ']', solar.getXingZuo() + '座', '星期' + solar.getWeekInChinese(),
        lunar.getJieQi(),
        solar.getFestivals().map((name) => ' ☆' + name).join(''),
        lunar.getFestivals().map((name) => ' ★' + name).join(''),
        '农历:' + yearText + ' ' + monthDay,
    ];
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

function check(path) {
    const rows = fs.readFileSync(path, 'utf8').trimEnd().split('\n');
    const header = rows.shift().split('\t');
    const column = (name) => header.indexOf(name);
    const fields = ['lunar_year', 'lunar_month', 'lunar_day', 'year_text', 'day_pillar'];
    let compared = 0;
    const differences = [];
    for (const row of rows) {
        const cells = row.split('\t');
        if (cells[column('in_range')] !== '1')
            continue;
        const [year, month, day] = cells[column('date')].split('-').map(Number);
        const lunar = Solar.fromYmd(year, month, day).getLunar();
        const expected = {
            lunar_year: String(lunar.getYear()),
            lunar_month: String(lunar.getMonth()),
            lunar_day: String(lunar.getDay()),
            year_text: lunar.getYearInGanZhi() + '(' + lunar.getYearShengXiao() + ')年',
            day_pillar: lunar.getDayInGanZhi() + '日',
        };
        ++compared;
        for (const field of fields) {
            if (cells[column(field)] !== expected[field])
                differences.push(`${cells[column('date')]}\t${field}\t${cells[column(field)]}\t${expected[field]}`);
        }
    }
    console.log(`compared_days\t${compared}`);
    console.log(`differences\t${differences.length}`);
    for (const line of differences.slice(0, 50))
        console.log(line);
    process.exitCode = differences.length === 0 ? 0 : 1;
}

const [mode, path] = process.argv.slice(2);
if (mode === 'time')
    time();
else if (mode === 'check' && path)
    check(path);
else {
    console.error('usage: node lunar_javascript.js time | check ALMANAC.tsv');
    process.exitCode = 2;
}
