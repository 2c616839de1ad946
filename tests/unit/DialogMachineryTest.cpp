// The modal run and the dialog keyboard interface of the Linux host under
// the framework's dialog class: focus and tab order, Enter and Escape, the
// ways of closing, placement, nested runs and the Help command.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sys/stat.h>

#include "DialogManager.h"
#include "Framework.h"
#include "MapSelectApp.h"
#include "MapSelectDlg.h"
#include "ScriptedView.h"
#include "resource.h"

namespace {

// A dialog on a real template whose buttons only say that they were pressed;
// Exit, Escape and closing keep the framework's cancel operation.
class CProbeDlg : public CDialog {
public:
    explicit CProbeDlg(UINT nIDTemplate = IDD_MAIN, CWnd* pParent = nullptr) : CDialog(nIDTemplate, pParent) {}

    std::vector<int> m_pressed;
    std::function<void()> m_onSetMap;

protected:
    void OnSetMap()
    {
        m_pressed.push_back(IDOK);
        if (m_onSetMap)
            m_onSetMap();
    }
    void OnSelectMapDir() { m_pressed.push_back(IDC_BROWSE_MAPDIR); }
    void OnSelectDukeDir() { m_pressed.push_back(IDC_BROWSE_EXEDIR); }
    void OnKill() { m_pressed.push_back(IDC_KILL_LEVEL); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
    ON_BN_CLICKED(IDOK, OnSetMap)
    ON_BN_CLICKED(IDC_BROWSE_MAPDIR, OnSelectMapDir)
    ON_BN_CLICKED(IDC_BROWSE_EXEDIR, OnSelectDukeDir)
    ON_BN_CLICKED(IDC_KILL_LEVEL, OnKill)
END_MESSAGE_MAP()

bool Press(HWND dialog, host::DialogKey key)
{
    return host::PressKey(dialog, key, false, false, false);
}

int FocusId(HWND dialog)
{
    return dialog->focus ? dialog->focus->id : 0;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

class DialogMachineryTest : public ::testing::Test {
protected:
    // Runs the dialog with the script as the user; the result of DoModal.
    INT_PTR Run(CDialog& dialog, std::function<void(HWND dialog)> script)
    {
        view.whileModal.push_back(std::move(script));
        return dialog.DoModal();
    }

    ScriptedView view;
};

}  // namespace

TEST_F(DialogMachineryTest, FocusStartsOnSetMapAndTabWalksTheTemplateOrder)
{
    CProbeDlg dlg;
    std::vector<int> forward;
    std::vector<int> backward;
    Run(dlg, [&](HWND dialog) {
        forward.push_back(FocusId(dialog));
        for (int i = 0; i < 8; ++i) {
            EXPECT_TRUE(Press(dialog, host::DialogKey::Tab));
            forward.push_back(FocusId(dialog));
        }
        for (int i = 0; i < 2; ++i) {
            Press(dialog, host::DialogKey::ShiftTab);
            backward.push_back(FocusId(dialog));
        }
        // Tab with Shift held goes backwards too.
        host::PressKey(dialog, host::DialogKey::Tab, true, false, false);
        backward.push_back(FocusId(dialog));
    });
    EXPECT_EQ(forward, (std::vector<int>{ IDOK, IDCANCEL, IDC_BROWSE_MAPDIR, IDC_MAPDIR, IDC_MAPLIST,
                                          IDC_BROWSE_EXEDIR, IDC_EXEDIR, IDC_KILL_LEVEL, IDOK }));
    EXPECT_EQ(backward, (std::vector<int>{ IDC_KILL_LEVEL, IDC_EXEDIR, IDC_BROWSE_EXEDIR }));
}

TEST_F(DialogMachineryTest, EnterPressesTheFocusedPushButtonOrElseTheDefaultOne)
{
    struct Case {
        int tabs;  // from Set Map
        int pressed;
    };
    const Case cases[] = {
        { 0, IDOK },               // Set Map itself
        { 2, IDC_BROWSE_MAPDIR },  // a focused push button
        { 3, IDOK },               // the map folder box: the default button
        { 4, IDOK },               // the map list
        { 5, IDC_BROWSE_EXEDIR },
        { 7, IDC_KILL_LEVEL },
    };
    for (const Case& c : cases) {
        CProbeDlg dlg;
        INT_PTR result = Run(dlg, [&](HWND dialog) {
            for (int i = 0; i < c.tabs; ++i)
                Press(dialog, host::DialogKey::Tab);
            EXPECT_TRUE(Press(dialog, host::DialogKey::Enter));
            EXPECT_FALSE(dialog->ended);
        });
        EXPECT_EQ(dlg.m_pressed, std::vector<int>{ c.pressed }) << c.tabs << " tabs";
        EXPECT_EQ(result, IDCANCEL);
    }
}

TEST_F(DialogMachineryTest, EveryWayOfClosingEndsTheRunWithCancel)
{
    struct Case {
        const char* way;
        std::function<void(HWND dialog)> close;
    };
    const std::vector<Case> cases = {
        { "Escape", [](HWND d) { Press(d, host::DialogKey::Escape); } },
        { "Exit", [](HWND d) { host::ClickButton(GetDlgItem(d, IDCANCEL)); } },
        { "Enter on Exit",
          [](HWND d) {
              Press(d, host::DialogKey::Tab);
              Press(d, host::DialogKey::Enter);
          } },
        { "close box", [](HWND d) { host::RequestClose(d); } },
        { "Close in the system menu", [](HWND d) { host::SystemCommand(d, SC_CLOSE); } },
    };
    for (const Case& c : cases) {
        CProbeDlg dlg;
        bool endedByUser = false;
        INT_PTR result = Run(dlg, [&](HWND dialog) {
            c.close(dialog);
            endedByUser = dialog->ended;
        });
        EXPECT_TRUE(endedByUser) << c.way;
        EXPECT_EQ(result, IDCANCEL) << c.way;
        EXPECT_TRUE(dlg.m_pressed.empty()) << c.way;
        EXPECT_EQ(dlg.GetSafeHwnd(), nullptr) << c.way;
    }
}

TEST_F(DialogMachineryTest, ARunThatCannotStartAnswersMinusOne)
{
    CProbeDlg missingTemplate(IDS_ABOUTBOX);
    EXPECT_EQ(missingTemplate.DoModal(), -1);
    SetWindowView(nullptr);
    CProbeDlg noView;
    EXPECT_EQ(noView.DoModal(), -1);
    SetWindowView(&view);
    EXPECT_TRUE(view.dialogsShown.empty());
}

TEST_F(DialogMachineryTest, TheDialogOpensCentredOnTheWorkAreaAndInsideIt)
{
    // The main template is 196 by 217 units: 294 by 353 pixels at the
    // default base units of 6 by 13.
    struct Case {
        RECT workArea;
        POINT topLeft;
    };
    const Case cases[] = {
        { { 0, 0, 1024, 768 }, { 365, 208 } },
        { { 100, 40, 900, 640 }, { 353, 164 } },
        { { 0, 0, 1024, 300 }, { 365, 0 } },      // too low: top edge on the work area's
        { { 10, 20, 200, 300 }, { 10, 20 } },     // too small both ways
        { { -500, 0, 0, 768 }, { -397, 208 } },   // a work area left of the origin
    };
    for (const Case& c : cases) {
        view.workArea = c.workArea;
        CProbeDlg dlg;
        RECT placed = {};
        Run(dlg, [&](HWND dialog) { placed = WindowRect(dialog); });
        EXPECT_EQ(placed.left, c.topLeft.x) << c.workArea.right;
        EXPECT_EQ(placed.top, c.topLeft.y) << c.workArea.bottom;
        EXPECT_EQ(placed.right - placed.left, 294);
        EXPECT_EQ(placed.bottom - placed.top, 353);
    }
}

TEST_F(DialogMachineryTest, ANestedRunKeepsItsOwnerFromTakingInput)
{
    CProbeDlg dlg;
    INT_PTR nestedResult = 0;
    dlg.m_onSetMap = [&]() {
        CDialog about(IDD_ABOUTBOX, &dlg);
        nestedResult = about.DoModal();
    };
    // The first script is the main dialog's; its Enter opens the About box,
    // whose run takes the second.
    view.whileModal.push_back([&](HWND main) {
        Press(main, host::DialogKey::Enter);
        EXPECT_TRUE(main->enabled);
        EXPECT_EQ(host::ActiveDialog(), main);
        host::ClickButton(GetDlgItem(main, IDC_KILL_LEVEL));
    });
    view.whileModal.push_back([&](HWND about) {
        HWND main = dlg.GetSafeHwnd();
        EXPECT_EQ(host::ActiveDialog(), about);
        EXPECT_EQ(GetParent(about), main);
        EXPECT_FALSE(main->enabled);
        host::ClickButton(GetDlgItem(main, IDC_KILL_LEVEL));
        EXPECT_FALSE(Press(main, host::DialogKey::Escape));
        host::RequestClose(main);
        EXPECT_FALSE(main->ended);
        // Centred over its owner, which lies inside the work area.
        RECT box = WindowRect(about);
        RECT over = WindowRect(main);
        EXPECT_EQ(box.left, (over.left + over.right) / 2 - (box.right - box.left) / 2);
        EXPECT_EQ(box.top, (over.top + over.bottom) / 2 - (box.bottom - box.top) / 2);
        EXPECT_EQ(FocusId(about), IDOK);  // "Press Me Babee", its only tab stop
        Press(about, host::DialogKey::Enter);
    });
    INT_PTR result = dlg.DoModal();
    EXPECT_EQ(nestedResult, IDOK);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dlg.m_pressed, (std::vector<int>{ IDOK, IDC_KILL_LEVEL }));
    EXPECT_EQ(view.dialogsShown.size(), 2u);
}

TEST_F(DialogMachineryTest, SystemMenuHoldsTheSystemsItemsAndMinimiseToggles)
{
    CProbeDlg dlg;
    Run(dlg, [&](HWND dialog) {
        HMENU menu = GetSystemMenu(dialog, FALSE);
        ASSERT_NE(menu, nullptr);
        std::vector<UINT_PTR> ids;
        for (const HostMenu::Item& item : menu->items)
            ids.push_back(item.flags & MF_SEPARATOR ? 0 : item.id);
        EXPECT_EQ(ids, (std::vector<UINT_PTR>{ SC_MOVE, SC_MINIMIZE, 0, SC_CLOSE }));
        EXPECT_EQ(GetSystemMenu(dialog, FALSE), menu);

        host::SystemCommand(dialog, SC_MINIMIZE);
        EXPECT_TRUE(IsIconic(dialog));
        host::SystemCommand(dialog, SC_RESTORE);
        EXPECT_FALSE(IsIconic(dialog));
        EXPECT_FALSE(dialog->ended);
    });
    // The About box has no minimise box, and so no Minimize item.
    CProbeDlg about(IDD_ABOUTBOX);
    Run(about, [&](HWND dialog) { EXPECT_EQ(GetSystemMenu(dialog, FALSE)->items.size(), 3u); });
}

namespace {

// The program as started from a folder of its own, with the help page
// beside it as the build puts it and a settings home of its own.
class DialogProgramTest : public DialogMachineryTest {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/levrin-help-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        mkdir((root + "/help").c_str(), 0755);
        std::ofstream(root + "/help/levrin.html") << "<html></html>\n";
        const char* configHome = std::getenv("XDG_CONFIG_HOME");
        m_savedConfigHome = configHome ? std::optional<std::string>(configHome) : std::nullopt;
        setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
        m_savedAppName = AfxGetApp()->m_strAppName;
        m_savedHelpFile = AfxGetApp()->m_strHelpFilePath;
        StartAs("Levrin");
    }
    void TearDown() override
    {
        AfxGetApp()->m_strAppName = m_savedAppName;
        AfxGetApp()->m_strHelpFilePath = m_savedHelpFile;
        AfxGetApp()->m_pMainWnd = nullptr;
        if (m_savedConfigHome)
            setenv("XDG_CONFIG_HOME", m_savedConfigHome->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::system(("rm -rf '" + root + "'").c_str());
    }
    void StartAs(const std::string& program) { AfxGetApp()->SetUpFromModulePath((root + "/" + program).c_str()); }

    // Runs the dialog as the main window with F1 pressed as given.
    bool PressF1(bool shift, bool control, bool alt)
    {
        CProbeDlg dlg;
        AfxGetApp()->m_pMainWnd = &dlg;
        bool taken = false;
        Run(dlg, [&](HWND dialog) { taken = host::PressKey(dialog, host::DialogKey::F1, shift, control, alt); });
        return taken;
    }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const ScriptedView::MessageBoxShown& shown : view.messageBoxes)
            texts.push_back(shown.text);
        return texts;
    }

