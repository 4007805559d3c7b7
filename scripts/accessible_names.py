#!/usr/bin/python3
"""Lists the controls of the running program that a screen reader finds without a name.

Run by scripts/check-accessible-names.sh, which starts the program on a virtual display
with a session bus and accessibility on. This walks the main window, then opens the
windows its menus lead to (through the menu items' own actions, as a screen reader
user would) and walks each of them too. Prints one line per unnamed control and exits
with 1 when there is any, 2 when the program never showed up on the bus.
"""

import sys
import time

import pyatspi

# The roles a user moves to and acts on; panels, fillers and labels carry no name of their own.
CONTROL_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON,
    pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_PASSWORD_TEXT,
    pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_LIST,
    pyatspi.ROLE_LIST_BOX,
    pyatspi.ROLE_TREE,
    pyatspi.ROLE_TREE_TABLE,
    pyatspi.ROLE_TABLE,
    pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_MENU,
    pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_CHECK_MENU_ITEM,
    pyatspi.ROLE_SLIDER,
}

# The menu items of the main window whose windows are walked too, by accessible name.
MENU_WINDOWS = ["オプション(O)", "バージョン情報"]


def find_application(name, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == name and app.childCount > 0:
                return app
        time.sleep(0.5)
    return None


def path_of(node):
    parts = []
    while node is not None and node.getRole() != pyatspi.ROLE_APPLICATION:
        parts.append(node.getRoleName())
        node = node.parent
    return "/".join(reversed(parts))


def unnamed(node, found):
    try:
        role = node.getRole()
        if role in CONTROL_ROLES and not (node.name or "").strip():
            found.append(f"{node.getRoleName()} at {path_of(node)}")
        for child in node:
            if child is not None:
                unnamed(child, found)
    except Exception as error:  # a window closing under the walk
        found.append(f"(walk stopped: {error})")


def windows(app):
    return [child for child in app if child is not None]


def find_named(node, name, roles):
    if node.getRole() in roles and (node.name or "") == name:
        return node
    for child in node:
        if child is not None:
            hit = find_named(child, name, roles)
            if hit is not None:
                return hit
    return None


def act(node):
    action = node.queryAction()
    try:
        action.doAction(0)
    except Exception:
        # A modal dialog answers only once it closes; the walk goes on meanwhile.
        pass


def wait_for_new_window(app, known, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        fresh = [w for w in windows(app) if w.name not in known]
        if fresh:
            return fresh[0]
        time.sleep(0.3)
    return None


def main():
    app_name = sys.argv[1] if len(sys.argv) > 1 else "yentax"
    app = find_application(app_name)
    if app is None:
        print(f"{app_name} did not appear on the accessibility bus")
        return 2
    report = []
    main_windows = windows(app)
    for window in main_windows:
        found = []
        unnamed(window, found)
        report.append((window.name, found))
    for item_name in MENU_WINDOWS:
        item = find_named(main_windows[0], item_name, {pyatspi.ROLE_MENU_ITEM})
        if item is None:
            report.append((item_name, ["(no such menu item)"]))
            continue
        known = {w.name for w in windows(app)}
        act(item)
        window = wait_for_new_window(app, known)
        if window is None:
            report.append((item_name, ["(no window opened)"]))
            continue
        time.sleep(1)
        found = []
        unnamed(window, found)
        report.append((window.name, found))
        # Esc is Cancel in every dialog.
        pyatspi.Registry.generateKeyboardEvent(9, None, pyatspi.KEY_PRESSRELEASE)
        time.sleep(1)
    failures = 0
    for title, found in report:
        print(f"{title}: {len(found)} without a name")
        for line in found:
            print(f"  {line}")
        failures += len(found)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
