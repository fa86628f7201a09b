#!/usr/bin/python3
"""Reads one window of a running program through the accessibility bus, as a screen reader does.

    accessible_screen.py <pid> <window title> [--buttons N] [--fields N] [--field NAME]...
                         [--says TEXT]...

Finds the showing window with exactly that title among the windows of the program with that
process id, and walks what it shows. A button is a push, toggle, check or radio button; a field is
an edit, a password edit, a spin box or a combo box. Every showing button, field and other object
that takes the keyboard focus must have a name that no other of them has (the items of a list or
table are its content, not controls), and none that takes the focus may be out of sight: without
a size or outside the window. Prints one line of figures, then each unnamed control. Exits 0 when all is named and at least N named buttons and N named fields were found,
with a field of each given name and an object whose name holds each given text; 1 when not; 3
when the window never appeared on the bus.
"""
import argparse
import sys
import time

import pyatspi

BUTTONS = {"push button", "toggle button", "check box", "radio button"}
FIELDS = {"text", "password text", "entry", "spin button", "combo box"}
ITEMS = {"list item", "table cell", "tree item"}


def process_id(app):
    try:
        return app.get_process_id()
    except Exception:  # an application that went away while being asked
        return None


def showing_window(pid, title):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or process_id(app) != pid:
            continue
        for window in app:
            if window is not None and window.name == title and \
                    window.getState().contains(pyatspi.STATE_SHOWING):
                return window
    return None


def extents(node):
    """(x, y, width, height) of `node` on the screen."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def out_of_sight(node, window):
    x, y, width, height = extents(node)
    wx, wy, wwidth, wheight = extents(window)
    return width <= 0 or height <= 0 or x >= wx + wwidth or y >= wy + wheight or \
        x + width <= wx or y + height <= wy


def controls(window):
    """(role, name, kind, out of sight) of each showing object under `window`: a button, a field,
    another object that takes the focus, or (kind "other") what only shows or holds others."""
    found = []
    pending = [window.getChildAtIndex(i) for i in range(window.childCount)]
    while pending:
        node = pending.pop()
        if node is None:
            continue
        state = node.getState()
        if not state.contains(pyatspi.STATE_SHOWING):
            continue  # what a hidden object holds is hidden too
        role = node.getRoleName()
        focusable = state.contains(pyatspi.STATE_FOCUSABLE)
        hidden = focusable and out_of_sight(node, window)
        if role in BUTTONS:
            found.append((role, node.name, "button", hidden))
        elif role in FIELDS:
            found.append((role, node.name, "field", hidden))
        elif role in ITEMS:
            found.append((role, node.name, "other", hidden))
        elif focusable:
            found.append((role, node.name, "focusable", hidden))
        else:
            found.append((role, node.name, "other", hidden))
        pending.extend(node.getChildAtIndex(i) for i in range(node.childCount))
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("pid", type=int)
    parser.add_argument("title")
    parser.add_argument("--buttons", type=int, default=1)
    parser.add_argument("--fields", type=int, default=0)
    parser.add_argument("--field", action="append", default=[])
    parser.add_argument("--says", action="append", default=[],
                        help="a text that some object of the window must show in its name")
    args = parser.parse_args()

    # A window reaches the bus a moment after it is mapped.
    window = None
    for _ in range(75):
        window = showing_window(args.pid, args.title)
        if window is not None:
            break
        time.sleep(0.2)
    if window is None:
        print(f"no showing window {args.title!r} of process {args.pid} on the accessibility bus")
        return 3

    shown = controls(window)
    found = [control for control in shown if control[2] != "other"]
    unnamed = [(role, kind) for role, name, kind, _ in found if not name.strip()]
    buttons = [name for role, name, kind, _ in found if kind == "button" and name.strip()]
    fields = [name for role, name, kind, _ in found if kind == "field" and name.strip()]
    quiet = sum(1 for role, name, kind, _ in shown if kind == "other" and not name.strip())
    names = [name.strip() for role, name, kind, _ in found if name.strip()]
    repeated = sorted({name for name in names if names.count(name) > 1})
    hidden = [f"{role} {name!r}" for role, name, kind, out in shown if out]
    print(f"{args.title.strip()}: {len(found)} controls, {len(unnamed)} unnamed; "
          f"{len(buttons)} named buttons, {len(fields)} named fields; "
          f"{len(shown) - len(found)} other objects shown, {quiet} of them unnamed")
    for role, kind in unnamed:
        print(f"  unnamed {kind}: {role}")
    faults = []
    if unnamed:
        faults.append(f"{len(unnamed)} controls without a name")
    faults.extend(f"more than one control named {name!r}" for name in repeated)
    faults.extend(f"{control} takes the focus out of sight" for control in hidden)
    if len(buttons) < args.buttons:
        faults.append(f"{len(buttons)} named buttons, at least {args.buttons} expected")
    if len(fields) < args.fields:
        faults.append(f"{len(fields)} named fields, at least {args.fields} expected")
    faults.extend(f"no field named {name!r}" for name in args.field if name not in fields)
    faults.extend(f"nothing says {text!r}" for text in args.says
                  if not any(text in name for role, name, kind, _ in shown))
    for fault in faults:
        print(f"  FAULT: {fault}")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
