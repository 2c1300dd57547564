#!/usr/bin/env python3
"""Soak run of the real Velmora window: thousands of random actions through xdotool.

    run-soak VELMORA_BINARY OUTDIR [--actions N] [--seed S]

run-soak starts a private X server with openbox (tests/support/desktop-session.sh) and
runs this script in it with the same arguments. The script starts VELMORA_BINARY and
performs N random actions (20,000 by default): clicks on the bench's buttons and the side-window buttons, check-box
toggles, values valid and hostile typed into the readout table's value cells, text typed
into the protocol box, keystrokes, wheel notches and drags on the plot, copies of the
picture, and a megabyte pasted into the step cell. Error boxes that come up are answered
with Enter; side windows are moved beside the main window so they do not hide it, and now
and then closed.

Passes when the program never ends on its own, the window still answers at the end ("Записать"
after "Стереть" writes a visible entry into the protocol box), its resident memory at the end
is within 10 % of what it was after the first 1,000 actions, and the close question answered
with Enter ends it with status 0. Prints the figures; OUTDIR keeps a screenshot of the window
at the end, the resident memory after every batch (rss.csv) and the program's output.

Takes about half an hour (11 actions a second on a busy two-core machine), so ctest does not
run it; `cmake --build BUILD --target soak` does. Everything it starts is stopped when it
ends, whether it passes or fails.
"""

import argparse
import os
import random
import re
import signal
import string
import subprocess
import sys
import time

MAIN_TITLE = "Velmora - Исследование магнитного поля кругового тока"
ERROR_BOX_TITLE = "Velmora"
CONFIRM_TITLE = "Confirm"
SIDE_TITLES = ("Информация", "Описание установки")
SIDE_PLACES = {"Информация": (0, 0), "Описание установки": (0, 560)}

# Controls in the main window's client area: left, top, width, height.
BENCH_BUTTONS = {
    "Начать/Сброс": (8, 8, 81, 25),
    "Сдвиг": (720, 48, 73, 25),
    "Поворот -": (800, 8, 75, 25),
    "Поворот +": (720, 8, 75, 25),
    "Стереть": (896, 688, 75, 25),
    "Шаг по X": (800, 48, 73, 25),
    "Шаг по Y": (880, 48, 73, 25),
    "В начало": (720, 80, 73, 25),
    "Записать": (808, 688, 75, 25),
}
COPY_PICTURE = (8, 680, 137, 25)
SIDE_BUTTONS = {"Информация": (96, 8, 81, 25), "Параметры установки": (184, 8, 129, 25)}
CHECK_BOXES = [(720, 112, 129, 17), (720, 136, 169, 17), (720, 160, 137, 17)]
MEMO = (720, 400, 249, 281)
# The readout table at (720, 184) inside a 1-pixel frame: a title row and nine rows of 19
# pixels (18 and the grid line), names 155 wide.
TABLE_LEFT, TABLE_TOP, ROW_HEIGHT, NAME_WIDTH, VALUE_WIDTH = 720, 185, 19, 155, 88
STEP_ROW = 1
# Inside the plot's data area, clear of the buttons lying on the plot.
PLOT_AREA = (70, 60, 620, 600)

VALID_VALUES = ["1", "2", "5", "-5", "0", "-0", "0.5", "0,5", "2.5", "2,5", "90", "-90", "13",
                "-13", "1e-3", "7.5e1", "360", "0.25", " 4 ", "\t3", "45", "-0.7", "1E1"]
HOSTILE_VALUES = ["abc", "", "1e4932", "-1e4932", "1e4933", "1e-4999", "1,2.3", "1.000,5",
                  "--1", "1e", "INF", "NaN", "0x10", "1 000", "Шаг", "поворот", "ж" * 40,
                  "1e300", "-3e170", "1e20", "7e15", "\t", " ", "5,5.5", "1e5000", "+", ".",
                  "9" * 300, "0." + "0" * 200 + "1", "1\t2", "€¼½", "Ω≈ç√∫", "\\'\"%s%n"]
KEYS = ["Tab", "shift+Tab", "space", "Up", "Down", "Left", "Right", "Return", "Escape", "Home",
        "End", "BackSpace", "Delete", "ctrl+a", "ctrl+z", "Page_Down"]
