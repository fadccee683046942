#!/usr/bin/python3
"""Reads a running program's windows over AT-SPI, as a screen reader does, and prints them.

Run inside the program's session bus (scripts/atspi-check.sh starts both):
    atspi-read.py PROGRAM                 the accessible tree of every window of PROGRAM
    atspi-read.py PROGRAM --press NAME    presses the button called NAME through AT-SPI and
                                          prints the name and value changes announced after it
Lines: indent, role, "name", [description], =value, {value min..max}, (states worth hearing).
Every focusable control whose name is empty, a group box's title or another control's name is
listed at the end; the exit code is 1 if there is one.
"""
import sys

import pyatspi
from gi.repository import GLib

STATES = {
    pyatspi.STATE_FOCUSED: "focused",
    pyatspi.STATE_FOCUSABLE: "focusable",
    pyatspi.STATE_EDITABLE: "editable",
    pyatspi.STATE_READ_ONLY: "read-only",
    pyatspi.STATE_CHECKED: "checked",
    pyatspi.STATE_ACTIVE: "active",
}


def application(program):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == program:
            return app
    sys.exit("no application %r on the bus (is QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 set?)" % program)


def describe(acc):
    parts = [acc.getRoleName(), '"%s"' % acc.name]
    if acc.description:
        parts.append("[%s]" % acc.description)
    try:
        text = acc.queryText()
        parts.append("=%s" % text.getText(0, -1))
    except NotImplementedError:
        pass
    try:
        value = acc.queryValue()
        parts.append("{%g %g..%g}" % (value.currentValue, value.minimumValue, value.maximumValue))
    except NotImplementedError:
        pass
    states = acc.getState()
    heard = [word for state, word in STATES.items() if states.contains(state)]
    if heard:
        parts.append("(%s)" % ", ".join(heard))
    return " ".join(parts)


def walk(acc, depth, controls, titles):
    if not acc.getState().contains(pyatspi.STATE_SHOWING) and depth > 1:
        return
    print("  " * depth + describe(acc))
    if acc.getRoleName() == "grouping" or acc.getRoleName() == "panel":
        titles.add(acc.name)
    if acc.getState().contains(pyatspi.STATE_FOCUSABLE) or acc.getRoleName() in ("push button", "progress bar"):
        controls.append(acc)
    for child in acc:
        if child is not None:
            walk(child, depth + 1, controls, titles)


def read_windows(program):
    faults = []
    for window in application(program):
        controls, titles = [], set()
        walk(window, 0, controls, titles)
        titles.discard("")
        seen = {}
        for control in controls:
            name = control.name.strip()
            if not name or control.name in titles:
                faults.append("%s: %s has no name of its own" % (window.name, describe(control)))
            elif name in seen:
                faults.append("%s: %s shares its name" % (window.name, describe(control)))
            seen[name] = control
        print()
    for fault in faults:
        print("FAULT", fault)
    return 1 if faults else 0


def find(acc, name):
    if acc.name == name and acc.getRoleName() == "push button":
        return acc
    for child in acc:
        found = find(child, name) if child is not None else None
        if found is not None:
            return found
    return None


def press_and_listen(program, button_name):
    app = application(program)
    button = None
    for window in app:
        button = button or find(window, button_name)
    if button is None:
        sys.exit("no button %r" % button_name)
    heard = []

    def listen(event):
        if event.host_application is None or event.host_application.name != program:
            return
        source = event.source
        if event.type.startswith("object:property-change:accessible-name"):
            heard.append("%s name -> %r" % (source.getRoleName(), source.name))
        else:
            try:
                value = source.queryValue().currentValue
            except NotImplementedError:
                value = source.queryText().getText(0, -1) if source.getRoleName() == "text" else "?"
            heard.append("%s %r value -> %s" % (source.getRoleName(), source.name, value))

    for kind in ("object:property-change:accessible-name", "object:property-change:accessible-value",
                 "object:value-changed", "object:text-changed"):
        pyatspi.Registry.registerEventListener(listen, kind)
    GLib.timeout_add(300, lambda: button.queryAction().doAction(0) and False)
    GLib.timeout_add(2500, lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    print("pressed %r; announced:" % button_name)
    for line in heard:
        print("  " + line)
    return 0 if heard else 1


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[2] == "--press":
        sys.exit(press_and_listen(sys.argv[1], sys.argv[3]))
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sys.exit(read_windows(sys.argv[1]))
