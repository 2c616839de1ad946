// The predefined controls of the window model and the shell's folder
// picker, driven through the Win32 calls and the user-input functions on
// the main template, with a plain dialog procedure that records what the
// controls report.
#include <gtest/gtest.h>

#include <cstring>

#include "DialogManager.h"
#include "ScriptedView.h"
#include "resource.h"

namespace {

struct Notification {
    int id;
    int code;
    HWND from;
};

std::vector<Notification>* g_pNotifications = nullptr;

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message != WM_COMMAND)
        return FALSE;
    g_pNotifications->push_back({ LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam) });
    if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, IDCANCEL);
    return TRUE;
}

// Tells which windows the program reported as changed, and whether the
// owner of a message box or folder picker took input while it was open.
class CWatchingView : public ScriptedView {
public:
    void WindowChanged(HWND window) override { changed.push_back(window); }
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) override
    {
        ownerTookInput.push_back(owner->enabled);
        return ScriptedView::ShowMessageBox(owner, text, caption, type);
    }
    bool BrowseForFolder(HWND owner, const std::string& title, std::string* path) override
    {
        ownerTookInput.push_back(owner->enabled);
        return ScriptedView::BrowseForFolder(owner, title, path);
    }

    std::vector<HWND> changed;
    std::vector<bool> ownerTookInput;
};

LRESULT AddEntry(HWND list, const char* text)
{
    return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

class DialogControlsTest : public ::testing::Test {
protected:
    void SetUp() override { g_pNotifications = &notifications; }
    void TearDown() override { g_pNotifications = nullptr; }

    // Runs the main template; the script acts while it is open.
    void WhileOpen(std::function<void(HWND dialog)> script)
    {
        view.whileModal.push_back(std::move(script));
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, RecordingProc, 0);
    }

    CWatchingView view;
    std::vector<Notification> notifications;
};

}  // namespace

TEST_F(DialogControlsTest, SortedListInsertsIgnoringCaseAndKeepsEqualEntriesInArrivalOrder)
{
    WhileOpen([](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_MAPLIST);
        struct Added {
            const char* text;
            LRESULT index;
        };
        const Added added[] = {
            { "beta", 0 }, { "Alpha", 0 }, { "gamma", 2 }, { "alpha", 1 },
            { "ALPHA", 2 }, { "_x", 0 },  // '_' sorts before the letters
            { "b", 4 },
        };
        for (const Added& entry : added)
            EXPECT_EQ(AddEntry(list, entry.text), entry.index) << entry.text;
        EXPECT_EQ(ListEntries(dialog, IDC_MAPLIST),
                  (std::vector<std::string>{ "_x", "Alpha", "alpha", "ALPHA", "b", "beta", "gamma" }));

        // The selection stays on its entry when one goes in before it.
        ASSERT_EQ(SendMessageA(list, LB_SETCURSEL, 5, 0), 5);
        EXPECT_EQ(AddEntry(list, "aardvark"), 1);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), 6);
        EXPECT_EQ(AddEntry(list, nullptr), LB_ERR);

        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), LB_ERR);
    });
}

TEST_F(DialogControlsTest, SelectStringTakesTheFirstEntryThatBeginsWithTheTextIgnoringCase)
{
    struct Case {
        WPARAM start;
        const char* text;
        LRESULT found;
        int selectionAfter;
    };
    const WPARAM fromTop = static_cast<WPARAM>(-1);
    const Case cases[] = {
        { fromTop, "AB", 0, 0 },
        { fromTop, "abd", 1, 1 },
        { fromTop, "", 0, 0 },  // every entry begins with nothing
        { 0, "ab", 1, 1 },      // the search starts after the start entry
        { 2, "ab", 0, 0 },      // and wraps past the end
        { fromTop, "x", LB_ERR, 3 },
        { fromTop, "abcd", LB_ERR, 3 },
    };
    WhileOpen([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_MAPLIST);
        for (const char* entry : { "bcd", "abe", "abd", "abc" })
            AddEntry(list, entry);
        for (const Case& c : cases) {
            SendMessageA(list, LB_SETCURSEL, 3, 0);
            EXPECT_EQ(SendMessageA(list, LB_SELECTSTRING, c.start, reinterpret_cast<LPARAM>(c.text)), c.found)
                << c.text << " from " << static_cast<int>(c.start);
            EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), c.selectionAfter) << c.text;
        }
    });
}

