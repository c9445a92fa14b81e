#!/usr/bin/env python3
"""Drives the installed Katarix as a clerk would, on the virtual screen of DISPLAY.

Starts `katarix REGISTER`, waits for the main window, presses F7, clicks "Raport dla jednostki
rejestrowej" in the land register window, waits for the extract in the documents folder, checks
that it names the register's first unit (the one the window opens at), and ends the program
through "System" > "Zakończ". Windows and buttons are found by their names: the main window
with xdotool, the controls inside it through the accessibility tree (AT-SPI). Keys and clicks go
through xdotool. On failure it prints what it waited for, saves a screenshot and exits 1.

Run by scripts/check-package.sh as the test user, inside xvfb-run and dbus-run-session.
"""

import argparse
import csv
import glob
import io
import os
import re
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

MAIN_WINDOW = "Przegl.*danych Katarix"
REPORT_BUTTON = "Raport dla jednostki rejestrowej"


class DriveError(Exception):
    pass


def wait_for(what, probe, timeout, interval=0.5):
    deadline = time.monotonic() + timeout
    while True:
        found = probe()
        if found:
            return found
        if time.monotonic() > deadline:
            raise DriveError(f"nie doczekano się ({timeout} s): {what}")
        time.sleep(interval)


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=30)


def main_window():
    ids = xdotool("search", "--onlyvisible", "--name", MAIN_WINDOW).stdout.split()
    return ids[0] if ids else None


def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and (app.get_name() or "").lower() == "katarix":
            return app
    return None


# Item views can hold thousands of cells: their contents are never searched.
SKIPPED = {Atspi.Role.TABLE, Atspi.Role.TREE_TABLE, Atspi.Role.TREE, Atspi.Role.LIST, Atspi.Role.TABLE_CELL}


def find(node, name, roles, depth=0):
    """The first showing control named `name` with one of `roles` under node."""
    try:
        role = node.get_role()
        if node.get_name() == name and role in roles:
            if node.get_state_set().contains(Atspi.StateType.SHOWING):
                return node
        if role in SKIPPED or depth > 50:
            return None
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None:
                found = find(child, name, roles, depth + 1)
                if found is not None:
                    return found
    except GLib.Error:
        return None  # a control that went away while it was looked at
    return None


def control(name, roles):
    app = application()
    return find(app, name, roles) if app is not None else None


def click(node):
    box = node.get_extents(Atspi.CoordType.SCREEN)
    x, y = box.x + box.width // 2, box.y + box.height // 2
    xdotool("mousemove", "--sync", str(x), str(y))
    xdotool("click", "1")


CONTROL = re.compile(r"\\'([0-9a-fA-F]{2})|\\u(-?\d+) ?|\\([a-z]+)(-?\d+)? ?|\\(.)", re.S)
FALLBACK = re.compile(r"\\'[0-9a-fA-F]{2}|[^\\{}]")


def rtf_text(rtf):
    """Plain text of an RTF document: \\'hh in Windows-1250, \\uN, control words dropped."""
    out = []
    skip_depth = None
    depth = 0
    i = 0
    while i < len(rtf):
        c = rtf[i]
        if c == "{":
            depth += 1
            if rtf.startswith("{\\*", i) and skip_depth is None:
                skip_depth = depth
            i += 1
        elif c == "}":
            if skip_depth == depth:
                skip_depth = None
            depth -= 1
            i += 1
        elif c == "\\":
            m = CONTROL.match(rtf, i)
            i = m.end()
            if m.group(2):
                # \uN is followed by one fallback character for readers without Unicode.
                fallback = FALLBACK.match(rtf, i)
                i = fallback.end() if fallback else i
            if skip_depth is not None:
                continue
            if m.group(1):
                out.append(bytes([int(m.group(1), 16)]).decode("cp1250", "replace"))
            elif m.group(2):
                out.append(chr(int(m.group(2)) % 65536))
            elif m.group(3) in ("par", "line", "cell", "row", "tab"):
                out.append("\n")
            elif m.group(5):
                out.append(m.group(5) if m.group(5) in "\\{}" else " ")
        else:
            if skip_depth is None and c not in "\r\n":
                out.append(c)
            i += 1
    return "".join(out)