MEGABYTE = 1 << 20
# Keysym names of the characters that have one of their own; any other character is sent as
# its Unicode keysym. (xdotool's "type" would end a chain of commands: nothing may follow it.)
# The Cyrillic letters are in the keyboard map's second group (setxkbmap us,ru): a character
# missing from the map makes xdotool change the map for it and back, and every client then
# reloads its keyboard map, which would slow the run down many times over.
KEYSYMS = {" ": "space", "\t": "Tab", ",": "comma", ".": "period", "+": "plus", "-": "minus",
           "\\": "backslash", "'": "apostrophe", "\"": "quotedbl", "%": "percent"}
CYRILLIC_NAMES = ("a be ve ghe de ie zhe ze i shorti ka el em en o pe er es te u ef ha tse che "
                  "sha shcha hardsign yeru softsign e yu ya").split()
for letter, name in zip("абвгдежзийклмнопрстуфхцчшщъыьэюя", CYRILLIC_NAMES):
    KEYSYMS[letter] = "Cyrillic_" + name
    KEYSYMS[letter.upper()] = "Cyrillic_" + name.upper()


def keystrokes(text):
    """xdotool's "key" command that types `text`, one keysym a character."""
    names = [c if c.isascii() and c.isalnum() else KEYSYMS.get(c, f"U{ord(c):04X}")
             for c in text]
    return ["key", "--delay", 1, *names] if names else []


class SoakFailure(Exception):
    """The program did something wrong."""


class HarnessFailure(Exception):
    """The harness itself could not go on: no word on the program."""


