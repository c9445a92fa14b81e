#!/usr/bin/python3
"""Walks the running Katarix as a clerk would and photographs each state the guide shows.

Started by scripts/screenshots.sh inside a D-Bus session, on an Xvfb display with openbox. It
starts the program, finds windows by their titles and controls by role and name in Qt's
accessibility tree (AT-SPI), presses keys and clicks with xdotool, and writes PNG pictures of
the windows (cropped to the window, or to a window with its tool windows). The documents the
program writes are turned into pictures of their first page with LibreOffice.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

TIMEOUT = 60.0


class WalkError(Exception):
    pass


def log(text):
    print(f"[zrzuty] {text}", flush=True)


def run(*args, check=True, capture=False):
    result = subprocess.run(args, check=check, text=True,
                            stdout=subprocess.PIPE if capture else None)
    return result.stdout if capture else None


# ---- the accessibility tree --------------------------------------------------------------------

def application(timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        desktop = Atspi.get_desktop(0)
        for i in range(desktop.get_child_count()):
            child = desktop.get_child_at_index(i)
            if child is not None and child.get_name() == "Katarix":
                return child
        time.sleep(0.2)
    raise WalkError("program nie pojawił się w drzewie dostępności")


def role(acc):
    try:
        return acc.get_role_name()
    except Exception:
        return ""


def name(acc):
    """The accessible name, without the "&" that marks a menu's or button's mnemonic."""
    try:
        text = acc.get_name() or ""
    except Exception:
        return ""
    return re.sub(r"&(.)", r"\1", text)


def extents(acc):
    r = acc.get_extents(Atspi.CoordType.SCREEN)
    return (r.x, r.y, r.width, r.height)


def showing(acc):
    try:
        states = acc.get_state_set()
        return states.contains(Atspi.StateType.SHOWING) and states.contains(Atspi.StateType.VISIBLE)
    except Exception:
        return False


# Big lists are not walked unless what is sought lives in them.
LIST_ROLES = {"table", "list", "tree table", "tree"}
ITEM_ROLES = {"table cell", "list item", "table row header", "table column header", "tree item"}


def matches(acc, roles, pattern):
    if roles and role(acc) not in roles:
        return False
    if pattern is None:
        return True
    text = name(acc)
    return re.fullmatch(pattern, text) is not None


def walk(acc, roles, pattern, results, limit, only_showing, depth=0):
    if acc is None or len(results) >= limit or depth > 40:
        return
    try:
        count = acc.get_child_count()
    except Exception:
        return
    for i in range(count):
        child = acc.get_child_at_index(i)
        if child is None:
            continue
        if only_showing and not showing(child) and role(child) not in ("filler", "panel"):
            continue
        if matches(child, roles, pattern):
            results.append(child)
            if len(results) >= limit:
                return
        if role(child) in LIST_ROLES and not (roles & ITEM_ROLES):
            continue
        walk(child, roles, pattern, results, limit, only_showing, depth + 1)


def find_all(roles, pattern=None, within=None, only_showing=True, limit=10000):
    roles = set([roles] if isinstance(roles, str) else roles or [])
    results = []
    walk(within or application(), roles, pattern, results, limit, only_showing)
    return results


def find(roles, pattern=None, within=None, timeout=TIMEOUT, index=0, only_showing=True):
    end = time.time() + timeout
    while True:
        found = find_all(roles, pattern, within, only_showing, limit=index + 1)
        if len(found) > index:
            return found[index]
        if time.time() >= end:
            raise WalkError(f"nie znaleziono: {roles} {pattern!r}")
        time.sleep(0.3)


def frame(title, timeout=TIMEOUT):
    """A window (top-level or a window inside the main window) by its exact title."""
    return find("frame", re.escape(title), timeout=timeout, only_showing=False)


def close_inner_window(window, title):
    """Closes a window of the main window's MDI area with the close box at the right end of its
    title bar, so that the next window opens in the free space."""
    x, y, w, h = extents(window)
    run("xdotool", "mousemove", "--sync", str(x + w - 14), str(y + 12), "click", "1")
    try:
        wait_for(lambda: not find_all("frame", re.escape(title), only_showing=False, limit=1),
                 f"zamknięcie {title}", timeout=10)
    except WalkError:
        log(f"okno {title} zostało otwarte")


def dialog(title, timeout=TIMEOUT):
    return find({"dialog", "frame"}, re.escape(title), timeout=timeout)


def beside(label_text, roles, within):
    """The control to the right of a label, on the label's row."""
    label = find("label", re.escape(label_text), within=within)
    lx, ly, lw, lh = extents(label)
    middle = ly + lh / 2
    best = None
    for control in find_all(roles, within=within):
        x, y, w, h = extents(control)
        if x >= lx + lw - 2 and y <= middle <= y + h:
            if best is None or x < extents(best)[0]:
                best = control
    if best is None:
        raise WalkError(f"brak pola obok etykiety {label_text!r}")
    return best


