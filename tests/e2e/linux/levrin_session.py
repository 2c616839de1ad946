"""Runs the Linux executable on an X display and reads its window through
the accessibility bus, as an assistive tool or a user would see it."""

import argparse
import ctypes
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import warnings

import pyatspi

DEFAULT_TIMEOUT = 10.0
START_TIMEOUT = 20.0  # a loaded machine starts GTK slowly
POLL_INTERVAL = 0.05


def wait_for(what, probe, timeout=DEFAULT_TIMEOUT):
    """Polls probe until it returns something true; fails after timeout."""
    deadline = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < deadline:
        try:
            result = probe()
            if result:
                return result
        except AssertionError:
            raise
        except Exception as error:  # the tree may change under our feet
            last_error = error
        time.sleep(POLL_INTERVAL)
    raise AssertionError("timed out waiting for %s (last error: %r)" % (what, last_error))


def quiet_pyatspi():
    """pyatspi calls the interface getters that its own library deprecates."""
    warnings.filterwarnings("ignore", message=r"Atspi\.Accessible\.", category=DeprecationWarning)


def label_texts(root):
    """The texts of every label in a window, in tree order."""
    return [node.name for node in pyatspi.findAllDescendants(
        root, lambda node: node.getRoleName() == "label")]


class VirtualDisplay:
    """The display in $DISPLAY, or a private Xvfb when none is set."""

    def __init__(self):
        self.server = None
        if os.environ.get("DISPLAY"):
            self.name = os.environ["DISPLAY"]
            return
        read_end, write_end = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = ":" + number
        os.environ["DISPLAY"] = self.name

    def close(self):
        if self.server:
            self.server.terminate()
            self.server.wait(timeout=DEFAULT_TIMEOUT)


class X11:
    """The few Xlib calls that xdotool lacks: a window manager's close request."""

    CLIENT_MESSAGE = 33

    class ClientMessage(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                    ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]

    class Event(ctypes.Union):
        # XSendEvent reads a whole XEvent, which is larger than its members.
        pass

    Event._fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]

    def __init__(self):
        lib = ctypes.cdll.LoadLibrary("libX11.so.6")
        lib.XOpenDisplay.restype = ctypes.c_void_p
        lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        lib.XInternAtom.restype = ctypes.c_ulong
        lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                   ctypes.c_void_p]
        lib.XFlush.argtypes = [ctypes.c_void_p]
        lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.lib = lib

    def request_close(self, window):
        """WM_DELETE_WINDOW, what a window manager sends for the close box."""
        display = self.lib.XOpenDisplay(None)
        event = X11.Event()
        message = event.xclient
        message.type = X11.CLIENT_MESSAGE
        message.window = window
        message.message_type = self.lib.XInternAtom(display, b"WM_PROTOCOLS", 0)
        message.format = 32
        message.data[0] = self.lib.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
        message.data[1] = 0  # CurrentTime
        self.lib.XSendEvent(display, window, 0, 0, ctypes.byref(event))
        self.lib.XFlush(display)
        self.lib.XCloseDisplay(display)


