"""The main dialog of the Linux executable as a user sees and ends it."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from levrin_session import SessionTest, label_texts, main, wait_for  # noqa: E402

IDC_BROWSE_MAPDIR = 1000
IDC_BROWSE_EXEDIR = 1007
IDC_MAPDIR = 1001
IDC_MAPLIST = 1003
IDC_CURRENT_MAP = 1006
IDC_EXEDIR = 1008
IDOK = 1
IDCANCEL = 2
MAP_PICKER_TITLE = "Where can I find your Duke3d .Map Files Dude?"
GAME_PICKER_TITLE = "Where can I find your Duke3d Exe Files Dude?"

class MainDialogTest(SessionTest):
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
        if SessionTest.screenshot:
            subprocess.run(["import", "-window", "root", SessionTest.screenshot], check=True)

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

    def testMapFolderPickerTakesTheChosenFolder(self):
        _, game_dir = self.seed()
        other_dir = self.fixture.make_files("other maps", ["Zoo.map", "alpha.MAP"])
        levrin = self.start()
        levrin.click(IDC_BROWSE_MAPDIR)
        levrin.choose_in_picker(MAP_PICKER_TITLE, other_dir)
        wait_for("the chosen folder's maps",
                 lambda: [name for name, _ in levrin.list_rows(IDC_MAPLIST)] == ["alpha", "zoo"])
        self.assertEqual(levrin.text_of(IDC_MAPDIR), other_dir)
        stored = self.fixture.settings_bytes().decode()
        self.assertIn("MapDir=%s\n" % other_dir, stored)
        self.assertIn("ExeDir=%s\n" % game_dir, stored)

    def testPickerCancelChangesNothing(self):
        map_dir, _ = self.seed()
        stored = self.fixture.settings_bytes()
        levrin = self.start()
        levrin.click(IDC_BROWSE_MAPDIR)
        picker = levrin.window_named(MAP_PICKER_TITLE)
        levrin.click_node(levrin.find(picker, "push button", "Cancel"))
        levrin.gone(picker)
        wait_for("the list after the refresh", lambda: levrin.list_rows(IDC_MAPLIST))
        self.assertEqual(levrin.text_of(IDC_MAPDIR), map_dir)
        self.assertEqual(self.fixture.settings_bytes(), stored)

    def testGameFolderWithoutExecutableIsRefused(self):
        _, game_dir = self.seed()
        stored = self.fixture.settings_bytes()
        empty_dir = self.fixture.make_files("empty", [])
        levrin = self.start()
        levrin.click(IDC_BROWSE_EXEDIR)
        levrin.choose_in_picker(GAME_PICKER_TITLE, empty_dir)
        box = levrin.message_box()
        self.assertIn("Dude! I can't find Duke3d.exe here 8-()", label_texts(box))
        self.assertEqual(box.name, "levrin")
        levrin.click_node(levrin.find(box, "push button", "OK"))
        levrin.gone(box)
        # The refused folder leaves the previous one in place.
        wait_for("the refreshed list", lambda: levrin.list_rows(IDC_MAPLIST))
        self.assertEqual(levrin.text_of(IDC_EXEDIR), game_dir)
        self.assertEqual(self.fixture.settings_bytes(), stored)

    def testEnterInstallsTheSelectedMap(self):
        map_dir, game_dir = self.seed()
        levrin = self.start()
        wait_for("arena selected", lambda: ("arena", True) in levrin.list_rows(IDC_MAPLIST))
        levrin.key("Return")
        box = levrin.message_box()
        with open(os.path.join(map_dir, "arena.MAP"), "rb") as source, \
                open(os.path.join(game_dir, "e1l1.map"), "rb") as target:
            self.assertEqual(target.read(), source.read())
        self.assertTrue(any("e1l1.map" in text for text in label_texts(box)))
        levrin.key("Return", xid=levrin.xid_of("levrin"))
        levrin.gone(box)
        self.assertIn("Current Map=arena\n", self.fixture.settings_bytes().decode())

    def testSystemMenuOpensTheAboutBox(self):
        levrin = self.start()
        extents = levrin.dialog.queryComponent().getExtents(0)
        # The dialog's own background, right of the first prompt.
        levrin.click_node(levrin.dialog, button=3, at=(extents.width - 4, 4))
        levrin.click_node(levrin.menu_item("About Levrin..."))
        about = levrin.window_named("About Levrin")
        levrin.find(about, "push button", "Press Me Babee")
        levrin.key("Escape", xid=levrin.xid_of("About Levrin"))
        levrin.gone(about)
        self.assertIsNone(levrin.process.poll())
        levrin.key("Escape")
        levrin.wait_for_exit()


    def testOpensCentredWithTheFocusOnSetMap(self):
        levrin = self.start()
        wait_for("the focus on Set Map", lambda: levrin.focused_id() == IDOK)
        screen = subprocess.run(["xdotool", "getdisplaygeometry"], capture_output=True,
                                text=True, check=True).stdout.split()
        extents = levrin.dialog.queryComponent().getExtents(0)
        self.assertLessEqual(abs(extents.x - (int(screen[0]) - extents.width) // 2), 1)
        self.assertLessEqual(abs(extents.y - (int(screen[1]) - extents.height) // 2), 1)

    def testTabFollowsTheTemplateOrder(self):
        self.seed()
        levrin = self.start()
        wait_for("the focus on Set Map", lambda: levrin.focused_id() == IDOK)
        for key, expected in [("Tab", IDCANCEL), ("Tab", IDC_BROWSE_MAPDIR), ("Tab", IDC_MAPDIR),
                              ("Tab", IDC_MAPLIST), ("shift+Tab", IDC_MAPDIR)]:
            levrin.key(key)
            wait_for("the focus on %d after %s" % (expected, key),
                     lambda: levrin.focused_id() == expected)
        # Passing through the list leaves its selection as it was.
        self.assertEqual(levrin.list_rows(IDC_MAPLIST), [("arena", True), ("castle", False)])


    def testF1OpensTheHelpPageAndShiftF1DoesNot(self):
        data_home, note = self.fixture.install_html_viewer()
        levrin = self.start(data_home)
        levrin.key("shift+F1")
        levrin.key("F1")

        def opened():
            with open(note) as lines:
                return lines.read().splitlines()

        pages = wait_for("the help viewer", lambda: os.path.exists(note) and opened())
        page = os.path.join(os.path.dirname(SessionTest.exe), "help", "levrin.html")
        # The desktop hands a local page over as a path or as a file URI.
        self.assertEqual([opened_page.replace("file://", "", 1) for opened_page in pages], [page])


if __name__ == "__main__":
    main()