TEST_F(DialogControlsTest, SetCurSelOutOfRangeAnswersErrorAndLeavesNoSelection)
{
    WhileOpen([](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_MAPLIST);
        for (const char* entry : { "one", "two" })
            AddEntry(list, entry);
        EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
        EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 2, 0), LB_ERR);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), LB_ERR);
        EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 0, 0), 0);
        // -1 clears, and answers LB_ERR as Windows does.
        EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), LB_ERR);

        char buffer[16] = "untouched";
        EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
        EXPECT_STREQ(buffer, "untouched");
        EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), LB_ERR);
        EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 3);
        EXPECT_STREQ(buffer, "two");
    });
}

TEST_F(DialogControlsTest, UserSelectionAndDoubleClickNotifyTheDialog)
{
    HWND list = nullptr;
    WhileOpen([&](HWND dialog) {
        list = GetDlgItem(dialog, IDC_MAPLIST);
        for (const char* entry : { "one", "three", "two" })
            AddEntry(list, entry);
        host::SelectListItem(list, 1);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), 1);
        host::DoubleClickListItem(list, 2);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), 2);
        // Past the entries: nothing happens.
        host::SelectListItem(list, 3);
        host::DoubleClickListItem(list, -1);
        EXPECT_EQ(ListSelection(dialog, IDC_MAPLIST), 2);
    });
    ASSERT_EQ(notifications.size(), 4u);  // the last one is the closing Escape
    const int codes[] = { LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(notifications[i].id, IDC_MAPLIST);
        EXPECT_EQ(notifications[i].code, codes[i]);
        EXPECT_EQ(notifications[i].from, list);
    }
}

TEST_F(DialogControlsTest, TypedTextEntersLowerCasedAndReportsEachChange)
{
    WhileOpen([&](HWND dialog) {
        HWND box = GetDlgItem(dialog, IDC_MAPDIR);
        host::TypeText(box, "/Games/DUKE3D/Maps");
        EXPECT_EQ(ControlText(dialog, IDC_MAPDIR), "/games/duke3d/maps");
        // The user sees the converted text: the view is told.
        EXPECT_EQ(std::count(view.changed.begin(), view.changed.end(), box), 1);
        host::TypeText(box, "/games/duke3d/maps");  // no change, no notification
        // A label takes no typing.
        host::TypeText(GetDlgItem(dialog, IDC_CURRENT_MAP), "typed");
        EXPECT_EQ(ControlText(dialog, IDC_CURRENT_MAP), "");
        // The program's own text is kept as given.
        SetWindowTextA(box, "/Home/Maps");
        EXPECT_EQ(ControlText(dialog, IDC_MAPDIR), "/Home/Maps");
    });
    ASSERT_GE(notifications.size(), 1u);
    EXPECT_EQ(notifications[0].id, IDC_MAPDIR);
    EXPECT_EQ(notifications[0].code, EN_CHANGE);
    EXPECT_EQ(notifications.size(), 2u);  // and the closing Escape
}

