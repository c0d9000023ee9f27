#!/usr/bin/python3
"""Reads and drives the running zev as a screen reader would, through AT-SPI.

Usage: atspi_client.py SAVED-FILE CLICK-COMMAND...
CLICK-COMMAND is run once to make a real left release over the row of "erő".
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

TRAITS = [
    "erő", "ügyesség", "állóképesség", "karizma", "manipuláció", "megjelenés", "észlelés",
    "intelligencia", "érzék", "Éberség", "Atlétika", "Ökölharc", "Kitérés", "Empátia",
    "Szerencsejáték", "Megfélemlítés", "Irányítás", "Lopás", "Rászedés", "Állatszelidítés",
    "Nyomozás", "Vezetés", "Hajítás", "Íjászat", "Közelharc", "Szereplés", "Bizt.rendsz",
    "Lopózás", "Túlélés", "Academics", "Computer", "Pénzügy", "Javítás", "Jog", "Nyelvek",
    "Orvostudomány", "Építés", "Földművelés", "Term.tudományok",
]
GROUPS = [(0, 3), (3, 3), (6, 3), (9, 10), (19, 10), (29, 10)]
events = []


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def pump(seconds):
    """Lets AT-SPI events arrive for the given time."""
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        context.iteration(False)
        time.sleep(0.005)


def find_application():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "zev":
                return app
        pump(0.1)  # the desktop's list of applications is updated by events
    fail("no application 'zev' on the accessibility bus")


def check_tree(app):
    # Roles are compared by number: at-spi2-core renamed some of them ("push button" became
    # "button" in 2.56), and the number is what a screen reader goes by.
    frame = app[0]
    if (frame.getRole(), frame.name) != (pyatspi.ROLE_FRAME, "ZEV"):
        fail(f"top level is {frame.getRoleName()} '{frame.name}', not frame 'ZEV'")
    sheet, name_box, button = frame[0], frame[1], frame[2]
    if (name_box.getRole(), name_box.name) != (pyatspi.ROLE_TEXT, "Karakter neve"):
        fail(f"name box is {name_box.getRoleName()} '{name_box.name}'")
    if (button.getRole(), button.name) != (pyatspi.ROLE_PUSH_BUTTON, "Mentés"):
        fail(f"button is {button.getRoleName()} '{button.name}'")
    expected = []
    for first, count in GROUPS:
        expected += [(pyatspi.ROLE_SLIDER, TRAITS[i]) for i in range(first, first + count)]
        expected.append((pyatspi.ROLE_LABEL,
                         f"{TRAITS[first]} – {TRAITS[first + count - 1]} összesen: 0"))
    expected.append((pyatspi.ROLE_NOTIFICATION, ""))  # says what the last change was
    seen = [(child.getRole(), child.name) for child in sheet]
    if seen != expected:
        fail(f"the sheet's items are {seen}")
    traits = {child.name: child for child in sheet if child.getRole() == pyatspi.ROLE_SLIDER}
    for index, name in enumerate(TRAITS):
        value = traits[name].queryValue()
        floor = 1 if index < 9 else 0
        if (value.currentValue, value.minimumValue, value.maximumValue) != (floor, floor, 5):
            fail(f"{name}: value {value.currentValue} in {value.minimumValue}..{value.maximumValue}")
    print(f"tree: frame 'ZEV' with {len(seen)} sheet items, the name box and the button")
    return traits, button


def act(item, name):
    action = item.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if names != ["Increase", "Decrease"]:
        fail(f"{item.name} offers {names}")
    action.doAction(names.index(name))
    pump(0.3)


def expect_events(expected, what):
    pump(0.3)
    if events != expected:
        fail(f"after {what}: events {events}, expected {expected}")
    events.clear()


def main():
    saved_file, click = sys.argv[1], sys.argv[2:]
    app = find_application()
    traits, button = check_tree(app)
    listen = lambda event: events.append((event.type, event.source.name))
    pyatspi.Registry.registerEventListener(listen, "object:property-change:accessible-value",
                                           "object:property-change:accessible-name")
    value_changed = "object:property-change:accessible-value"
    name_changed = "object:property-change:accessible-name"

    subprocess.run(click, check=True)
    deadline = time.monotonic() + 5
    while not events and time.monotonic() < deadline:
        pump(0.1)
    expect_events([(value_changed, "erő"), (name_changed, "erő – állóképesség összesen: 1")],
                  "a left release over erő")
    if traits["erő"].queryValue().currentValue != 2:
        fail("erő is not 2 after the release")

    act(traits["Nyomozás"], "Increase")
    act(traits["Nyomozás"], "Increase")
    act(traits["Nyomozás"], "Decrease")
    skills1 = "Állatszelidítés – Túlélés összesen: "
    expect_events([(value_changed, "Nyomozás"), (name_changed, skills1 + "1"),
                   (value_changed, "Nyomozás"), (name_changed, skills1 + "2"),
                   (value_changed, "Nyomozás"), (name_changed, skills1 + "1")],
                  "increase, increase, decrease on Nyomozás")
    act(traits["ügyesség"], "Decrease")  # at its floor: nothing changes, nothing is said
    act(traits["érzék"], "Increase")
    for _ in range(5):
        act(traits["Term.tudományok"], "Increase")
    act(traits["Term.tudományok"], "Increase")  # at 5: capped, nothing changes
    expected = [(value_changed, "érzék"), (name_changed, "észlelés – érzék összesen: 1")]
    for total in range(1, 6):
        expected += [(value_changed, "Term.tudományok"),
                     (name_changed, f"Academics – Term.tudományok összesen: {total}")]
    expect_events(expected, "floors and the cap")
    traits["Jog"].queryValue().currentValue = 9  # one release a step, stopping at 5
    pump(0.3)
    steps = [source for kind, source in events if kind == value_changed]
    if steps != ["Jog"] * 5 or traits["Jog"].queryValue().currentValue != 5:
        fail(f"after setting Jog to 9: events {events}")
    events.clear()
    values = {name: traits[name].queryValue().currentValue for name in traits}
    print("values after the actions: " + ", ".join(
        f"{name} {int(value)}" for name, value in values.items() if value > (name in TRAITS[:9])))

    button.queryAction().doAction(0)
    lines = [" 1 \r\n"] * 9 + [" 0 \r\n"] * 30
    lines[0], lines[8], lines[20], lines[38] = " 2 \r\n", " 2 \r\n", " 1 \r\n", " 5 \r\n"
    lines[33] = " 5 \r\n"
    expected = "".join(lines).encode()
    for _ in range(50):
        try:
            with open(saved_file, "rb") as saved:
                if saved.read() == expected:
                    print("PASS: the saved file holds the sheet edited through AT-SPI")
                    return
        except FileNotFoundError:
            pass
        time.sleep(0.1)
    fail(f"{saved_file} does not hold the edited sheet")


main()
