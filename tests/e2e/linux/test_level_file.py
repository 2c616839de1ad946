"""Installing a map over the game's first level and removing it again, as a
user does it in the Linux window."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from levrin_session import SessionTest, main, wait_for  # noqa: E402

IDOK = 1
IDC_MAPLIST = 1003
IDC_CURRENT_MAP = 1006
IDC_KILL_LEVEL = 1009
INSTALLED = "%s transfered to %s\n Select 'Hollywood Holocaust' to play this map."
DELETED = "e1l1.map deleted, you may now play Hollywood Holocaust."
MISSING_FILE = "No such file or directory"


class LevelFileTest(SessionTest):

    def seed(self, maps, game_files=("DUKE3D.EXE",), current_map="castle"):
        map_dir = self.fixture.make_files("maps", maps)
        game_dir = self.fixture.make_files("game", game_files)
        self.fixture.store_settings([("MapDir", map_dir), ("ExeDir", game_dir),
                                     ("Current Map", current_map)])
        return map_dir, game_dir

    def select(self, entry):
        levrin = self.levrin
        levrin.click_node(levrin.list_cell(IDC_MAPLIST, entry))
        wait_for("%s selected" % entry, lambda: (entry, True) in levrin.list_rows(IDC_MAPLIST))

    def assert_installed(self, map_dir, game_dir, file_name, entry, level_name="e1l1.map"):
        source = os.path.join(map_dir, file_name)
        self.assertEqual(self.levrin.read_message_box(),
                         INSTALLED % (os.path.join(map_dir, entry + ".map"),
                                      os.path.join(game_dir, "e1l1.map")))
        with open(source, "rb") as wanted, open(os.path.join(game_dir, level_name), "rb") as level:
            self.assertEqual(level.read(), wanted.read())
        wait_for("the label naming %s" % entry,
                 lambda: self.levrin.text_of(IDC_CURRENT_MAP) == entry)
        self.assertEqual(self.fixture.settings_values()["Current Map"], entry)
        self.assertEqual(self.levrin.message_boxes(), [])

    def testSetMapEnterAndDoubleClickEachInstallTheSelectedMap(self):
        map_dir, game_dir = self.seed(["Castle.map", "arena.MAP", "Zoo.map"])
        levrin = self.start()
        wait_for("the list filled", lambda: len(levrin.list_rows(IDC_MAPLIST)) == 3)

        def set_map_button(entry):
            self.select(entry)
            levrin.click(IDOK)

        def enter_in_the_list(entry):
            self.select(entry)
            levrin.key("Return")

        def double_click(entry):
            levrin.click_node(levrin.list_cell(IDC_MAPLIST, entry), count=2)

        # Each installs over the level file that the one before left.
        for trigger, file_name, entry in [(double_click, "Castle.map", "castle"),
                                          (set_map_button, "arena.MAP", "arena"),
                                          (enter_in_the_list, "Zoo.map", "zoo")]:
            with self.subTest(trigger=trigger.__name__):
                trigger(entry)
                self.assert_installed(map_dir, game_dir, file_name, entry)
        self.assertEqual(sorted(os.listdir(game_dir)), ["DUKE3D.EXE", "e1l1.map"])

    def testADoubleClickOnAnotherEntryAfterASingleClickInstallsIt(self):
        map_dir, game_dir = self.seed(["Castle.map", "arena.MAP", "Zoo.map"])
        levrin = self.start()
        self.select("zoo")
        levrin.click_node(levrin.list_cell(IDC_MAPLIST, "castle"), count=2)
        self.assert_installed(map_dir, game_dir, "Castle.map", "castle")

    def testKillRemovesTheLevelFileAndASecondKillShowsTheSystemText(self):
        map_dir, game_dir = self.seed(["Castle.map", "arena.MAP"], current_map="arena")
        levrin = self.start()
        wait_for("arena selected", lambda: ("arena", True) in levrin.list_rows(IDC_MAPLIST))
        levrin.click(IDOK)
        self.assert_installed(map_dir, game_dir, "arena.MAP", "arena")
        stored = self.fixture.settings_bytes()
        levrin.click(IDC_KILL_LEVEL)
        self.assertEqual(levrin.read_message_box(), DELETED)
        self.assertEqual(os.listdir(game_dir), ["DUKE3D.EXE"])
        levrin.click(IDC_KILL_LEVEL)
        self.assertEqual(levrin.read_message_box(), MISSING_FILE)
        # Removing the level file leaves the name of the map installed last.
        self.assertEqual(levrin.text_of(IDC_CURRENT_MAP), "arena")
        self.assertEqual(self.fixture.settings_bytes(), stored)

    def testALevelFileInUpperCaseIsReplacedInPlace(self):
        map_dir, game_dir = self.seed(["arena.MAP"], game_files=["DUKE3D.EXE", "E1L1.MAP"])
        levrin = self.start()
        wait_for("arena selected", lambda: ("arena", True) in levrin.list_rows(IDC_MAPLIST))
        levrin.click(IDOK)
        self.assert_installed(map_dir, game_dir, "arena.MAP", "arena", level_name="E1L1.MAP")
        self.assertEqual(sorted(os.listdir(game_dir)), ["DUKE3D.EXE", "E1L1.MAP"])
        levrin.click(IDC_KILL_LEVEL)
        self.assertEqual(levrin.read_message_box(), DELETED)
        self.assertEqual(os.listdir(game_dir), ["DUKE3D.EXE"])

    def testAFailedCopyShowsTheSystemTextAndRecordsNothing(self):
        # The entry keeps 15 characters of the name, and no file has that name.
        _, game_dir = self.seed(["abcdefghijklmnopqr.map"])
        stored = self.fixture.settings_bytes()
        levrin = self.start()
        wait_for("the cut entry selected",
                 lambda: levrin.list_rows(IDC_MAPLIST) == [("abcdefghijklmno", True)])
        levrin.click(IDOK)
        self.assertEqual(levrin.read_message_box(), MISSING_FILE)
        self.assertEqual(os.listdir(game_dir), ["DUKE3D.EXE"])
        self.assertEqual(levrin.text_of(IDC_CURRENT_MAP), "castle")
        self.assertEqual(self.fixture.settings_bytes(), stored)


if __name__ == "__main__":
    main()