    std::string root;

private:
    std::optional<std::string> m_savedConfigHome;
    CString m_savedAppName;
    CString m_savedHelpFile;
};

}  // namespace

TEST_F(DialogProgramTest, F1OpensTheHelpPageBesideTheProgram)
{
    view.helpStarts = true;
    EXPECT_TRUE(PressF1(false, false, false));
    EXPECT_EQ(view.helpOpened, std::vector<std::string>{ root + "/help/levrin.html" });
    EXPECT_TRUE(view.messageBoxes.empty());

    // The page's name is the program's in lower case.
    StartAs("LEVRIN.EXE");
    EXPECT_TRUE(PressF1(false, false, false));
    EXPECT_EQ(view.helpOpened.size(), 2u);
    EXPECT_EQ(view.helpOpened.back(), root + "/help/levrin.html");
}

TEST_F(DialogProgramTest, HelpThatCannotStartIsReported)
{
    // The viewer fails to start.
    view.helpStarts = false;
    PressF1(false, false, false);
    EXPECT_EQ(view.helpOpened.size(), 1u);
    ASSERT_EQ(MessageTexts(), std::vector<std::string>{ "Failed to launch help." });
    EXPECT_EQ(view.messageBoxes[0].caption, "Levrin");
    EXPECT_EQ(view.messageBoxes[0].type, MB_ICONEXCLAMATION);

    // No page for this program: the viewer is not even asked.
    view.helpStarts = true;
    StartAs("Other");
    PressF1(false, false, false);
    EXPECT_EQ(view.helpOpened.size(), 1u);
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{ "Failed to launch help.", "Failed to launch help." }));
}