class Levrin:
    """One run of the executable with its own settings home."""

    APP_NAME = "levrin"
    CAPTION = "Levrin (v1.1) "

    def __init__(self, exe, config_home, data_home=None, cwd=None):
        env = dict(os.environ)
        env.update({"XDG_CONFIG_HOME": config_home, "NO_AT_BRIDGE": "0", "GTK_A11Y": "atspi",
                    "GDK_BACKEND": "x11", "LC_ALL": "C.UTF-8"})
        if data_home:
            # The system's folders still give the MIME types.
            env.update({"XDG_DATA_HOME": data_home,
                        "XDG_DATA_DIRS": data_home + ":/usr/local/share:/usr/share"})
        # The accessibility bus and registry must run before the program
        # starts: a program that finds no bus stays off it for its whole life.
        pyatspi.Registry.getDesktop(0).childCount
        self.process = subprocess.Popen([exe], env=env, cwd=cwd or os.path.dirname(exe))
        self.app = wait_for("the application on the accessibility bus", self._find_app,
                            timeout=START_TIMEOUT)
        self.dialog = wait_for("the main dialog", self._find_dialog)
        self.xid = wait_for("the main dialog's X window", self._find_xid)

    def _find_app(self):
        if self.process.poll() is not None:
            raise AssertionError("the program ended at start with %d" % self.process.returncode)
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == self.APP_NAME and \
                    app.get_process_id() == self.process.pid:
                return app
        return None

    def _find_dialog(self):
        for child in self.app:
            if child is not None and child.name == self.CAPTION and \
                    child.getState().contains(pyatspi.STATE_SHOWING):
                return child
        return None

    def _find_xid(self, title_pattern="^Levrin"):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                str(self.process.pid), "--name", title_pattern],
                               capture_output=True, text=True)
        ids = found.stdout.split()
        return int(ids[0]) if ids else None

    def xid_of(self, title):
        """The X window of a top-level window of the program, by its title."""
        pattern = "^" + re.escape(title) + "$"
        return wait_for("the X window %r" % title, lambda: self._find_xid(pattern))

    def control(self, control_id):
        """The control with this template id (its widget, not a frame around it)."""
        wanted = str(control_id)

        def probe():
            matches = pyatspi.findAllDescendants(
                self.dialog, lambda node: node.accessibleId == wanted)
            return matches[-1] if matches else None

        return wait_for("control %s" % control_id, probe)

    def focused_id(self):
        """The template id of the control that holds the keyboard focus."""
        focused = pyatspi.findDescendant(
            self.dialog, lambda node: node.getState().contains(pyatspi.STATE_FOCUSED))
        return int(focused.accessibleId) if focused and focused.accessibleId else None

    def text_of(self, control_id):
        node = self.control(control_id)
        if node.getRoleName() == "text":
            text = node.queryText()
            return text.getText(0, text.characterCount)
        return node.name

    def list_rows(self, control_id):
        """The entries of a list box, each with whether it is selected."""
        table = self.control(control_id)
        rows = []
        for cell in table:
            if cell is not None and cell.getRoleName() == "table cell":
                rows.append((cell.name, cell.getState().contains(pyatspi.STATE_SELECTED)))
        return rows

    def focus_window(self, xid=None):
        """The keyboard focus to a window: the main dialog unless told."""
        subprocess.run(["xdotool", "windowfocus", "--sync", str(xid or self.xid)], check=True)

    def key(self, *keys, xid=None):
        self.focus_window(xid)
        subprocess.run(["xdotool", "key", "--clearmodifiers"] + list(keys), check=True)

    def type_text(self, text, xid=None):
        self.focus_window(xid)
        subprocess.run(["xdotool", "type", "--delay", "20", text], check=True)

    def click(self, control_id):
        self.click_node(self.control(control_id))

    def click_node(self, node, button=1, at=None, count=1):
        """A mouse click on an accessible, at its centre or at an offset in it."""
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        dx, dy = at if at else (extents.width // 2, extents.height // 2)
        subprocess.run(["xdotool", "mousemove", "--sync", str(extents.x + dx),
                        str(extents.y + dy), "click", "--repeat", str(count), str(button)],
                       check=True)

    def list_cell(self, control_id, name):
        return self.find(self.control(control_id), "table cell", name)

    def window(self, predicate, what):
        """A showing top-level window of the program."""
        def probe():
            for child in self.app:
                if child is not None and child.getState().contains(pyatspi.STATE_SHOWING) \
                        and predicate(child):
                    return child
            return None

        return wait_for(what, probe)

    def window_named(self, name):
        return self.window(lambda node: node.name == name, "the window %r" % name)

    def message_box(self):
        return self.window(lambda node: node.getRoleName() == "alert", "a message box")

    def message_boxes(self):
        return [child for child in self.app if child is not None and
                child.getRoleName() == "alert" and child.getState().contains(pyatspi.STATE_SHOWING)]

    def read_message_box(self):
        """The text of the message box that shows, which is then closed with
        its OK button as a user would."""
        box = self.message_box()
        text = "\n".join(label_texts(box))
        self.click_node(self.find(box, "push button", "OK"))
        self.gone(box, "the message box")
        return text

    def choose_in_picker(self, title, folder):
        """Types a folder into the folder chooser's location entry and selects it."""
        picker = self.window_named(title)
        picker_xid = self.xid_of(title)
        self.key("ctrl+l", xid=picker_xid)
        self.type_text(folder + "/", xid=picker_xid)
        self.click_node(self.find(picker, "push button", "Select"))
        self.gone(picker, "the folder chooser")

    def cancel_picker(self, title):
        picker = self.window_named(title)
        self.click_node(self.find(picker, "push button", "Cancel"))
        self.gone(picker, "the folder chooser")

    def gone(self, node, what="the window"):
        def probe():
            try:
                return not node.getState().contains(pyatspi.STATE_SHOWING)
            except Exception:
                return True

        return wait_for("%s to close" % what, probe)

    def find(self, root, role, name):
        return wait_for("%s %r" % (role, name), lambda: pyatspi.findDescendant(
            root, lambda node: node.getRoleName() == role and node.name == name))

    def menu_item(self, name):
        return wait_for("menu item %r" % name, lambda: pyatspi.findDescendant(
            self.app, lambda node: node.getRoleName() == "menu item" and node.name == name
            and node.getState().contains(pyatspi.STATE_SHOWING)))

    def request_close(self):
        X11().request_close(self.xid)

    def wait_for_exit(self, timeout=DEFAULT_TIMEOUT):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


class Fixture:
    """A temporary settings home and map folder."""

    def __init__(self):
        self.root = tempfile.mkdtemp(prefix="levrin-e2e-")
        self.config_home = os.path.join(self.root, "config")
        self.settings_file = os.path.join(self.config_home, "Duke3d", "levrin.conf")
        os.makedirs(os.path.dirname(self.settings_file))

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def make_files(self, folder, names):
        os.makedirs(self.path(folder), exist_ok=True)
        for name in names:
            with open(self.path(folder, name), "wb") as out:
                out.write(b"map " + name.encode())
        return self.path(folder)

    def store_settings(self, values):
        lines = ["[Levrin]"] + ["%s=%s" % pair for pair in values]
        with open(self.settings_file, "wb") as out:
            out.write(("\n".join(lines) + "\n").encode())

    def install_html_viewer(self):
        """A desktop viewer for HTML that only notes what it was asked to
        open; returns the data home to run the program with, and the note."""
        data_home = self.path("data")
        os.makedirs(os.path.join(data_home, "applications"))
        note = self.path("opened")
        viewer = self.path("viewer.sh")
        with open(viewer, "w") as out:
            out.write('#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\n' % note)
        os.chmod(viewer, 0o755)
        with open(os.path.join(data_home, "applications", "levrin-test-viewer.desktop"), "w") as out:
            out.write("[Desktop Entry]\nType=Application\nName=Test viewer\n"
                      "Exec=%s %%u\nMimeType=text/html;\n" % viewer)
        with open(os.path.join(self.config_home, "mimeapps.list"), "w") as out:
            out.write("[Default Applications]\ntext/html=levrin-test-viewer.desktop\n")
        return data_home, note

    def settings_values(self):
        """The name=value lines of the [Levrin] section, as a dictionary."""
        values = {}
        section = None
        for line in self.settings_bytes().decode().splitlines():
            if line.startswith("["):
                section = line
            elif section == "[Levrin]" and "=" in line:
                name, value = line.split("=", 1)
                values[name] = value
        return values

    def settings_bytes(self):
        with open(self.settings_file, "rb") as stored:
            return stored.read()

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


class SessionTest(unittest.TestCase):
    """A test case with a display for the class and a fresh fixture and
    program run for each test."""

    exe = None
    screenshot = None
    display = None

    @classmethod
    def setUpClass(cls):
        quiet_pyatspi()
        cls.display = VirtualDisplay()

    @classmethod
    def tearDownClass(cls):
        cls.display.close()

    def setUp(self):
        self.fixture = Fixture()
        self.addCleanup(self.fixture.close)
        self.levrin = None

    def tearDown(self):
        if self.levrin:
            self.levrin.kill()

    def start(self, data_home=None, cwd=None):
        self.levrin = Levrin(SessionTest.exe, self.fixture.config_home, data_home, cwd)
        return self.levrin


def main():
    """Runs the test cases named on the command line against --exe."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--screenshot")
    options, rest = parser.parse_known_args()
    SessionTest.exe = os.path.abspath(options.exe)
    SessionTest.screenshot = options.screenshot
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)
