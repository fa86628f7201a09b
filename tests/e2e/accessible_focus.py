#!/usr/bin/python3
"""Says which control of a running program has the keyboard focus, as a screen reader announces
it: its role and its name, separated by a tab, read through the accessibility bus.

    accessible_focus.py <pid>

Prints nothing when no showing window of the program holds the focus.
"""
import sys

import pyatspi

from accessible_screen import process_id


# A view marks its current item focused whether or not the view itself has the focus.
ITEMS = {"list item", "table cell", "tree item"}


def focused(node):
    """The first focused object under `node`, a view before its items."""
    if node is None:
        return None
    state = node.getState()
    if not state.contains(pyatspi.STATE_SHOWING):
        return None
    if state.contains(pyatspi.STATE_FOCUSED) and node.getRoleName() not in ITEMS:
        return node
    for i in range(node.childCount):
        found = focused(node.getChildAtIndex(i))
        if found is not None:
            return found
    return None


def main():
    pid = int(sys.argv[1])
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or process_id(app) != pid:
            continue
        for window in app:
            node = focused(window)
            if node is not None and node is not window:
                print(f"{node.getRoleName()}\t{node.name}")
                return 0
    return 0


if __name__ == "__main__":
    sys.exit(main())