def sql(register, query):
    done = subprocess.run(["katarix-sql", register, query], capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        raise DriveError(f"katarix-sql: {done.stderr.strip()}")
    return list(csv.reader(io.StringIO(done.stdout)))[1:]


def first_unit(register):
    """Precinct name and number of the unit the land register window opens at: the first
    commune and precinct by name, the first current unit by number."""
    communes = sql(register, "SELECT mslink, nazwa FROM gmina ORDER BY nazwa")
    precincts = sql(register, f"SELECT mslink, nazwa FROM obreb WHERE gmina_id = {communes[0][0]} ORDER BY nazwa")
    units = sql(register, "SELECT kol_obreb FROM rgrun WHERE IIf(IsNull(zmiana_kas_id), 0, zmiana_kas_id) = 0 "
                          f"AND obreb_id = {precincts[0][0]} ORDER BY kol_obreb")
    return precincts[0][1], units[0][0]


def drive(args, program):
    precinct, number = first_unit(args.register)
    print(f"Pierwsza jednostka rejestru: obręb {precinct}, nr {number}")

    window = wait_for("okno główne programu", main_window, args.timeout)
    wait_for("program w drzewie dostępności (AT-SPI)", application, args.timeout)
    # F7, again when no window came (a key pressed before the window took the focus is lost).
    button = None
    for attempt in range(3):
        xdotool("windowfocus", "--sync", window)
        xdotool("key", "F7")
        try:
            button = wait_for(f'przycisk "{REPORT_BUTTON}" okna rejestru gruntów po F7',
                              lambda: control(REPORT_BUTTON, {Atspi.Role.PUSH_BUTTON}), args.timeout / 3)
            break
        except DriveError:
            if attempt == 2 or program.poll() is not None:
                raise
    print('Okno rejestru gruntów otwarte; klikam "Raport dla jednostki rejestrowej"')
    before = set(glob.glob(os.path.join(args.documents, "Wynik*.rtf")))
    click(button)

    def new_extract():
        for path in sorted(set(glob.glob(os.path.join(args.documents, "Wynik*.rtf"))) - before):
            with open(path, "rb") as f:
                data = f.read()
            if data.rstrip().endswith(b"}"):
                return path
        return None

    extract = wait_for(f"wypis (Wynik*.rtf) w {args.documents}", new_extract, args.timeout)
    with open(extract, "rb") as f:
        text = rtf_text(f.read().decode("latin-1"))
    print(f"Wypis zapisany: {extract}")
    if not re.search(rf"Jednostka rejestrowa nr {re.escape(number)}(?!\d)[^\n]*obręb {re.escape(precinct)}\b", text):
        raise DriveError(f"wypis {extract} nie wymienia jednostki nr {number} w obrębie {precinct}:\n{text[:1500]}")
    print(f"Wypis wymienia jednostkę nr {number}, obręb {precinct}")

    menu = wait_for('menu "System"', lambda: control("System", {Atspi.Role.MENU_ITEM, Atspi.Role.MENU}), args.timeout)
    click(menu)
    close = wait_for('polecenie "Zakończ"', lambda: control("Zakończ", {Atspi.Role.MENU_ITEM}), args.timeout)
    click(close)
    wait_for("koniec programu po \"Zakończ\"", lambda: program.poll() is not None, args.timeout)
    if program.returncode != 0:
        raise DriveError(f"program zakończył się kodem {program.returncode}")
    print("Program zamknięty poleceniem Zakończ")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("register")
    parser.add_argument("--documents", required=True, help="the folder the extract is expected in")
    parser.add_argument("--screenshot", required=True, help="where to save the screen on failure")
    parser.add_argument("--timeout", type=float, default=90)
    args = parser.parse_args()

    program = subprocess.Popen(["katarix", args.register])
    try:
        drive(args, program)
    except (DriveError, OSError, subprocess.SubprocessError) as error:
        subprocess.run(["import", "-window", "root", args.screenshot], timeout=60)
        print(f"BŁĄD: {error}\nZrzut ekranu: {args.screenshot}", file=sys.stderr)
        return 1
    finally:
        if program.poll() is None:
            program.terminate()
            program.wait(timeout=30)
    return 0


if __name__ == "__main__":
    sys.exit(main())
