#!/usr/bin/python3
"""A new player's first two sessions with the real game, driven as a person would.

The script types with the keyboard (xdotool) and reads what the screen shows
through the accessibility tree (AT-SPI), the way a screen reader does. It checks
the store's files on disk with qkstore.

Usage: e2e_test.py PROGRAM MARKER QKSTORE
       e2e_test.py --installed DESKTOP_FILE QKSTORE

The second form plays the installed game as its menu entry starts it: the
launcher named in the desktop file prepares the player's data directory itself.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi

INSTALLED = sys.argv[1] == "--installed"
if INSTALLED:
    DESKTOP_FILE, QKSTORE = sys.argv[2:4]
else:
    PROGRAM, MARKER, QKSTORE = sys.argv[1:4]
TIMEOUT = 20.0
STARTED = []  # every game process this run started


def fail(message):
    print("FAIL:", message, flush=True)
    shot = os.environ.get("MINDLARK_E2E_SCREENSHOT")
    if shot and shutil.which("import"):  # what the screen showed, for whoever reads the failure
        subprocess.run(["import", "-window", "root", shot])
    sys.exit(1)


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        try:
            found = probe()
        except Exception:  # the tree changes under us while windows come and go
            found = None
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:
        return []


def descendants(acc, depth=0):
    for child in children(acc):
        if child is None:
            continue
        yield child
        if depth < 12:
            yield from descendants(child, depth + 1)


def showing(acc):
    return acc.getState().contains(pyatspi.STATE_SHOWING)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    return next((a for a in children(desktop) if a and a.name == "mindlark"), None)


def window(app, caption):
    return next((w for w in children(app) if w.name == caption and showing(w)), None)


def named(root, name, role=None):
    for acc in descendants(root):
        if acc.name == name and (role is None or acc.getRoleName() == role):
            return acc
    return None


def code_box(main_window):
    # The caption above the box reads "Your Code:" too; the box is the editable-text one.
    return next((acc for acc in descendants(main_window)
                 if acc.name == "Your Code:" and acc.getRoleName() != "label"), None)


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def top_level(acc):
    while acc.parent is not None and acc.parent.getRoleName() != "application":
        acc = acc.parent
    return acc


def focus_window(caption):
    # Without a window manager nobody hands the keyboard to a window: give it
    # to the window as a click on it would.
    subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^%s$" % re.escape(caption),
                    "windowfocus", "--sync"], check=True, capture_output=True)


def focus(acc):
    focus_window(top_level(acc).name)
    if not acc.queryComponent().grabFocus():
        fail("cannot focus " + acc.name)
    time.sleep(0.2)


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)
    time.sleep(0.2)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)
    time.sleep(0.2)


def press(button):
    focus(button)
    keys("space")


def fill(field, text, secret=False):
    focus(field)
    type_text(text)
    if secret:
        # A password box shows, and tells screen readers, only one mask per character.
        wait_for(field.name + " to hold the typed text",
                 lambda: field.queryText().characterCount == len(text) or None)
        if text_of(field) == text:
            fail(field.name + " shows its password")
    else:
        wait_for(field.name + " to hold the typed text", lambda: text_of(field) == text or None)


class Game:
    """One run of the program in the play directory."""

    def __init__(self, directory):
        if INSTALLED:
            # The menu entry's command, with the data directory set to ours.
            # A player's PATH on Debian holds the games directories; root's does not.
            path = os.environ.get("PATH", "") + ":/usr/local/games:/usr/games"
            environment = dict(os.environ, MINDLARK_DATA_DIR=directory, PATH=path)
            self.process = subprocess.Popen(menu_command(), env=environment)
        else:
            self.process = subprocess.Popen([PROGRAM], cwd=directory)
        STARTED.append(self.process)
        self.app = wait_for("the game on the accessibility bus", self.running_application)

    def running_application(self):
        # A game that could not start says so at once, not after the timeout.
        status = self.process.poll()
        if status is not None:
            fail("the game ended with status %d before its first window" % status)
        return application()

    def window(self, caption):
        return wait_for('the window "%s"' % caption, lambda: window(self.app, caption))

    def ended(self):
        try:
            return self.process.wait(timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            fail("the game did not end")

    def exit_by_keyboard(self, main):
        # Alt alone highlights "File"; Down opens it; past New User, Sign In and
        # Language (separators are skipped) stands Exit.
        focus_window(main.name)
        keys("alt", "Down", "Down", "Down", "Down", "Return")

    def choose_exit(self, main):
        # File › Exit, through the menu the way a screen reader user picks it.
        exit_item = wait_for("the Exit menu item", lambda: named(main, "Exit"))
        exit_item.queryAction().doAction(0)


def menu_command():
    with open(DESKTOP_FILE, encoding="utf-8") as entry:
        for line in entry:
            if line.startswith("Exec="):
                return line[len("Exec="):].split()
    fail("the desktop file has no Exec line")


def qkstore(*args):
    return subprocess.run([QKSTORE, *args], capture_output=True, text=True)


def main():
    play = tempfile.mkdtemp(prefix="mindlark-e2e-")
    try:
        scenario(play)
    finally:
        for process in STARTED:  # a failed check leaves its game running
            if process.poll() is None:
                process.kill()
                process.wait()
        # The play directory holds a store with a password in it: never leave it behind.
        shutil.rmtree(play, ignore_errors=True)
    print("e2e: 1 passed, 0 failed")


def scenario(play):
    if INSTALLED:
        # The launcher gives a new player's directory the marker on first start.
        os.rmdir(play)
    else:
        shutil.copy(MARKER, os.path.join(play, "num.qk"))

    # First start: nobody is registered, so the registration window opens alone.
    game = Game(play)
    form2 = game.window("New User")
    if window(game.app, "Sign In"):
        fail("the sign-in window is shown on the first start")
    fields = {name: wait_for(name, lambda n=name: named(form2, n))
              for name in ("Name", "Age", "E-mail", "User Name", "Password", "Verify Password")}
    fill(fields["Name"], "Ann Lee")
    fill(fields["Age"], "31")
    fill(fields["E-mail"], "ann@example.org")
    fill(fields["User Name"], "ann")
    fill(fields["Password"], "Secret 1", secret=True)
    fill(fields["Verify Password"], "Secret 1", secret=True)
    press(named(form2, "Add User", "push button"))

    main_window = game.window("Mindlark?")
    wait_for("the greeting", lambda: named(main_window, "Welcome Ann Lee"))
    if named(main_window, "Change User") is None:
        fail('the menu does not offer "Change User"')

    # Choose red for house 1 and a fish for house 5, then ask for a code.
    color1 = wait_for("Color, House 1", lambda: named(main_window, "Color, House 1", "text"))
    focus(color1)
    keys("Down")
    pet5 = named(main_window, "Pet, House 5", "text")
    focus(pet5)
    keys("Down", "Down", "Down", "Down", "Down")
    press(named(main_window, "Generate a Code", "push button"))
    box = wait_for("the code box", lambda: code_box(main_window))
    code = wait_for("a code", lambda: text_of(box) or None)
    expected = re.compile(r"^ 0-1-1--1-1-1--1-1-1 4--1-1-1-1--1-1-1--1-1-1--1---1-1-1--1- \d+$")
    if not expected.match(code):
        fail("unexpected code after registering: %r" % code)
    game.exit_by_keyboard(main_window)
    if game.ended() != 0:
        fail("Exit did not end the game with status 0")

    # The store now holds Ann's five files, under the names a registration
    # writes, and the counter 1.
    for name in ("mnp%qk 0dN.qk", "map%qk 0dA.qk", "mep%qk 0dE.qk", "mup%qk 0du.qk",
                 "mpp%qk 0dp.qk", "num.qk"):
        if not os.path.isfile(os.path.join(play, "QK", name)):
            fail("the store has no file " + name)
    listing = qkstore("list", play)
    if listing.returncode != 0 or "Ann Lee\t31\tann@example.org\tann" not in listing.stdout:
        fail("qkstore list: %r %r" % (listing.stdout, listing.stderr))
    if "Secret" in listing.stdout:
        fail("qkstore list shows a password")
    if qkstore("text", os.path.join(play, "QK", "num.qk")).stdout != "1":
        fail("the counter does not read 1")

    # Second start: the sign-in window opens; a wrong password is refused.
    game = Game(play)
    form3 = game.window("Sign In")
    if window(game.app, "New User"):
        fail("the registration window is shown on a later start")
    fill(named(form3, "User Name", "text"), "ann")
    fill(named(form3, "Password", "password text"), "secret 1", secret=True)
    press(named(form3, "Sign in", "push button"))
    wait_for("the warning", lambda: named(form3, "Incorrect Password or User Name"))
    password = named(form3, "Password", "password text")
    focus(password)
    keys("ctrl+a", "BackSpace")
    type_text("Secret 1")
    press(named(form3, "Sign in", "push button"))

    main_window = game.window("Mindlark?")
    wait_for("the greeting", lambda: named(main_window, "Welcome Ann Lee"))
    color1 = named(main_window, "Color, House 1", "text")
    focus(color1)
    keys("Down", "Down")
    press(named(main_window, "Generate a Code", "push button"))
    box = code_box(main_window)
    code = wait_for("a new code", lambda: text_of(box) if "-31-" in text_of(box) else None)
    expected = re.compile(r"^ 1-1-1--1-1-1--1-1-1-1--1-1-1-1--1-1-1--1-1-1--1-31--1-1-1--1- \d+$")
    if not expected.match(code):
        fail("unexpected code after signing in: %r" % code)
    game.choose_exit(main_window)
    if game.ended() != 0:
        fail("Exit did not end the game with status 0")


if __name__ == "__main__":
    main()