# ---- keys, clicks and pictures -----------------------------------------------------------------

def settle(seconds=0.6):
    time.sleep(seconds)


def key(*keys):
    run("xdotool", "key", "--clearmodifiers", *keys)
    settle(0.4)


def type_text(text):
    run("xdotool", "type", "--delay", "40", text)
    settle(0.3)


def click(acc, button=1, double=False, modifier=None):
    x, y, w, h = extents(acc)
    cx, cy = x + w // 2, y + h // 2
    run("xdotool", "mousemove", "--sync", str(cx), str(cy))
    settle(0.2)
    if modifier:
        run("xdotool", "keydown", modifier)
    run("xdotool", "click", *(["--repeat", "2", "--delay", "80"] if double else []), str(button))
    if modifier:
        run("xdotool", "keyup", modifier)
    settle()


def mouse_aside():
    """Out of the way of tooltips and hover highlights: the bottom-right corner."""
    width, height = screen_size()
    run("xdotool", "mousemove", "--sync", str(width - 1), str(height // 2))
    settle(0.8)


def screen_size():
    out = run("xdotool", "getdisplaygeometry", capture=True).split()
    return int(out[0]), int(out[1])


def x_windows(pattern):
    """Visible top-level windows whose title matches the regular expression, oldest first."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                          text=True, stdout=subprocess.PIPE).stdout.split()


def x_window_matching(pattern, timeout=TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        ids = x_windows(pattern)
        if ids:
            return ids[-1]
        time.sleep(0.2)
    raise WalkError(f"nie pojawiło się okno {pattern!r}")


def x_window(title, timeout=TIMEOUT):
    return x_window_matching(f"^{re.escape(title)}$", timeout)


def frame_extents(window_id):
    """The window manager's frame around a top-level window: left, right, top, bottom."""
    out = subprocess.run(["xprop", "-id", window_id, "_NET_FRAME_EXTENTS"], text=True,
                         stdout=subprocess.PIPE).stdout
    numbers = [int(n) for n in re.findall(r"\d+", out.split("=", 1)[-1])] if "=" in out else []
    return numbers if len(numbers) == 4 else [0, 0, 0, 0]


def window_rect(title):
    """A top-level window with its frame, by title."""
    wid = x_window(title)
    info = run("xwininfo", "-id", wid, capture=True)

    def value(label):
        return int(re.search(rf"{label}:\s+(-?\d+)", info).group(1))

    x, y = value("Absolute upper-left X"), value("Absolute upper-left Y")
    w, h = value("Width"), value("Height")
    left, right, top, bottom = frame_extents(wid)
    return (x - left, y - top, w + left + right, h + top + bottom)


def union(rects):
    x0 = min(r[0] for r in rects)
    y0 = min(r[1] for r in rects)
    x1 = max(r[0] + r[2] for r in rects)
    y1 = max(r[1] + r[3] for r in rects)
    return (x0, y0, x1 - x0, y1 - y0)


class Camera:
    def __init__(self, out):
        self.out = out
        self.taken = []

    def shot(self, picture, rects, margin=0):
        mouse_aside()
        width, height = screen_size()
        x, y, w, h = union(rects)
        x, y = max(0, x - margin), max(0, y - margin)
        w, h = min(width - x, w + 2 * margin), min(height - y, h + 2 * margin)
        path = os.path.join(self.out, picture)
        run("import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path)
        self.taken.append(picture)
        log(f"{picture}: {w}x{h}")


# ---- the walk ----------------------------------------------------------------------------------

class Walk:
    def __init__(self, args):
        self.args = args
        self.camera = Camera(args.out)
        self.tmp = os.path.join(args.tree, "Tmp")
        self.documents = []

    def start(self):
        log("start programu")
        self.program = subprocess.Popen([self.args.program])
        self.main_id = x_window_matching("^Przeglądarka danych Katarix")
        self.main = find("frame", r"Przeglądarka danych Katarix.*")
        self.main_title = name(self.main)
        settle(1.5)

    def main_rect(self):
        return window_rect(self.main_title)

    def menu(self, title):
        """Opens a menu of the main window's menu bar."""
        bar = find("menu bar", within=self.main)
        click(find("menu item", re.escape(title), within=bar))

    def menu_item(self, title, item):
        self.menu(title)
        click(find("menu item", re.escape(item)))

    def picture_main_window(self):
        self.menu("Dane")
        find("menu item", "Rejestr lokali")
        # The top left of the main window: title, menu with "Dane" open, toolbar.
        x, y, w, h = self.main_rect()
        self.camera.shot("okno-glowne.png", [(x, y, min(w, 560), min(h, 260))])
        key("Escape")

    def settings(self):
        click(find("push button", "Ustawienia", within=self.main))
        window = dialog("Ustawienia")
        settle()
        self.camera.shot("ustawienia.png", [window_rect("Ustawienia")])
        # The documents are photographed, not opened: the editor becomes a program that ends at once.
        editor = sorted(find_all("text", within=window), key=lambda t: extents(t)[1])[0]
        click(editor)
        key("ctrl+a")
        type_text("/bin/true")
        click(find("push button", "OK", within=window))
        settle()

    def document(self, picture):
        """The document the last report wrote, kept for its picture."""
        end = time.time() + TIMEOUT
        while time.time() < end:
            names = sorted(f for f in os.listdir(self.tmp) if f.lower().endswith(".rtf"))
            if names:
                break
            time.sleep(0.3)
        else:
            raise WalkError("raport nie zapisał dokumentu")
        settle(1.0)
        source = os.path.join(self.tmp, names[0])
        target = os.path.join(self.args.work, "dokumenty", picture.replace(".png", ".rtf"))
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.move(source, target)
        self.documents.append((target, picture))

    def land_register(self):
        key("F7")
        window = frame("Rejestr gruntów")
        settle(1.5)
        # The fifth registration unit of the first precinct: several parcels and buildings, a
        # commune as owner and a married couple as perpetual usufructuary.
        combos = find_all("combo box", within=window)
        unit = sorted(combos, key=lambda c: extents(c)[1])[2]
        click(unit)
        type_text("5")
        key("Return")
        wait_for(lambda: name(unit) == "5", "jednostka rejestrowa 5")
        settle()
        # The parcel 4, made by a change with a case: the change window has something to show.
        parcels = table_with_column(window, "Pow [ha]")
        row = find("table row header", "2", within=parcels)
        click(row)
        self.camera.shot("rejestr-gruntow.png", [extents(window)])

        tools = [("Klasy i użytki", "Klasy i użytki"), ("Budynki", "Budynki na działce.*"),
                 ("Lokale", "Lokale w budynku.*"), ("Komentarze", "Komentarz.*"), ("Zmiany", "Zmiany.*")]
        for button, title in tools:
            click(find("check box", re.escape(button), within=window))
            window_rect_pattern(title)
        settle(1.0)
        rects = [extents(window)] + [window_rect_pattern(title) for _, title in tools]
        self.camera.shot("rejestr-gruntow-narzedzia.png", rects)
        self.camera.shot("zmiany.png", [window_rect_pattern("Zmiany.*")])
        for _, title in tools:
            close_window(title)

        # Nothing selected: the extract of the whole unit.
        click(row, modifier="ctrl")
        click(find("push button", "Raport dla jednostki rejestrowej", within=window))
        self.document("dokument-wypis.png")
        click(find("table row header", "1", within=parcels))
        click(find("table row header", "3", within=parcels), modifier="shift")
        click(find("push button", "Raport uproszczony", within=window))
        self.document("dokument-wypis-uproszczony.png")
        close_inner_window(window, "Rejestr gruntów")
        return window

    def premises_register(self):
        key("F8")
        window = frame("Rejestr lokali")
        settle(1.5)
        self.camera.shot("rejestr-lokali.png", [extents(window)])
        close_inner_window(window, "Rejestr lokali")

    def search(self, title, picture, fill):
        """A search dialog: its criteria filled, photographed, run with Enter and closed with Esc."""
        window = dialog(title)
        settle()
        fill(window)
        self.camera.shot(picture, [window_rect(title)])
        key("Return")
        settle(1.5)
        key("Escape")
        settle()

    def parcel_file(self):
        key("F5")
        window = frame("Kartoteka działek")
        settle()
        key("KP_Add")

        def criteria(search):
            click(beside("Obręb ewidencyjny:", {"combo box"}, search))
            type_text("Adamów")
            key("Return")
            click(beside("Pow. (od - do):", {"text"}, search))
            type_text("0,2")

        self.search("Selekcja działek", "selekcja-dzialek.png", criteria)
        rows = list_rows(window)
        if len(rows) < 4:
            raise WalkError(f"selekcja znalazła {len(rows)} działek zamiast 6")
        click(rows[0])
        click(rows[2], modifier="ctrl")
        click(rows[3], modifier="ctrl")
        self.camera.shot("kartoteka-dzialek.png", [extents(window)])
        close_inner_window(window, "Kartoteka działek")

    def person_file(self):
        key("F6")
        window = frame("Kartoteka osób")
        settle()
        click(find("push button", "Dodaj osobę", within=window, index=0))

        def surname(search):
            click(beside("Nazwisko:", {"combo box"}, search))
            type_text("BĄK")
            key("Return")

        self.search("Selekcja osób fizycznych", "selekcja-osob-fizycznych.png", surname)
        click(find("push button", "Dodaj osobę", within=window, index=1))

        def name_pattern(search):
            click(beside("Nazwa:", {"text", "combo box"}, search))
            type_text("%GMINA%")

        self.search("Selekcja osób prawnych", "selekcja-osob-prawnych.png", name_pattern)

        rows = list_rows(window)
        if len(rows) < 3:
            raise WalkError(f"selekcje znalazły {len(rows)} osób")
        # The commune, found by the legal-person search: units in both registers.
        click(rows[-1])
        self.camera.shot("kartoteka-osob.png", [extents(window)])

        click(find("push button", "Jednostki rejestrowe", within=window))
        dialog("Ustawienia wyszukiwania")
        settle()
        self.camera.shot("ustawienia-wyszukiwania.png", [window_rect("Ustawienia wyszukiwania")])
        key("Return")
        x_window("Podsumowanie władania")
        settle(1.0)
        self.camera.shot("podsumowanie-wladania.png", [window_rect("Podsumowanie władania")])
        close_window("Podsumowanie władania")

        click(rows[-1])
        click(find("push button", "Zestawienie gruntów", within=window))
        self.document("dokument-zestawienie-gruntow.png")
        close_inner_window(window, "Kartoteka osób")

    def holders_list(self):
        self.menu_item("Raporty", "Alfabetyczny spis władających")
        window = dialog("Alfabetyczny spis władających")
        settle()
        items = find_all({"check box", "list item"}, within=window)
        precincts = [i for i in items if name(i) == "Adamów"]
        if not precincts:
            raise WalkError("brak obrębu Adamów na liście")
        click(precincts[0])
        key("space")
        self.camera.shot("spis-wladajacych.png", [window_rect("Alfabetyczny spis władających")])
        click(find("push button", "Wykonaj", within=window))
        self.document("dokument-spis-wladajacych.png")
        click(find("push button", "Zamknij", within=window))

    def guide(self):
        key("F1")
        x_window("Podręcznik użytkownika")
        settle(1.5)
        self.camera.shot("podrecznik.png", [window_rect("Podręcznik użytkownika")])
        key("alt+F4")

    def finish(self):
        self.main.get_application()  # still alive
        run("xdotool", "windowactivate", "--sync", self.main_id, check=False)
        key("alt+F4")
        try:
            self.program.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.program.kill()

    def render_documents(self):
        """The first page of each document, as LibreOffice prints it."""
        if not self.documents:
            return
        folder = os.path.join(self.args.work, "dokumenty")
        profile = "file://" + os.path.join(self.args.work, "libreoffice")
        run("soffice", f"-env:UserInstallation={profile}", "--headless", "--convert-to", "pdf",
            "--outdir", folder, *[d for d, _ in self.documents])
        for document, picture in self.documents:
            stem = os.path.splitext(document)[0]
            run("pdftoppm", "-png", "-r", "96", "-f", "1", "-l", "1", "-singlefile", stem + ".pdf", stem)
            # The top of the first page: the heading and the first entries.
            run("convert", stem + ".png", "-gravity", "North", "-crop", "100%x55%+0+0", "+repage",
                "-bordercolor", "#b0b0b0", "-border", "1", os.path.join(self.camera.out, picture))
            self.camera.taken.append(picture)
            log(f"{picture}: pierwsza strona dokumentu")


def table_with_column(within, header):
    for table in find_all("table", within=within):
        if find_all("table column header", re.escape(header), within=table, limit=1):
            return table
    raise WalkError(f"brak tabeli z kolumną {header!r}")


def list_rows(within):
    """The first cell of each row of the working list in a window, top to bottom."""
    cells = [c for c in find_all({"tree item", "list item", "table cell"}, within=within)
             if extents(c)[2] > 0 and extents(c)[3] > 0]
    if not cells:
        return []
    left = min(extents(c)[0] for c in cells)
    return sorted((c for c in cells if extents(c)[0] == left), key=lambda c: extents(c)[1])


def close_window(pattern):
    """Closes a top-level window through the window manager, as its close box does."""
    for wid in x_windows(f"^{pattern}$"):
        run("wmctrl", "-i", "-c", wid)
    settle()


def wait_for(condition, what, timeout=TIMEOUT):
    end = time.time() + timeout
    while not condition():
        if time.time() >= end:
            raise WalkError(f"nie doczekano się: {what}")
        time.sleep(0.2)


def window_rect_pattern(pattern):
    """A top-level window with its frame, by a regular expression for its whole title."""
    title = run("xdotool", "getwindowname", x_window_matching(f"^{pattern}$"), capture=True).strip()
    return window_rect(title)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--tree", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--only", default="")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    walk = Walk(args)
    steps = [walk.picture_main_window, walk.settings, walk.land_register, walk.premises_register,
             walk.parcel_file, walk.person_file, walk.holders_list, walk.guide]
    try:
        walk.start()
        for step in steps:
            if args.only and step.__name__ not in args.only.split(",") + ["settings"]:
                continue
            log(step.__name__)
            step()
        walk.finish()
    except WalkError as error:
        shot = os.path.join(args.work, "blad.png")
        subprocess.run(["import", "-window", "root", shot])
        log(f"BŁĄD: {error} (ekran: {shot})")
        walk.program.kill()
        return 1
    walk.render_documents()
    log(f"gotowe: {len(walk.camera.taken)} obrazów")
    return 0


if __name__ == "__main__":
    sys.exit(main())
