"""Choosing the two folders in the GTK folder chooser, and what the program
remembers of them."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from levrin_session import SessionTest, main, wait_for  # noqa: E402

IDOK = 1
IDCANCEL = 2
IDC_BROWSE_MAPDIR = 1000
IDC_MAPDIR = 1001
IDC_MAPLIST = 1003
IDC_CURRENT_MAP = 1006
IDC_BROWSE_EXEDIR = 1007
IDC_EXEDIR = 1008
IDC_KILL_LEVEL = 1009
MAP_PICKER_TITLE = "Where can I find your Duke3d .Map Files Dude?"
GAME_PICKER_TITLE = "Where can I find your Duke3d Exe Files Dude?"
NO_GAME = "Dude! I can't find Duke3d.exe here 8-()"


class FoldersTest(SessionTest):

    def seed(self):
        map_dir = self.fixture.make_files("maps", ["Castle.map", "arena.MAP"])
        game_dir = self.fixture.make_files("game", ["DUKE3D.EXE"])
        self.fixture.store_settings([("MapDir", map_dir), ("ExeDir", game_dir),
                                     ("Current Map", "arena")])
        return map_dir, game_dir

    def choose(self, button, title, folder):
        self.levrin.click(button)
        self.levrin.choose_in_picker(title, folder)

    def testAGameFolderWithTheExecutableInAnyCaseIsTaken(self):
        map_dir, _ = self.seed()
        levrin = self.start()
        for executable in ["DUKE3D.EXE", "duke3d.exe"]:
            with self.subTest(executable=executable):
                folder = self.fixture.make_files("game " + executable, [executable])
                self.choose(IDC_BROWSE_EXEDIR, GAME_PICKER_TITLE, folder)
                wait_for("the chosen game folder shown",
                         lambda: levrin.text_of(IDC_EXEDIR) == folder)
                self.assertEqual(levrin.message_boxes(), [])
                stored = self.fixture.settings_values()
                self.assertEqual(stored["ExeDir"], folder)
                self.assertEqual(stored["MapDir"], map_dir)

    def testGameFolderChooserCancelShowsTheStoredFolderAgain(self):
        _, game_dir = self.seed()
        stored = self.fixture.settings_bytes()
        levrin = self.start()
        levrin.click(IDC_EXEDIR)
        levrin.key("ctrl+a")
        levrin.type_text("/typed")
        wait_for("the typed text", lambda: levrin.text_of(IDC_EXEDIR) == "/typed")
        levrin.click(IDC_BROWSE_EXEDIR)
        levrin.cancel_picker(GAME_PICKER_TITLE)
        wait_for("the stored game folder again", lambda: levrin.text_of(IDC_EXEDIR) == game_dir)
        # The list is read again and its selection back on the first entry.
        wait_for("the first entry selected",
                 lambda: levrin.list_rows(IDC_MAPLIST) == [("arena", True), ("castle", False)])
        self.assertEqual(self.fixture.settings_bytes(), stored)

    def testARefusedGameFolderIsNotErasedByALaterMapFolder(self):
        _, game_dir = self.seed()
        empty_dir = self.fixture.make_files("empty", [])
        other_maps = self.fixture.make_files("other maps", ["Zoo.map"])
        levrin = self.start()
        self.choose(IDC_BROWSE_EXEDIR, GAME_PICKER_TITLE, empty_dir)
        self.assertEqual(levrin.read_message_box(), NO_GAME)
        wait_for("the previous game folder again", lambda: levrin.text_of(IDC_EXEDIR) == game_dir)
        self.choose(IDC_BROWSE_MAPDIR, MAP_PICKER_TITLE, other_maps)
        wait_for("the other maps listed", lambda: levrin.list_rows(IDC_MAPLIST) == [("zoo", True)])
        stored = self.fixture.settings_values()
        self.assertEqual(stored["MapDir"], other_maps)
        self.assertEqual(stored["ExeDir"], game_dir)
        self.assertEqual(levrin.text_of(IDC_EXEDIR), game_dir)

    def testBothFoldersAndTheMapAreRememberedAfterARestart(self):
        map_dir = self.fixture.make_files("maps", ["Castle.map", "arena.MAP", "Zoo.map"])
        game_dir = self.fixture.make_files("game", ["Duke3d.Exe"])
        levrin = self.start()
        self.assertEqual(levrin.list_rows(IDC_MAPLIST), [])
        self.choose(IDC_BROWSE_MAPDIR, MAP_PICKER_TITLE, map_dir)
        wait_for("the maps listed",
                 lambda: [name for name, _ in levrin.list_rows(IDC_MAPLIST)] ==
                 ["arena", "castle", "zoo"])
        self.choose(IDC_BROWSE_EXEDIR, GAME_PICKER_TITLE, game_dir)
        wait_for("the game folder shown", lambda: levrin.text_of(IDC_EXEDIR) == game_dir)
        levrin.click_node(levrin.list_cell(IDC_MAPLIST, "castle"))
        wait_for("castle selected", lambda: ("castle", True) in levrin.list_rows(IDC_MAPLIST))
        levrin.click(IDOK)
        self.assertIn("transfered to %s" % os.path.join(game_dir, "e1l1.map"),
                      levrin.read_message_box())
        self.assertTrue(os.path.exists(os.path.join(game_dir, "e1l1.map")))
        levrin.click(IDC_KILL_LEVEL)
        self.assertEqual(levrin.read_message_box(),
                         "e1l1.map deleted, you may now play Hollywood Holocaust.")
        self.assertEqual(os.listdir(game_dir), ["Duke3d.Exe"])
        levrin.click(IDCANCEL)
        levrin.wait_for_exit()

        levrin = self.start()
        # The label names the installed map; the list starts on its first entry.
        wait_for("the maps listed again",
                 lambda: levrin.list_rows(IDC_MAPLIST) ==
                 [("arena", True), ("castle", False), ("zoo", False)])
        self.assertEqual(levrin.text_of(IDC_MAPDIR), map_dir)
        self.assertEqual(levrin.text_of(IDC_EXEDIR), game_dir)
        self.assertEqual(levrin.text_of(IDC_CURRENT_MAP), "castle")


if __name__ == "__main__":
    main()