TEST_F(DialogProgramTest, F1WithAModifierDoesNothing)
{
    view.helpStarts = true;
    const bool modifiers[][3] = { { true, false, false }, { false, true, false }, { false, false, true } };
    for (const auto& held : modifiers)
        EXPECT_FALSE(PressF1(held[0], held[1], held[2]));
    EXPECT_TRUE(view.helpOpened.empty());
    EXPECT_TRUE(view.messageBoxes.empty());
}

TEST_F(DialogProgramTest, TheMainDialogGetsItsIconsAndMenuAndDrawsTheIconWhileMinimised)
{
    GetMapSelectApp()->SetSettingsKey("Duke3d");
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    CMapSelectDlg dlg(nullptr);
    AfxGetApp()->m_pMainWnd = &dlg;
    Run(dlg, [&](HWND dialog) {
        EXPECT_EQ(dialog->icons[ICON_BIG], icon);
        EXPECT_EQ(dialog->icons[ICON_SMALL], icon);
        EXPECT_EQ(SendMessageA(dialog, WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(icon));
        const std::vector<HostMenu::Item>& items = GetSystemMenu(dialog, FALSE)->items;
        ASSERT_EQ(items.size(), 6u);
        EXPECT_EQ(items[3].id, static_cast<UINT_PTR>(SC_CLOSE));
        EXPECT_EQ(items[4].flags, MF_SEPARATOR);
        EXPECT_EQ(items[5].id, static_cast<UINT_PTR>(IDM_ABOUTBOX));
        EXPECT_EQ(items[5].text, "&About Levrin...");

        // Not minimised: the default painting, and no icon.
        SendMessageA(dialog, WM_PAINT, 0, 0);
        EXPECT_EQ(dialog->paintDC.drawnIcon, nullptr);
        host::SystemCommand(dialog, SC_MINIMIZE);
        SendMessageA(dialog, WM_PAINT, 0, 0);
        EXPECT_EQ(dialog->paintDC.drawnIcon, icon);
        // Centred in the 294 by 353 client area.
        EXPECT_EQ(dialog->paintDC.drawnAt.x, (294 - 32 + 1) / 2);
        EXPECT_EQ(dialog->paintDC.drawnAt.y, (353 - 32 + 1) / 2);
    });
}
