#!/usr/bin/python3
"""Prints the cast the main window shows, as a screen reader reads it: for
each hexagram frame on screen, its name and its description (time, name,
matter and rule of the cast), one frame a line. Prints nothing while the
window shows no cast.

Usage: shown_cast.py CAPTION-PATTERN [APPLICATION-NAME]
Exit status 0, 2 when the application or the window is not on the
accessibility bus, 77 when pyatspi is missing.
"""

import re
import sys

from accessibility_survey import application, walk

try:
    import pyatspi
except ImportError:
    print("skipped: python3-pyatspi not installed (scripts/test installs it)")
    sys.exit(77)

DETAILS_START = "成卦时间："


def main():
    caption = sys.argv[1]
    app = application(sys.argv[2] if len(sys.argv) > 2 else "Ravezaz")
    if app is None:
        return 2
    windows = [w for w in app if w is not None and re.fullmatch(caption, w.name)]
    if not windows:
        return 2
    for node, _ in walk(windows[0], []):
        if (node.description.startswith(DETAILS_START)
                and node.getState().contains(pyatspi.STATE_SHOWING)):
            print(f"{node.name}|{node.description}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
