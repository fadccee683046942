#!/usr/bin/python3
"""Reads a group window's accessible tree over AT-SPI, as a screen reader would.

Runs the program given after "--", waits for its window, prints the tree (role, name,
description; a table's figures row by row) and lists the focusable controls whose name is empty
or shared. Optionally takes a screenshot of the screen. Run it on a display with a session bus
and the accessibility bus, e.g.:

  xvfb-run -a -s "-screen 0 1366x768x24" dbus-run-session -- sh -c \
    '/usr/libexec/at-spi-bus-launcher --launch-immediately & sleep 1;
     /usr/bin/python3 scripts/atspi-group-windows.py --shot out.png -- build/.../vornale-summary DIR'
"""
import argparse
import os
import subprocess
import sys
import time

import pyatspi

FIELD_ROLES = {"push button", "check box", "table", "tree table", "list", "text", "combo box",
               "spin button", "radio button", "progress bar", "tree"}


def find_app(pid, timeout):
    end = time.time() + timeout
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:
                pass
        time.sleep(0.5)
    return None


def walk(node, depth, out, fields):
    try:
        role = node.getRoleName()
        name = node.name or ""
        desc = node.description or ""
        states = node.getState()
    except Exception:
        return
    if not states.contains(pyatspi.STATE_SHOWING) and depth >= 2:
        return
    line = "  " * depth + f"[{role}] {name!r}"
    if desc:
        line += f" — {desc!r}"
    out.append(line)
    if states.contains(pyatspi.STATE_FOCUSABLE) and role in FIELD_ROLES:
        fields.append((role, name))
    if role in ("table", "tree table", "list", "tree"):
        try:
            table = node.queryTable()
        except NotImplementedError:
            return
        cols = [table.getColumnDescription(c) for c in range(table.nColumns)]
        out.append("  " * (depth + 1) + f"{table.nRows} rows × {table.nColumns} columns: {cols}")
        for r in range(min(table.nRows, 8)):
            cells = []
            for c in range(table.nColumns):
                cell = table.getAccessibleAt(r, c)
                cells.append(cell.name if cell is not None else "?")
            out.append("  " * (depth + 2) + " | ".join(cells))
        return
    for child in node:
        if child is not None:
            walk(child, depth + 1, out, fields)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--shot", help="screenshot file (PNG) once the window is up")
    parser.add_argument("--wait", type=float, default=4.0, help="seconds for the window to fill")
    parser.add_argument("command", nargs="+")
    args = parser.parse_args()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
    program = subprocess.Popen(args.command, env=env)
    try:
        app = find_app(program.pid, 30)
        if app is None:
            print("no accessible application found", file=sys.stderr)
            return 1
        time.sleep(args.wait)
        if args.shot:
            subprocess.run(["import", "-window", "root", args.shot], check=False)
        out, fields = [], []
        walk(app, 0, out, fields)
        print("\n".join(out))
        names = [name for _, name in fields]
        unnamed = [role for role, name in fields if not name.strip()]
        shared = sorted({name for name in names if name.strip() and names.count(name) > 1})
        print(f"\nfocusable controls: {len(fields)}; without a name: {len(unnamed)} {unnamed}; "
              f"names shared: {shared}")
        return 0 if not unnamed and not shared else 2
    finally:
        program.terminate()
        program.wait(10)


if __name__ == "__main__":
    sys.exit(main())
