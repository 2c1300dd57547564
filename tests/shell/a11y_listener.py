#!/usr/bin/python3
"""What a screen reader finds and hears of the running Velmora, through the accessibility bus.

Finds the application named Velmora on the bus, walks its tree and checks that every button,
check box and readout row is there under its caption (the readout rows as two cells: the key,
and the key with its value), then presses buttons through their "Press" action, as assistive
technology does, and checks that each step is heard: a change of the accessible name of the
value cell of "Индукция B (Тл)" carrying the new reading. Prints what it heard; exits 1 with
the reason when something is missing or not heard.

Runs with the system's python3, which has Debian's pyatspi; needs the bus of the session the
program runs in.
"""

import sys
import time

import pyatspi
from gi.repository import GLib

BUTTONS = [
    "Начать/Сброс", "Сдвиг", "Поворот +", "Поворот -", "Шаг по X", "Шаг по Y", "В начало",
    "Записать", "Стереть", "Копировать рисунок", "Информация", "Параметры установки",
]
CHECK_BOXES = ["Фиксировать угол", "Рассчитывать циркуляцию", "Записывать протокол"]
# The readout rows and the values they show after the start-up Reset.
ROWS = [
    ("Угол поврота (град)", "5"),
    ("Шаг (см)", "1"),
    ("Текущая координата x (см)", "-----"),
    ("Текущая координата y (см)", "-----"),
    ("Начальная координата x (см)", "0"),
    ("Начальная координата y (см)", "0"),
    ("Угол датчика (град)", "-----"),
    ("Индукция B (Тл)", "-----"),
    ("Циркуляция (А)", "-----"),
]
INDUCTION = "Индукция B (Тл)"
# Buttons pressed one after another, and the reading of the induction heard after each.
STEPS = [
    ("Сдвиг", "0.0000E+0000"),
    ("Поворот +", "8.4625E-0006"),
    ("Сдвиг", "8.7321E-0006"),
]


def fail(reason):
    print("FAIL: " + reason, file=sys.stderr)
    sys.exit(1)


def pump_until(done, seconds):
    """Dispatches the bus's events until done() holds or the time is up; returns done()."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while not done() and time.monotonic() < deadline:
        if not context.iteration(False):
            time.sleep(0.02)
    return done()


def find_application(seconds):
    found = []

    def look():
        desktop = pyatspi.Registry.getDesktop(0)
        found[:] = [app for app in desktop if app is not None and app.name == "Velmora"]
        return bool(found)

    if not pump_until(look, seconds):
        fail("no application named Velmora on the accessibility bus")
    return found[0]


def walk(node, into):
    """Adds (role name, name, node) of node and everything below it to the list into."""
    into.append((node.getRoleName(), node.name, node))
    for child in node:
        if child is not None:
            walk(child, into)


def the_one(nodes, role, name):
    matches = [node for (r, n, node) in nodes if r == role and n == name]
    if len(matches) != 1:
        fail(f"{len(matches)} objects with the role {role} named {name!r}, not one")
    return matches[0]


def main():
    heard = []

    def on_name_change(event):
        # A screen reader reads the object at once: its name is the new text. (The event's
        # own data holds the name too where the toolkit sends it, or else the object.)
        heard.append((event.source.getRoleName(), event.source.name, event.any_data))

    app = find_application(60)
    # Listening once the program is on the bus, and before the walk, gives the program time to
    # learn that someone listens before the first button is pressed.
    pyatspi.Registry.registerEventListener(on_name_change,
                                           "object:property-change:accessible-name")
    nodes = []
    walk(app, nodes)
    print(f"walked {len(nodes)} objects")

    for name in BUTTONS:
        the_one(nodes, "push button", name)
    for name in CHECK_BOXES:
        the_one(nodes, "check box", name)
    table = the_one(nodes, "table", "Показания")
    cells = []
    walk(table, cells)
    for key, value in ROWS:
        the_one(cells, "table cell", key)
        the_one(cells, "table cell", f"{key}: {value}")
    print(f"found {len(BUTTONS)} buttons, {len(CHECK_BOXES)} check boxes, {len(ROWS)} rows")

    for name, reading in STEPS:
        del heard[:]
        action = the_one(nodes, "push button", name).queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            fail(f"{name!r} has no Press action, only {names}")
        action.doAction(names.index("Press"))
        expected = f"{INDUCTION}: {reading}"
        pump_until(lambda: any(text.startswith(INDUCTION + ": ") for (_, text, _) in heard), 10)
        # A moment more, so that a second announcement of the same change would be heard too.
        pump_until(lambda: False, 0.3)
        induction = [(role, text, data) for (role, text, data) in heard
                     if text.startswith(INDUCTION + ": ")]
        everything = "; ".join(f"{role} {text!r}" for (role, text, _) in heard) or "nothing"
        if len(induction) != 1:
            fail(f"after {name}: heard {everything}, not one change of the induction")
        role, text, data = induction[0]
        if role != "table cell" or text != expected:
            fail(f"after {name}: heard {role} {text!r}, not {expected!r}")
        if isinstance(data, str) and data != expected:
            fail(f"after {name}: the event carries {data!r}, not {expected!r}")
        print(f"after {name}: heard object:property-change:accessible-name of the table cell "
              f"{text!r} (all: {everything})")


if __name__ == "__main__":
    main()