TEST_F(DialogControlsTest, EveryChangeByTheProgramReachesTheView)
{
    struct Change {
        const char* what;
        int id;  // 0: the dialog
        std::function<void(HWND dialog)> make;
    };
    const std::vector<Change> changes = {
        { "text", IDC_CURRENT_MAP, [](HWND d) { SetDlgItemTextA(d, IDC_CURRENT_MAP, "map1"); } },
        { "caption", 0, [](HWND d) { SetWindowTextA(d, "Other caption"); } },
        { "entry", IDC_MAPLIST, [](HWND d) { AddEntry(GetDlgItem(d, IDC_MAPLIST), "map1"); } },
        { "selection", IDC_MAPLIST,
          [](HWND d) { SendMessageA(GetDlgItem(d, IDC_MAPLIST), LB_SETCURSEL, 0, 0); } },
        { "content", IDC_MAPLIST, [](HWND d) { SendMessageA(GetDlgItem(d, IDC_MAPLIST), LB_RESETCONTENT, 0, 0); } },
        { "position", 0, [](HWND d) { SetWindowPos(d, nullptr, 5, 6, -1, -1, SWP_NOSIZE | SWP_NOZORDER); } },
        { "icon", 0,
          [](HWND d) {
              HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
              SendMessageA(d, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
          } },
        { "system menu", 0, [](HWND d) { AppendMenuA(GetSystemMenu(d, FALSE), MF_STRING, 0x10, "&About"); } },
        { "focus", 0, [](HWND d) { host::PressKey(d, host::DialogKey::Tab, false, false, false); } },
    };
    WhileOpen([&](HWND dialog) {
        AddEntry(GetDlgItem(dialog, IDC_MAPLIST), "first");
        for (const Change& change : changes) {
            view.changed.clear();
            change.make(dialog);
            HWND window = change.id ? GetDlgItem(dialog, change.id) : dialog;
            EXPECT_NE(std::find(view.changed.begin(), view.changed.end(), window), view.changed.end())
                << change.what;
        }
    });
}

namespace {

struct PickerAnswer {
    LPITEMIDLIST list;
    std::string displayName;
    BOOL gotPath;
    std::string path;
};

PickerAnswer Pick(HWND owner, const char* title)
{
    char displayName[MAX_PATH];
    std::memset(displayName, 'X', sizeof displayName);
    displayName[MAX_PATH - 1] = '\0';
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    PickerAnswer answer = { SHBrowseForFolderA(&info), displayName, FALSE, "" };
    if (answer.list) {
        char path[MAX_PATH] = "X";
        answer.gotPath = SHGetPathFromIDListA(answer.list, path);
        answer.path = path;
        LPMALLOC pMalloc = nullptr;
        EXPECT_EQ(SHGetMalloc(&pMalloc), S_OK);
        pMalloc->Free(answer.list);
        pMalloc->Release();
    }
    return answer;
}

}  // namespace

TEST_F(DialogControlsTest, FolderPickerHandsBackThePathAndTheFolderName)
{
    const std::string longName(280, 'n');
    const std::string fits = "/" + std::string(MAX_PATH - 2, 'p');  // 259 characters
    view.folderAnswers = { "/home/duke/Maps Folder/", std::nullopt, "/games/" + longName, fits, "/" };
    WhileOpen([&](HWND dialog) {
        PickerAnswer chosen = Pick(dialog, "Where?");
        EXPECT_NE(chosen.list, nullptr);
        EXPECT_EQ(chosen.displayName, "Maps Folder");
        EXPECT_TRUE(chosen.gotPath);
        EXPECT_EQ(chosen.path, "/home/duke/Maps Folder/");

        PickerAnswer cancelled = Pick(dialog, "Again?");
        EXPECT_EQ(cancelled.list, nullptr);
        EXPECT_EQ(cancelled.displayName, std::string(MAX_PATH - 1, 'X'));

        // Too long for a path buffer: the name is cut to fit its buffer, and
        // the path is refused rather than cut.
        PickerAnswer tooLong = Pick(dialog, nullptr);
        EXPECT_EQ(tooLong.displayName, longName.substr(0, MAX_PATH - 1));
        EXPECT_FALSE(tooLong.gotPath);
        EXPECT_EQ(tooLong.path, "");

        PickerAnswer longest = Pick(dialog, nullptr);
        EXPECT_TRUE(longest.gotPath);
        EXPECT_EQ(longest.path, fits);

        EXPECT_EQ(Pick(dialog, nullptr).displayName, "/");
        EXPECT_TRUE(dialog->enabled);
    });
    ASSERT_EQ(view.folderPickers.size(), 5u);
    EXPECT_EQ(view.folderPickers[0].title, "Where?");
    EXPECT_EQ(view.folderPickers[2].title, "");
    EXPECT_EQ(view.ownerTookInput, std::vector<bool>(5, false));
}

TEST_F(DialogControlsTest, MessageBoxKeepsItsOwnerFromTakingInput)
{
    WhileOpen([&](HWND dialog) {
        EXPECT_EQ(MessageBoxA(dialog, "Text", "Caption", MB_OK | MB_ICONEXCLAMATION), IDOK);
        EXPECT_TRUE(dialog->enabled);
    });
    EXPECT_EQ(view.ownerTookInput, std::vector<bool>{ false });
    ASSERT_EQ(view.messageBoxes.size(), 1u);
    EXPECT_EQ(view.messageBoxes[0].text, "Text");
    EXPECT_EQ(view.messageBoxes[0].caption, "Caption");
    EXPECT_EQ(view.messageBoxes[0].type, MB_OK | MB_ICONEXCLAMATION);
}