class Soak:
    def __init__(self, binary, out, actions, seed):
        self.opened_side_window = False
        self.binary = binary
        self.out = out
        self.actions = actions
        self.rng = random.Random(seed)
        self.processes = []
        self.velmora = None
        self.window = None
        self.done = 0
        self.boxes_answered = 0
        self.side_windows_closed = 0
        self.placed = set()
        self.batch_seconds = 0.0
        self.tidy_seconds = 0.0
        self.rss_log = open(os.path.join(out, "rss.csv"), "w")
        self.rss_log.write("actions,seconds,vmrss_kib\n")
        self.started = time.monotonic()

    # Processes and X -----------------------------------------------------------------------

    def start(self, args, **kwargs):
        process = subprocess.Popen(args, **kwargs)
        self.processes.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
        for process in reversed(self.processes):
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def xdotool(self, *args, check=True, timeout=120):
        result = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                                timeout=timeout)
        if check and result.returncode != 0:
            raise SoakFailure(f"xdotool {' '.join(map(str, args[:6]))} failed: {result.stderr}")
        return result.stdout

    def visible(self, title):
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                 "^" + re.escape(title) + "$"],
                                capture_output=True, text=True, timeout=30)
        return [int(w) for w in result.stdout.split()]

    def wait_for(self, condition, seconds, what):
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        raise SoakFailure(what)

    def prepare_keyboard(self):
        subprocess.run(["setxkbmap", "-layout", "us,ru"], check=True)

    def start_velmora(self):
        log = open(os.path.join(self.out, "velmora.log"), "w")
        self.velmora = self.start([self.binary], stdout=log, stderr=log,
                                  env=dict(os.environ, QT_QPA_PLATFORM="xcb"))
        windows = self.wait_for(lambda: self.visible(MAIN_TITLE), 60,
                                "the main window did not appear")
        self.window = windows[0]
        self.wait_for(lambda: "=" in subprocess.run(
            ["xprop", "-id", str(self.window), "_NET_FRAME_EXTENTS"], capture_output=True,
            text=True).stdout, 20, "openbox did not frame the main window")
        time.sleep(1)

    def alive(self):
        if self.velmora.poll() is not None:
            raise SoakFailure(f"Velmora ended on its own with status {self.velmora.returncode} "
                              f"after {self.done} actions")

    def rss_kib(self):
        with open(f"/proc/{self.velmora.pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
        raise SoakFailure("no VmRSS")

    # Actions ---------------------------------------------------------------------------------

    def point_in(self, rect):
        left, top, width, height = rect
        return (self.rng.randint(left + 3, left + width - 4),
                self.rng.randint(top + 3, top + height - 4))

    def click(self, rect, button=1, repeat=1):
        """A click (or a double click) at a random point of `rect`. xdotool waits its delay
        after every click, also the last: a double click needs one below the double-click
        interval, a single click none."""
        x, y = self.point_in(rect)
        return ["mousemove", "--window", self.window, x, y,
                "click", "--repeat", repeat, "--delay", 30 if repeat > 1 else 1, button]

    def value_cell(self, row):
        return (TABLE_LEFT + NAME_WIDTH, TABLE_TOP + ROW_HEIGHT * (row + 1), VALUE_WIDTH - 4,
                ROW_HEIGHT)

    def typed_value(self):
        kind = self.rng.random()
        if kind < 0.45:
            return self.rng.choice(VALID_VALUES)
        if kind < 0.95:
            return self.rng.choice(HOSTILE_VALUES)
        length = self.rng.randint(100, 600)
        alphabet = string.ascii_letters + string.digits + " .,+-eE\t" + "абвгдежзийклмн"
        return "".join(self.rng.choice(alphabet) for _ in range(length))

    def type_into_cell(self, row):
        commands = self.click(self.value_cell(row), repeat=self.rng.choice([1, 2]))
        commands += ["key", "ctrl+a"]
        return commands + keystrokes(self.typed_value()) + ["key", "Return"]

    def drag(self, button):
        x1, y1 = self.point_in(PLOT_AREA)
        x2, y2 = self.point_in(PLOT_AREA)
        return ["mousemove", "--window", self.window, x1, y1, "mousedown", button,
                "mousemove", "--window", self.window, (x1 + x2) // 2, (y1 + y2) // 2,
                "sleep", 0.02, "mousemove", "--window", self.window, x2, y2,
                "sleep", 0.02, "mouseup", button]

    def random_action(self):
        roll = self.rng.random()
        if roll < 0.36:
            name = self.rng.choices(list(BENCH_BUTTONS),
                                    weights=[1, 8, 4, 4, 2, 5, 5, 3, 5])[0]
            return self.click(BENCH_BUTTONS[name])
        if roll < 0.46:
            return self.click(self.rng.choice(CHECK_BOXES))
        if roll < 0.68:
            row = self.rng.choice([0, 1, 4, 5] * 3 + list(range(9)))
            return self.type_into_cell(row)
        if roll < 0.76:
            x, y = self.point_in(PLOT_AREA)
            return ["mousemove", "--window", self.window, x, y, "click", "--repeat",
                    self.rng.randint(1, 4), "--delay", 5, self.rng.choice([4, 5])]
        if roll < 0.84:
            return self.drag(self.rng.choice([1, 1, 3]))
        if roll < 0.86:
            return self.click(COPY_PICTURE)
        if roll < 0.875:
            self.opened_side_window = True
            return self.click(self.rng.choice(list(SIDE_BUTTONS.values())))
        if roll < 0.92:
            text = "".join(self.rng.choice(string.ascii_letters + " жюя.,") for _ in
                           range(self.rng.randint(1, 40)))
            return self.click(MEMO) + keystrokes(text)
        return ["key", self.rng.choice(KEYS)]

    def run_batch(self, count):
        """Sends up to `count` random actions in one xdotool run. A batch ends with an action
        that opens a side window: the window comes up over the main window, and the actions
        after it are meant for the main window, not for it (a wheel notch on its title bar
        would shade it); it is moved aside before the next batch."""
        commands = []
        sent = 0
        self.opened_side_window = False
        while sent < count and not self.opened_side_window:
            commands += self.random_action() + ["sleep", 0.015]
            sent += 1
        started = time.monotonic()
        self.xdotool(*commands, timeout=600)
        self.batch_seconds += time.monotonic() - started
        self.done += sent

    # Windows that come up ------------------------------------------------------------------

    def tidy_windows(self):
        """Answers error boxes with Enter, moves side windows beside the main window and now
        and then closes them; fails on a close question, which no action asks for."""
        for _ in range(50):
            self.alive()
            windows = self.named_windows()
            if CONFIRM_TITLE in windows.values():
                raise SoakFailure(f"a close question came up after {self.done} actions")
            boxes = [w for w, title in windows.items() if title == ERROR_BOX_TITLE]
            if not boxes:
                break
            self.xdotool("windowactivate", "--sync", boxes[0], check=False, timeout=20)
            self.xdotool("key", "Return")
            self.boxes_answered += 1
        else:
            raise SoakFailure(f"error boxes kept coming after {self.done} actions")
        for side, title in windows.items():
            if title not in SIDE_TITLES:
                continue
            if title not in self.placed:
                self.move_aside(side, title)
                self.placed.add(title)
            elif self.rng.random() < 0.3:
                self.close_side_window(side)

    def move_aside(self, side, title):
        """Moves a side window to its place beside the main window, waiting for the window
        manager to have done it (a limited wait: xdotool's own would wait for ever)."""
        self.xdotool("windowmove", side, *SIDE_PLACES[title], check=False, timeout=20)

        def placed():
            # xdotool tells where the client area is; the frame was moved.
            extents = subprocess.run(["xprop", "-id", str(side), "_NET_FRAME_EXTENTS"],
                                     capture_output=True, text=True, timeout=20).stdout
            left, _, top, _ = (list(map(int, re.findall(r"\d+", extents.split("=")[-1])))
                               + [0, 0, 0, 0])[:4]
            x, y = SIDE_PLACES[title]
            geometry = self.xdotool("getwindowgeometry", side, check=False, timeout=20)
            return f"Position: {x + left},{y + top} " in geometry
        try:
            self.wait_for(placed, 10, "")
        except SoakFailure:
            raise HarnessFailure(f"the side window {title} could not be moved aside") from None

    def named_windows(self):
        """The program's visible windows other than the main window: id to title."""
        titles = (ERROR_BOX_TITLE, CONFIRM_TITLE, *SIDE_TITLES)
        pattern = "^(" + "|".join(map(re.escape, titles)) + ")$"
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern],
                               capture_output=True, text=True, timeout=30).stdout.split()
        return {int(w): self.xdotool("getwindowname", w, check=False).strip() for w in found}

    def close_side_window(self, side):
        self.xdotool("windowactivate", "--sync", side, check=False, timeout=20)
        # The close keystroke goes to whatever window is active: only to a side window.
        if self.xdotool("getactivewindow", check=False).strip() == str(side):
            self.xdotool("key", "alt+F4")
            self.side_windows_closed += 1
            time.sleep(0.1)

    def settle(self):
        time.sleep(1.5)
        self.tidy_windows()
        time.sleep(0.5)

    # The megabyte paste ----------------------------------------------------------------------

    def paste_megabyte(self):
        """Pastes a megabyte of letters into the step cell and presses "Шаг по X": the error
        box must come up, quoting what the cell holds."""
        path = os.path.join(self.out, "megabyte.txt")
        with open(path, "w") as text:
            text.write("a" * MEGABYTE)
        clip = self.start(["xclip", "-selection", "clipboard", "-quiet", "-i", path],
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for(lambda: "UTF8_STRING" in subprocess.run(
            ["xclip", "-selection", "clipboard", "-o", "-t", "TARGETS"], capture_output=True,
            text=True, timeout=10).stdout, 20, "xclip did not take the clipboard")
        # Unhurried, so that the paste lands in the step cell and nowhere else: the previous
        # batch's last events are handled first, and the megabyte is fetched before Enter.
        self.settle()
        self.xdotool(*self.click(self.value_cell(STEP_ROW)), "sleep", 0.5, "key", "ctrl+a",
                     "key", "ctrl+v", "sleep", 2, "key", "Return", "sleep", 0.5)
        started = time.monotonic()
        self.xdotool(*self.click(BENCH_BUTTONS["Шаг по X"]))
        self.wait_for(lambda: self.visible(ERROR_BOX_TITLE), 60,
                      "a megabyte in the step cell brought no error box")
        seconds = time.monotonic() - started
        self.settle()
        if clip.poll() is None:
            clip.terminate()
            clip.wait()
        self.xdotool(*self.click(self.value_cell(STEP_ROW)), "key", "ctrl+a", "key", "1",
                     "key", "Return")
        return seconds

    # The run -----------------------------------------------------------------------------------

    def record_rss(self):
        rss = self.rss_kib()
        self.rss_log.write(f"{self.done},{time.monotonic() - self.started:.1f},{rss}\n")
        self.rss_log.flush()
        return rss

    def memo_picture(self, name):
        path = os.path.join(self.out, name)
        left, top, width, height = MEMO
        subprocess.run(["import", "-window", str(self.window), "-crop",
                        f"{width}x{height}+{left}+{top}", "+repage", path], check=True)
        return path

    def check_window_answers(self):
        name = self.xdotool("getwindowname", self.window).strip()
        if name != MAIN_TITLE:
            raise SoakFailure(f"the main window is called {name!r}")
        self.xdotool(*self.click(BENCH_BUTTONS["Начать/Сброс"]), "sleep", 0.3,
                     *self.click(BENCH_BUTTONS["Стереть"]), "sleep", 0.5)
        self.settle()
        before = self.memo_picture("memo-before-record.png")
        self.xdotool(*self.click(BENCH_BUTTONS["Записать"]), "sleep", 0.5)
        self.settle()
        after = self.memo_picture("memo-after-record.png")
        compared = subprocess.run(["compare", "-metric", "AE", before, after, "null:"],
                                  capture_output=True, text=True)
        changed = int(float(compared.stderr.split()[0]))
        if changed == 0:
            raise SoakFailure("\"Записать\" wrote nothing into the protocol box at the end")
        return changed

    def close_through_question(self):
        self.xdotool("windowactivate", "--sync", self.window, check=False, timeout=20)
        self.xdotool("key", "alt+F4")
        self.wait_for(lambda: self.visible(CONFIRM_TITLE), 20, "alt+F4 did not ask Confirm")
        time.sleep(0.5)
        self.xdotool("key", "Return")
        try:
            status = self.velmora.wait(timeout=20)
        except subprocess.TimeoutExpired:
            raise SoakFailure("Enter on Confirm did not end the program")
        if status != 0:
            raise SoakFailure(f"the program ended with status {status}")

    def run(self):
        self.prepare_keyboard()
        self.start_velmora()
        print(f"display {os.environ['DISPLAY']}, Velmora pid {self.velmora.pid}, "
              f"resident {self.rss_kib()} KiB at start", flush=True)
        batch = 50
        rss_after_first_thousand = None
        pastes_at = [500, self.actions - 500]
        paste_seconds = []
        while self.done < self.actions:
            self.run_batch(min(batch, self.actions - self.done))
            started = time.monotonic()
            self.tidy_windows()
            self.tidy_seconds += time.monotonic() - started
            if pastes_at and self.done >= pastes_at[0]:
                pastes_at.pop(0)
                paste_seconds.append(self.paste_megabyte())
            if rss_after_first_thousand is None and self.done >= 1000:
                self.settle()
                rss_after_first_thousand = self.record_rss()
                print(f"resident after {self.done} actions: {rss_after_first_thousand} KiB",
                      flush=True)
            else:
                self.record_rss()
            if self.done % 2000 == 0:
                print(f"{self.done} actions, {time.monotonic() - self.started:.0f} s, "
                      f"{self.boxes_answered} error boxes answered, resident "
                      f"{self.rss_kib()} KiB", flush=True)
        self.settle()
        rss_end = self.record_rss()
        seconds = time.monotonic() - self.started
        subprocess.run(["import", "-window", str(self.window),
                        os.path.join(self.out, "soak-end.png")], check=True)
        changed = self.check_window_answers()
        self.close_through_question()

        growth = (rss_end - rss_after_first_thousand) / rss_after_first_thousand
        print(f"actions: {self.done} in {seconds:.0f} s ({self.done / seconds:.1f} a second)")
        print(f"of which sending the actions {self.batch_seconds:.0f} s, answering boxes and "
              f"tidying side windows {self.tidy_seconds:.0f} s")
        print(f"error boxes answered: {self.boxes_answered}; side windows closed: "
              f"{self.side_windows_closed}")
        print("megabyte paste to error box: " +
              ", ".join(f"{s:.2f} s" for s in paste_seconds))
        print(f"resident after the first 1,000 actions: {rss_after_first_thousand} KiB; "
              f"at the end: {rss_end} KiB ({growth:+.1%})")
        print(f"\"Записать\" at the end changed {changed} pixels of the protocol box; "
              "closed through Confirm with status 0")
        if abs(growth) > 0.10:
            raise SoakFailure(f"resident memory changed by {growth:+.1%}, more than 10 %")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("binary")
    parser.add_argument("out")
    parser.add_argument("--actions", type=int, default=20000)
    parser.add_argument("--seed", type=int, default=20240611)
    args = parser.parse_args()
    if args.actions < 1500:
        parser.error("at least 1,500 actions: memory is compared from the 1,000th on")
    if not os.environ.get("DISPLAY"):
        parser.error("no X server: run-soak starts one and runs this script in it")
    os.makedirs(args.out, exist_ok=True)

    def terminated(signum, frame):
        raise SoakFailure("terminated")

    signal.signal(signal.SIGTERM, terminated)
    signal.signal(signal.SIGINT, terminated)
    soak = Soak(os.path.abspath(args.binary), args.out, args.actions, args.seed)
    try:
        soak.run()
    except SoakFailure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        subprocess.run(["import", "-window", "root", os.path.join(args.out, "failure.png")])
        return 1
    except (HarnessFailure, subprocess.TimeoutExpired) as failure:
        print(f"HARNESS FAILURE (the soak could not go on; nothing is said of the program): "
              f"{failure}", file=sys.stderr)
        subprocess.run(["import", "-window", "root", os.path.join(args.out, "failure.png")])
        return 2
    finally:
        soak.stop_all()
    print(f"PASS: screenshot and rss.csv in {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
