"""Reads `ravezaz-cli almanac --format ics` with a real iCalendar parser
(python3-icalendar) and checks the file's form and a few known events.

    test_almanac_ics.py RAVEZAZ_CLI
"""

import datetime
import subprocess
import sys
import unittest

from icalendar import Calendar

CLI = sys.argv[1] if len(sys.argv) > 1 else "ravezaz-cli"


def export(*args):
    result = subprocess.run([CLI, "almanac", "--format", "ics", *args], capture_output=True, check=True)
    return result.stdout


def events_of(raw):
    calendar = Calendar.from_ical(raw)
    return [component for component in calendar.walk("VEVENT")]


def on_day(events, day, summary):
    return [event for event in events
            if event.decoded("DTSTART") == day and str(event.get("SUMMARY")) == summary]


class AlmanacIcsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.raw = export("--from", "2012-01-01", "--to", "2013-02-28", "--lunar-days")
        cls.events = events_of(cls.raw)

    def test_lines_are_crlf_and_folded_to_75_octets(self):
        self.assertTrue(self.raw.endswith(b"\r\n"))
        lines = self.raw.split(b"\r\n")[:-1]
        self.assertNotIn(b"\n", b"".join(lines))
        self.assertTrue(all(len(line) <= 75 for line in lines))
        # Some line is long enough to need folding, and folding never cuts a character.
        self.assertTrue(any(line.startswith(b" ") for line in lines))
        for line in lines:
            line.decode("utf-8")

    def test_every_event_is_all_day_with_uid_and_stamp(self):
        uids = [str(event["UID"]) for event in self.events]
        self.assertEqual(len(uids), len(set(uids)))
        for event in self.events:
            start = event.decoded("DTSTART")
            self.assertIs(type(start), datetime.date)
            self.assertEqual(event.decoded("DTEND"), start + datetime.timedelta(days=1))
            self.assertIsInstance(event.decoded("DTSTAMP"), datetime.datetime)
            self.assertTrue(str(event["UID"]).endswith("@ravezaz"))

    def test_solar_terms_carry_their_moment(self):
        daxue = on_day(self.events, datetime.date(2012, 12, 7), "大雪")
        self.assertEqual(len(daxue), 1)
        self.assertEqual(str(daxue[0]["DESCRIPTION"]), "大雪：太阳视黄经255°，交节时刻2012年12月7日 01:19（北京时间）")
        self.assertEqual(on_day(self.events, datetime.date(2012, 12, 6), "大雪"), [])
        terms = [event for event in self.events if str(event.get("CATEGORIES").to_ical(), "utf-8") == "节气"]
        self.assertEqual(len([t for t in terms if t.decoded("DTSTART").year == 2012]), 24)

    def test_festivals_and_lunar_days(self):
        self.assertEqual(len(on_day(self.events, datetime.date(2013, 2, 10), "春节（大年初一）")), 1)
        # 腊月廿九 before the new year is 除夕.
        self.assertEqual(len(on_day(self.events, datetime.date(2013, 2, 9), "除夕")), 1)
        self.assertEqual(len(on_day(self.events, datetime.date(2012, 10, 1), "国庆节")), 1)
        self.assertEqual(len(on_day(self.events, datetime.date(2012, 1, 23), "正月初一")), 1)
        lunar_days = [event for event in self.events if str(event["UID"]).endswith("-lunar-day@ravezaz")]
        self.assertEqual(len(lunar_days), (datetime.date(2013, 2, 28) - datetime.date(2012, 1, 1)).days + 1)

    def test_立春_2009_and_the_end_of_the_range(self):
        events = events_of(export("--from", "2009-02-04", "--to", "2009-02-04"))
        lichun = on_day(events, datetime.date(2009, 2, 4), "立春")
        self.assertEqual(len(lichun), 1)
        self.assertIn("00:50", str(lichun[0]["DESCRIPTION"]))
        last = events_of(export("2100-12-31", "--lunar-days"))
        self.assertEqual([str(event["SUMMARY"]) for event in last], ["腊月初一"])

    def test_without_lunar_days_only_terms_and_festivals(self):
        events = events_of(export("--from", "2012-07-16", "--to", "2012-07-22"))
        self.assertEqual(sorted(str(event["SUMMARY"]) for event in events), ["大暑"])


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]])
