// Compares the minute of every solar term 1900–2100 that `ravezaz-cli
// almanac --format ics` gives with the moment the astronomia library finds by
// the whole VSOP87 theory of the Earth (with its nutation and aberration).
// Both sides turn Terrestrial Time into UTC+8 with the same ΔT, the
// polynomials of Espenak and Meeus the calendar's table generator uses, so
// only the solar theory is compared.
//
//   node astronomia_terms.js CALENDAR.ics
//
// A minute may differ only where astronomia's moment lies within a second of
// the edge at which the shown minute changes. Prints every other difference
// and fails on any, or on a missing term.

'use strict';

const fs = require('fs');
const { planetposition, solar } = require('astronomia');
const earthSeries = require('astronomia/data/vsop87Dearth').default;

const FirstYear = 1900;
const LastYear = 2100;
const TermsPerYear = 24;
const MinutesPerDay = 1440;
const J2000 = 2451545.0;
const earth = new planetposition.Planet(earthSeries);

// ΔT in seconds at a year given with its fraction, as the generator has it.
const DeltaTPieces = [
    [1860, 1860, [7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1 / 233174.0]],
    [1900, 1900, [-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197, 0]],
    [1920, 1920, [21.20, 0.84493, -0.076100, 0.0020936, 0, 0]],
    [1941, 1950, [29.07, 0.407, -1 / 233.0, 1 / 2547.0, 0, 0]],
    [1961, 1975, [45.45, 1.067, -1 / 260.0, -1 / 718.0, 0, 0]],
    [1986, 2000, [63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599]],
    [2005, 2000, [62.92, 0.32217, 0.005589, 0, 0, 0]],
];

function deltaTSeconds(year) {
    if (year >= 2050) {
        const u = (year - 1820) / 100;
        return -20 + 32 * u * u - 0.5628 * (2150 - year);
    }
    const [, origin, coefficients] = DeltaTPieces.filter(([from]) => year >= from).pop();
    const u = year - origin;
    return coefficients.reduceRight((value, coefficient) => value * u + coefficient, 0);
}

// Julian day number of a Gregorian date.
function julianDayNumber(year, month, day) {
    return Date.UTC(year, month - 1, day) / 86400000 + 2440588;
}

// The moment (JDE) the Sun's apparent longitude reaches `degrees`, by steps
// at the Sun's mean rate from a guess within a few weeks.
function termMoment(degrees, guess) {
    const target = degrees * Math.PI / 180;
    let jde = guess;
    for (let round = 0; round < 50; ++round) {
        let behind = target - solar.apparentVSOP87(earth, jde).lon;
        behind -= 2 * Math.PI * Math.round(behind / (2 * Math.PI));
        const step = behind * 365.2422 / (2 * Math.PI);
        jde += step;
        if (Math.abs(step) < 1e-9)
            break;
    }
    return jde;
}

// Minutes (with their fraction) from 1 January 00:00 UTC+8 of `year` to term
// `row` (0 小寒 at 285° … 23 冬至 at 270°).
function astronomiaMinutes(year, row) {
    const degrees = (285 + 15 * row) % 360;
    const jde = termMoment(degrees, julianDayNumber(year, 1, 6) + 15.2 * row);
    const ut = jde - deltaTSeconds(2000 + (jde - J2000) / 365.25) / 86400;
    return (ut + 0.5 + 8 / 24 - julianDayNumber(year, 1, 1)) * MinutesPerDay;
}

// The minute the calendar shows for a moment: the nearest one, unless that
// would carry the term into the next day.
function shownMinute(minutes) {
    const rounded = Math.round(minutes);
    return Math.floor(rounded / MinutesPerDay) === Math.floor(minutes / MinutesPerDay) ? rounded : Math.floor(minutes);
}

function clock(minutes) {
    const day = Math.floor(minutes / MinutesPerDay);
    const second = Math.round((minutes - day * MinutesPerDay) * 60);
    const pad = (n) => String(n).padStart(2, '0');
    return `day ${day} ${pad(Math.floor(second / 3600))}:${pad(Math.floor(second / 60) % 60)}:${pad(second % 60)}`;
}

// The terms of the calendar file: "year row" → minutes from 1 January.
function calendarTerms(path) {
    const text = fs.readFileSync(path, 'utf8').replace(/\r\n[ \t]/g, '');
    const pattern = /太阳视黄经(\d+)°，交节时刻(\d+)年(\d+)月(\d+)日 (\d\d):(\d\d)/g;
    const terms = new Map();
    for (const [, degrees, year, month, day, hour, minute] of text.matchAll(pattern)) {
        const row = ((Number(degrees) - 285 + 360) % 360) / 15;
        const dayOfYear = julianDayNumber(Number(year), Number(month), Number(day)) - julianDayNumber(Number(year), 1, 1);
        terms.set(`${year} ${row}`, dayOfYear * MinutesPerDay + Number(hour) * 60 + Number(minute));
    }
    return terms;
}

function check(path) {
    const terms = calendarTerms(path);
    let compared = 0;
    let atEdge = 0;
    let failures = 0;
    for (let year = FirstYear; year <= LastYear; ++year) {
        for (let row = 0; row < TermsPerYear; ++row) {
            const shown = terms.get(`${year} ${row}`);
            if (shown === undefined) {
                console.log(`${year} term ${row}: missing from the calendar`);
                ++failures;
                continue;
            }
            ++compared;
            const minutes = astronomiaMinutes(year, row);
            if (shownMinute(minutes) === shown)
                continue;
            const second = 1 / 60;
            if (shownMinute(minutes - second) === shown || shownMinute(minutes + second) === shown) {
                ++atEdge;
                continue;
            }
            console.log(`${year} term ${row}: calendar ${clock(shown)}, astronomia ${clock(minutes)}`);
            ++failures;
        }
    }
    console.log(`${compared} terms compared, ${atEdge} within a second of a minute's edge, ${failures} differences`);
    return failures === 0;
}

if (process.argv.length !== 3) {
    console.error('usage: node astronomia_terms.js CALENDAR.ics');
    process.exit(2);
}
process.exit(check(process.argv[2]) ? 0 : 1);
