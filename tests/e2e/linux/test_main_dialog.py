"""The main dialog of the Linux executable as a user sees and ends it."""

import argparse
import os
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from levrin_session import Fixture, Levrin, VirtualDisplay, quiet_pyatspi, wait_for  # noqa: E402

IDC_MAPDIR = 1001
IDC_MAPLIST = 1003
IDC_CURRENT_MAP = 1006
IDC_EXEDIR = 1008
IDCANCEL = 2

OPTIONS = argparse.Namespace(exe=None, screenshot=None)


class MainDialogTest(unittest.TestCase):
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

    def start(self):
        self.levrin = Levrin(OPTIONS.exe, self.fixture.config_home)
        return self.levrin

    def seed(self):
        map_dir = self.fixture.make_files("maps", ["Castle.map", "arena.MAP", "E1L1.MAP"])
        game_dir = self.fixture.make_files("game", ["DUKE3D.EXE"])
        self.fixture.store_settings([("MapDir", map_dir), ("ExeDir", game_dir),
                                     ("Current Map", "arena")])
        return map_dir, game_dir

    def assert_ends_without_writing(self, end):
        self.seed()
        stored = self.fixture.settings_bytes()
        levrin = self.start()
        wait_for("the list filled", lambda: levrin.list_rows(IDC_MAPLIST))
        end(levrin)
        levrin.wait_for_exit()
        self.assertEqual(self.fixture.settings_bytes(), stored)

    def testStoredSettingsShow(self):
        map_dir, game_dir = self.seed()
        levrin = self.start()
        expected = [("arena", True), ("castle", False)]
        wait_for("the sorted maps with arena selected",
                 lambda: levrin.list_rows(IDC_MAPLIST) == expected)
        self.assertEqual(levrin.text_of(IDC_MAPDIR), map_dir)
        self.assertEqual(levrin.text_of(IDC_EXEDIR), game_dir)
        self.assertEqual(levrin.text_of(IDC_CURRENT_MAP), "arena")
        if OPTIONS.screenshot:
            subprocess.run(["import", "-window", "root", OPTIONS.screenshot], check=True)

    def testFirstStartShowsNothing(self):
        levrin = self.start()
        self.assertEqual(levrin.text_of(IDC_MAPDIR), "")
        self.assertEqual(levrin.text_of(IDC_EXEDIR), "")
        self.assertEqual(levrin.text_of(IDC_CURRENT_MAP), "")
        self.assertEqual(levrin.list_rows(IDC_MAPLIST), [])

    def testEscapeEndsWithoutWriting(self):
        self.assert_ends_without_writing(lambda levrin: levrin.key("Escape"))

    def testExitButtonEndsWithoutWriting(self):
        self.assert_ends_without_writing(lambda levrin: levrin.click(IDCANCEL))

    def testCloseRequestEndsWithoutWriting(self):
        self.assert_ends_without_writing(lambda levrin: levrin.request_close())

    def testTypedTextIsLowerCaseAndIgnored(self):
        map_dir, _ = self.seed()
        stored = self.fixture.settings_bytes()
        levrin = self.start()
        levrin.click(IDC_MAPDIR)
        levrin.key("ctrl+a")
        levrin.type_text("/Other/DIR")
        wait_for("the typed text in lower case",
                 lambda: levrin.text_of(IDC_MAPDIR) == "/other/dir")
        levrin.key("Escape")
        levrin.wait_for_exit()
        self.assertEqual(self.fixture.settings_bytes(), stored)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--screenshot")
    options, rest = parser.parse_known_args()
    OPTIONS.exe = os.path.abspath(options.exe)
    OPTIONS.screenshot = options.screenshot
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
