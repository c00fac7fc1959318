#!/usr/bin/python3
"""Reads the accessibility tree of the program's active window through AT-SPI,
as a screen reader does, and lists what a screen reader user would miss:
interactive objects without a name, and buttons that cannot take the focus.

Usage: accessibility_survey.py LABEL CAPTION-PATTERN [APPLICATION-NAME]
The window surveyed is the application's active window whose name (its
caption) matches CAPTION-PATTERN, a Python regular expression. Prints one summary line "LABEL: interactive N, unnamed K, unfocusable buttons M"
and one line per fault. Exit status 0 when the window has no fault, 1 when it
has, 2 when the window cannot be found, 77 when pyatspi is missing.
"""

import re
import sys
import time

try:
    import pyatspi
except ImportError:
    print("skipped: python3-pyatspi not installed (scripts/test installs it)")
    sys.exit(77)

INTERACTIVE = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_LINK,
    pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX,
    pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_TABLE,
    pyatspi.ROLE_TREE,
}
BUTTONS = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_TOGGLE_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_LINK,
}


def application(name, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == name.lower():
                return app
        time.sleep(0.2)
    return None


def active_window(app, caption, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for window in app:
            if (window is not None and re.fullmatch(caption, window.name)
                    and window.getState().contains(pyatspi.STATE_ACTIVE)):
                return window
        time.sleep(0.2)
    return None


def walk(node, path):
    yield node, path
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child, path + [f"{child.getRoleName()}[{index}]"])


def is_interactive(node, states):
    if node.getRole() in INTERACTIVE:
        return True
    if node.getRole() == pyatspi.ROLE_TEXT and states.contains(pyatspi.STATE_EDITABLE):
        return True
    # Anything else the keyboard can reach is interactive as well.
    return states.contains(pyatspi.STATE_FOCUSABLE)


def place(node):
    try:
        box = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        return f"at {box.x},{box.y} {box.width}x{box.height}"
    except NotImplementedError:
        return ""


def survey(window):
    interactive = 0
    unnamed = []
    unfocusable = []
    for node, path in walk(window, []):
        states = node.getState()
        if not states.contains(pyatspi.STATE_SHOWING) or not is_interactive(node, states):
            continue
        interactive += 1
        where = f"{node.getRoleName()} {'/'.join(path)} {place(node)}"
        if not node.name.strip():
            unnamed.append(where)
        if node.getRole() in BUTTONS and not states.contains(pyatspi.STATE_FOCUSABLE):
            unfocusable.append(f"{where} \"{node.name}\"")
    return interactive, unnamed, unfocusable


def main():
    label, caption = sys.argv[1], sys.argv[2]
    app_name = sys.argv[3] if len(sys.argv) > 3 else "Ravezaz"
    app = application(app_name)
    if app is None:
        print(f"{label}: no application {app_name} on the accessibility bus")
        return 2
    window = active_window(app, caption)
    if window is None:
        names = ", ".join(w.name for w in app if w is not None)
        print(f"{label}: no active window named {caption} (windows: {names})")
        return 2
    interactive, unnamed, unfocusable = survey(window)
    print(f"{label} ({window.name}): interactive {interactive}, unnamed {len(unnamed)}, "
          f"unfocusable buttons {len(unfocusable)}")
    for where in unnamed:
        print(f"  unnamed: {where}")
    for where in unfocusable:
        print(f"  cannot take the focus: {where}")
    return 1 if unnamed or unfocusable else 0


if __name__ == "__main__":
    sys.exit(main())
