// The end-to-end driver for the Windows build: a console program that runs
// beside Levrin under Wine, finds its windows from outside as a user's tools
// would, reads what they show and sends them clicks, keys and close requests.
//
//   levrin_driver [--caption TEXT] [--timeout MS] COMMAND [ARGS]
//
// Every wait polls for its condition until the deadline; a missed deadline
// or a missing window ends the driver with status 1 and a line on stderr.
// Output is key=value lines; CR and LF inside a value are written \r and \n.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kMainCaption[] = "Levrin (v1.1) ";
constexpr char kAppName[] = "Levrin";
constexpr char kMenuClass[] = "#32768";
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMapListId = 1003;
constexpr DWORD kErrorTextLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr DWORD kPollMs = 20;

struct CDriverOptions {
    std::string strCaption;  // empty: the command's own window
    DWORD dwTimeoutMs = 10000;
};

CDriverOptions g_options;

int Fail(const char* pszWhat)
{
    std::fprintf(stderr, "levrin_driver: %s\n", pszWhat);
    return 1;
}

std::string Escape(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '\r')
            escaped += "\\r";
        else if (c == '\n')
            escaped += "\\n";
        else
            escaped += c;
    }
    return escaped;
}

void PrintValue(const std::string& key, const std::string& value)
{
    std::printf("%s=%s\n", key.c_str(), Escape(value).c_str());
}

std::string RectText(const RECT& rect)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

// Waits until the probe yields a window, or the deadline passes.
template <typename Probe>
HWND WaitForWindow(Probe probe)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND hWnd = probe())
            return hWnd;
        if (GetTickCount() - start >= g_options.dwTimeoutMs)
            return nullptr;
        Sleep(kPollMs);
    }
}

// A visible dialog with that caption; the window turns visible only once
// its initialisation has run.
HWND FindVisibleDialog(const std::string& caption)
{
    HWND hWnd = FindWindowA(kDialogClass, caption.c_str());
    return hWnd && IsWindowVisible(hWnd) ? hWnd : nullptr;
}

const std::string& CaptionOr(const std::string& fallback)
{
    return g_options.strCaption.empty() ? fallback : g_options.strCaption;
}

HWND WaitForDialog(const std::string& fallbackCaption)
{
    std::string caption = CaptionOr(fallbackCaption);
    return WaitForWindow([&] { return FindVisibleDialog(caption); });
}

std::string WindowText(HWND hWnd)
{
    char text[4096] = {};
    SendMessageA(hWnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string ClassName(HWND hWnd)
{
    char name[64] = {};
    GetClassNameA(hWnd, name, sizeof name);
    return name;
}

// The focused window of the dialog's thread, which another process cannot
// ask GetFocus for.
HWND FocusOf(HWND hDialog)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hDialog, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::vector<HWND> ChildrenOf(HWND hDialog)
{
    std::vector<HWND> children;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

// Read as wide text: Wine hands a list entry to another process unconverted
// even when it is asked for ANSI text.
std::string ListEntry(HWND hList, LRESULT index)
{
    std::vector<WCHAR> wide(static_cast<size_t>(SendMessageW(hList, LB_GETTEXTLEN, index, 0)) + 1);
    LRESULT length = SendMessageW(hList, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide.data()));
    if (length <= 0)
        return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string entry(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(length), &entry[0], size, nullptr, nullptr);
    return entry;
}

void DumpListBox(HWND hList, const std::string& prefix)
{
    LRESULT count = SendMessageA(hList, LB_GETCOUNT, 0, 0);
    PrintValue(prefix + ".count", std::to_string(count));
    for (LRESULT i = 0; i < count; ++i) {
        PrintValue(prefix + "." + std::to_string(i), ListEntry(hList, i));
    }
    PrintValue(prefix + ".sel", std::to_string(SendMessageA(hList, LB_GETCURSEL, 0, 0)));
}

// Controls with an id of their own are keyed by it; the id-less statics
// (id 0xFFFF) by their place among them.
void DumpControls(HWND hDialog)
{
    int nStatic = 0;
    for (HWND hChild : ChildrenOf(hDialog)) {
        int id = GetDlgCtrlID(hChild);
        bool bIdLess = id == -1 || id == kMessageTextId;
        std::string key = bIdLess ? "static." + std::to_string(nStatic++)
                                               : "text." + std::to_string(id);
        PrintValue(key, WindowText(hChild));
        if (ClassName(hChild) == "ListBox")
            DumpListBox(hChild, "list." + std::to_string(id));
    }
}

void DumpWindow(HWND hDialog)
{
    PrintValue("caption", WindowText(hDialog));
    DumpControls(hDialog);
    HWND hFocus = FocusOf(hDialog);
    PrintValue("focus", hFocus ? std::to_string(GetDlgCtrlID(hFocus)) : "none");
    PrintValue("foreground", GetForegroundWindow() == hDialog ? "1" : "0");
    PrintValue("enabled", IsWindowEnabled(hDialog) ? "1" : "0");
    HWND hOwner = GetWindow(hDialog, GW_OWNER);
    PrintValue("owner", hOwner ? WindowText(hOwner) : "none");
    RECT rect;
    GetWindowRect(hDialog, &rect);
    PrintValue("rect", RectText(rect));
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    PrintValue("workarea", RectText(work));
}

int OnWaitDialog(const std::vector<std::string>&)
{
    return WaitForDialog(kMainCaption) ? 0 : Fail("no dialog appeared");
}

int OnDump(const std::vector<std::string>&)
{
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to dump");
    DumpWindow(hDialog);
    return 0;
}

// Posted, not sent: a handler that opens a message box would otherwise
// hold the driver until the box is closed.
int OnPress(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Fail("press takes a control id");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to press a button in");
    int id = std::atoi(args[0].c_str());
    HWND hButton = GetDlgItem(hDialog, id);
    if (!hButton)
        return Fail("no such control");
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hButton));
    return 0;
}

struct CKeyEntry {
    const char* pszName;
    UINT nKey;
    bool bAlt;
};

const CKeyEntry g_keys[] = {
    { "escape", VK_ESCAPE, false },
    { "enter", VK_RETURN, false },
    { "tab", VK_TAB, false },
    { "f1", VK_F1, false },
    { "alt+f4", VK_F4, true },
    { "alt+space", VK_SPACE, true },
};

const CKeyEntry* KeyNamed(const std::string& name)
{
    for (const CKeyEntry& key : g_keys) {
        if (name == key.pszName)
            return &key;
    }
    return nullptr;
}

// With Alt held the keystroke is a system key, as the keyboard makes it.
void PostKeyStroke(HWND hTarget, const CKeyEntry& key)
{
    LPARAM lParam = (static_cast<LPARAM>(MapVirtualKeyA(key.nKey, MAPVK_VK_TO_VSC)) << 16) | 1;
    UINT nDown = WM_KEYDOWN;
    UINT nUp = WM_KEYUP;
    if (key.bAlt) {
        lParam |= 1L << 29;
        nDown = WM_SYSKEYDOWN;
        nUp = WM_SYSKEYUP;
    }
    PostMessageA(hTarget, nDown, key.nKey, lParam);
    PostMessageA(hTarget, nUp, key.nKey, lParam | (1L << 30) | (1L << 31));
}

// The key goes to the focused control, where the dialog's own loop sees it
// as the user's keystroke.
int OnKey(const std::vector<std::string>& args)
{
    const CKeyEntry* pKey = args.size() == 1 ? KeyNamed(args[0]) : nullptr;
    if (!pKey)
        return Fail("key takes escape, enter, tab, f1, alt+f4 or alt+space");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to send a key to");
    HWND hFocus = FocusOf(hDialog);
    PostKeyStroke(hFocus ? hFocus : hDialog, *pKey);
    return 0;
}

// The caption's close box.
int OnClose(const std::vector<std::string>&)
{
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to close");
    PostMessageA(hDialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

int OnWaitGone(const std::vector<std::string>&)
{
    std::string caption = CaptionOr(kMainCaption);
    HWND hGone = WaitForWindow([&]() -> HWND {
        return FindWindowA(kDialogClass, caption.c_str()) ? nullptr : GetDesktopWindow();
    });
    return hGone ? 0 : Fail("the dialog is still there");
}

std::string ButtonTexts(HWND hDialog)
{
    std::string texts;
    for (HWND hChild : ChildrenOf(hDialog)) {
        if (ClassName(hChild) != "Button")
            continue;
        texts += texts.empty() ? "" : "|";
        texts += WindowText(hChild);
    }
    return texts;
}

int OnWaitFocus(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Fail("wait-focus takes a control id");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to watch the focus in");
    int id = std::atoi(args[0].c_str());
    HWND hFocused = WaitForWindow([&]() -> HWND {
        HWND hFocus = FocusOf(hDialog);
        return hFocus && GetDlgCtrlID(hFocus) == id ? hFocus : nullptr;
    });
    return hFocused ? 0 : Fail("the focus did not reach that control");
}

// Prints the box's text, then presses its OK button and waits for it to go.
int OnMessageBox(const std::vector<std::string>&)
{
    HWND hBox = WaitForDialog(kAppName);
    if (!hBox)
        return Fail("no message box appeared");
    PrintValue("text", WindowText(GetDlgItem(hBox, kMessageTextId)));
    PrintValue("buttons", ButtonTexts(hBox));
    HWND hOwner = GetWindow(hBox, GW_OWNER);
    PrintValue("owner", hOwner ? WindowText(hOwner) : "none");
    HWND hOk = GetDlgItem(hBox, IDOK);
    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(hOk));
    HWND hGone = WaitForWindow([&]() -> HWND { return IsWindow(hBox) ? nullptr : GetDesktopWindow(); });
    return hGone ? 0 : Fail("the message box did not close");
}

// Selects the entry as a click on it would, so that LB_GETCURSEL sees it.
HWND SelectEntry(HWND hDialog, const std::string& index)
{
    HWND hList = GetDlgItem(hDialog, kMapListId);
    if (!hList)
        return nullptr;
    WPARAM nIndex = static_cast<WPARAM>(std::atoi(index.c_str()));
    return SendMessageA(hList, LB_SETCURSEL, nIndex, 0) == LB_ERR ? nullptr : hList;
}

int OnSelect(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Fail("select takes an entry index");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to select in");
    return SelectEntry(hDialog, args[0]) ? 0 : Fail("no such entry");
}

// The list's own notification of a double-click on its selected entry.
int OnDblClick(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Fail("dblclick takes an entry index");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to double-click in");
    HWND hList = SelectEntry(hDialog, args[0]);
    if (!hList)
        return Fail("no such entry");
    PostMessageA(hDialog, WM_COMMAND, MAKEWPARAM(kMapListId, LBN_DBLCLK), reinterpret_cast<LPARAM>(hList));
    return 0;
}

// Text typed into a box, as the user leaves it there.
int OnSetText(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return Fail("settext takes a control id and a text");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to type into");
    HWND hControl = GetDlgItem(hDialog, std::atoi(args[0].c_str()));
    if (!hControl)
        return Fail("no such control");
    SendMessageA(hControl, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1].c_str()));
    return 0;
}

int OnWaitIconic(const std::vector<std::string>&)
{
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to watch");
    HWND hIconic = WaitForWindow([&] { return IsIconic(hDialog) ? hDialog : nullptr; });
    return hIconic ? 0 : Fail("the dialog was not minimised");
}

int OnSysCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Fail("syscommand takes a command id");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to send a system command to");
    WPARAM nCommand = static_cast<WPARAM>(std::strtoul(args[0].c_str(), nullptr, 0));
    PostMessageA(hDialog, WM_SYSCOMMAND, nCommand, 0);
    return 0;
}

HWND FindVisibleMenuOf(DWORD dwThread)
{
    for (HWND hMenu = FindWindowExA(nullptr, nullptr, kMenuClass, nullptr); hMenu;
         hMenu = FindWindowExA(nullptr, hMenu, kMenuClass, nullptr)) {
        if (IsWindowVisible(hMenu) && GetWindowThreadProcessId(hMenu, nullptr) == dwThread)
            return hMenu;
    }
    return nullptr;
}

// Opens the window menu with Alt+Space as the keyboard does, then chooses
// its last item with End and Enter. Another process cannot read the menu
// itself, and Wine adds an item of its own with the same access key.
int OnSysMenuLast(const std::vector<std::string>&)
{
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no dialog to open the menu of");
    HWND hFocus = FocusOf(hDialog);
    PostKeyStroke(hFocus ? hFocus : hDialog, *KeyNamed("alt+space"));
    DWORD dwThread = GetWindowThreadProcessId(hDialog, nullptr);
    HWND hMenu = WaitForWindow([&] { return FindVisibleMenuOf(dwThread); });
    if (!hMenu)
        return Fail("Alt+Space opened no menu");
    PostKeyStroke(hMenu, CKeyEntry{ "end", VK_END, false });
    PostKeyStroke(hMenu, *KeyNamed("enter"));
    HWND hClosed = WaitForWindow([&]() -> HWND { return FindVisibleMenuOf(dwThread) ? nullptr : GetDesktopWindow(); });
    return hClosed ? 0 : Fail("the menu stayed open");
}

// The figures the About box should show, measured here: the driver runs
// in the same current directory as the program.
int OnAboutFigures(const std::vector<std::string>&)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return Fail("no memory status");
    PrintValue("memory.kb", std::to_string(status.ullTotalPhys >> 10));
    char directory[MAX_PATH] = {};
    if (!GetCurrentDirectoryA(MAX_PATH, directory) || directory[1] != ':')
        return Fail("the current directory has no drive");
    char root[] = { directory[0], ':', '\\', '\0' };
    ULARGE_INTEGER freeToCaller, total, totalFree;
    if (!GetDiskFreeSpaceExA(root, &freeToCaller, &total, &totalFree))
        return Fail("no free space of the current drive");
    PrintValue("disk.kb", std::to_string(freeToCaller.QuadPart >> 10));
    PrintValue("disk.drive", std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(directory[0])))));
    return 0;
}

// The system's English text of an error code, as a failed file operation
// should report it.
int OnErrorText(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return Fail("errortext takes an error code");
    DWORD dwError = static_cast<DWORD>(std::strtoul(args[0].c_str(), nullptr, 0));
    char text[256] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, dwError, kErrorTextLanguage, text, sizeof text, nullptr))
        return Fail("the system has no text for that code");
    PrintValue("text", text);
    return 0;
}

// A tree view of another process, read through a block of that process's
// memory, since its item messages carry pointers.
class CRemoteTree {
public:
    explicit CRemoteTree(HWND hTree) : m_hTree(hTree)
    {
        DWORD dwProcess = 0;
        GetWindowThreadProcessId(hTree, &dwProcess);
        m_hProcess = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, dwProcess);
        if (m_hProcess)
            m_pBlock = static_cast<BYTE*>(VirtualAllocEx(m_hProcess, nullptr, kBlockSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~CRemoteTree()
    {
        if (m_pBlock)
            VirtualFreeEx(m_hProcess, m_pBlock, 0, MEM_RELEASE);
        if (m_hProcess)
            CloseHandle(m_hProcess);
    }
    CRemoteTree(const CRemoteTree&) = delete;
    CRemoteTree& operator=(const CRemoteTree&) = delete;

    bool IsOpen() const { return m_pBlock != nullptr; }

    HTREEITEM Next(HTREEITEM hItem, UINT nHow) const
    {
        return reinterpret_cast<HTREEITEM>(SendMessageW(m_hTree, TVM_GETNEXTITEM, nHow, reinterpret_cast<LPARAM>(hItem)));
    }

    std::vector<HTREEITEM> Children(HTREEITEM hItem) const
    {
        SendMessageW(m_hTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hItem));
        std::vector<HTREEITEM> children;
        for (HTREEITEM hChild = Next(hItem, hItem ? TVGN_CHILD : TVGN_ROOT); hChild; hChild = Next(hChild, TVGN_NEXT))
            children.push_back(hChild);
        return children;
    }

    std::string Text(HTREEITEM hItem) const
    {
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = reinterpret_cast<LPWSTR>(m_pBlock + sizeof item);
        item.cchTextMax = kTextChars;
        WCHAR text[kTextChars] = {};
        SIZE_T done = 0;
        if (!WriteProcessMemory(m_hProcess, m_pBlock, &item, sizeof item, &done)
            || !SendMessageW(m_hTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(m_pBlock))
            || !ReadProcessMemory(m_hProcess, m_pBlock + sizeof item, text, sizeof text - sizeof(WCHAR), &done))
            return std::string();
        char narrow[kTextChars * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        return narrow;
    }

    bool Select(HTREEITEM hItem) const
    {
        SendMessageW(m_hTree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hItem));
        return Next(nullptr, TVGN_CARET) == hItem;
    }

private:
    static constexpr SIZE_T kTextChars = 260;
    static constexpr SIZE_T kBlockSize = sizeof(TVITEMW) + kTextChars * sizeof(WCHAR);
    HWND m_hTree;
    HANDLE m_hProcess = nullptr;
    BYTE* m_pBlock = nullptr;
};

bool SameName(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// A drive shows as "Z:" or as a label with "(Z:)" in it.
bool NamesDrive(const std::string& text, const std::string& drive)
{
    return SameName(text, drive) || text.find("(" + drive + ")") != std::string::npos;
}

// The drive's item, at most two levels below the top (the desktop, then
// the computer).
HTREEITEM FindDrive(const CRemoteTree& tree, HTREEITEM hFrom, const std::string& drive, int nDepth)
{
    for (HTREEITEM hChild : tree.Children(hFrom)) {
        if (NamesDrive(tree.Text(hChild), drive))
            return hChild;
        if (nDepth > 0) {
            if (HTREEITEM hFound = FindDrive(tree, hChild, drive, nDepth - 1))
                return hFound;
        }
    }
    return nullptr;
}

std::vector<std::string> PathParts(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Walks the picker's tree down the folder's path as a user opens one
// level after the other, and selects the folder.
bool SelectFolder(const CRemoteTree& tree, const std::string& folder)
{
    std::vector<std::string> parts = PathParts(folder);
    if (parts.empty())
        return false;
    HTREEITEM hItem = FindDrive(tree, nullptr, parts[0], 2);
    if (!hItem) {
        std::fprintf(stderr, "levrin_driver: the picker shows no drive %s\n", parts[0].c_str());
        return false;
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        HTREEITEM hFound = nullptr;
        std::string seen;
        for (HTREEITEM hChild : tree.Children(hItem)) {
            std::string text = tree.Text(hChild);
            seen += text + "|";
            if (!hFound && SameName(text, parts[i]))
                hFound = hChild;
        }
        if (!hFound) {
            std::fprintf(stderr, "levrin_driver: no folder %s in the picker, only %s\n", parts[i].c_str(), seen.c_str());
            return false;
        }
        hItem = hFound;
    }
    return tree.Select(hItem);
}

HWND FindChildWithText(HWND hParent, const std::string& text)
{
    for (HWND hChild : ChildrenOf(hParent)) {
        if (WindowText(hChild) == text)
            return hChild;
    }
    return nullptr;
}

// The shell's picker: a dialog owned by the main one that shows the title.
HWND FindPicker(HWND hOwner, const std::string& title)
{
    for (HWND hBox = FindWindowExA(nullptr, nullptr, kDialogClass, nullptr); hBox;
         hBox = FindWindowExA(nullptr, hBox, kDialogClass, nullptr)) {
        if (IsWindowVisible(hBox) && GetWindow(hBox, GW_OWNER) == hOwner && FindChildWithText(hBox, title))
            return hBox;
    }
    return nullptr;
}

HWND FindChildOfClass(HWND hParent, const char* pszClass)
{
    for (HWND hChild : ChildrenOf(hParent)) {
        if (ClassName(hChild) == pszClass)
            return hChild;
    }
    return nullptr;
}

//   browse TITLE ok FOLDER | browse TITLE cancel
int OnBrowse(const std::vector<std::string>& args)
{
    bool bOk = args.size() == 3 && args[1] == "ok";
    if (!bOk && !(args.size() == 2 && args[1] == "cancel"))
        return Fail("browse takes a title, then ok and a folder, or cancel");
    HWND hDialog = WaitForDialog(kMainCaption);
    if (!hDialog)
        return Fail("no main dialog");
    HWND hPicker = WaitForWindow([&] { return FindPicker(hDialog, args[0]); });
    if (!hPicker)
        return Fail("no folder picker with that title");
    HWND hTree = FindChildOfClass(hPicker, WC_TREEVIEWA);
    if (!hTree)
        return Fail("the picker has no folder tree");
    if (bOk) {
        CRemoteTree tree(hTree);
        if (!tree.IsOpen())
            return Fail("cannot reach the picker's memory");
        if (!SelectFolder(tree, args[2]))
            return Fail("cannot select the folder in the picker");
    }
    int nButton = bOk ? IDOK : IDCANCEL;
    PostMessageA(hPicker, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hPicker, nButton)));
    HWND hGone = WaitForWindow([&]() -> HWND { return IsWindow(hPicker) ? nullptr : GetDesktopWindow(); });
    return hGone ? 0 : Fail("the picker did not close");
}

struct CCommandEntry {
    const char* pszName;
    int (*pfnRun)(const std::vector<std::string>& args);
};

const CCommandEntry g_commands[] = {
    { "wait-dialog", OnWaitDialog },
    { "dump", OnDump },
    { "press", OnPress },
    { "key", OnKey },
    { "close", OnClose },
    { "wait-gone", OnWaitGone },
    { "wait-focus", OnWaitFocus },
    { "messagebox", OnMessageBox },
    { "select", OnSelect },
    { "dblclick", OnDblClick },
    { "syscommand", OnSysCommand },
    { "sysmenu-last", OnSysMenuLast },
    { "settext", OnSetText },
    { "wait-iconic", OnWaitIconic },
    { "about-figures", OnAboutFigures },
    { "errortext", OnErrorText },
    { "browse", OnBrowse },
};

int Usage()
{
    std::fprintf(stderr, "usage: levrin_driver [--caption TEXT] [--timeout MS] COMMAND [ARGS]\ncommands:");
    for (const CCommandEntry& command : g_commands)
        std::fprintf(stderr, " %s", command.pszName);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    // Plain LF lines for the shell that reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    int next = 1;
    for (; next + 1 < argc && std::strncmp(argv[next], "--", 2) == 0; next += 2) {
        if (std::strcmp(argv[next], "--caption") == 0)
            g_options.strCaption = argv[next + 1];
        else if (std::strcmp(argv[next], "--timeout") == 0)
            g_options.dwTimeoutMs = static_cast<DWORD>(std::strtoul(argv[next + 1], nullptr, 10));
        else
            return Usage();
    }
    if (next >= argc)
        return Usage();
    std::vector<std::string> args(argv + next + 1, argv + argc);
    for (const CCommandEntry& command : g_commands) {
        if (std::strcmp(command.pszName, argv[next]) == 0)
            return command.pfnRun(args);
    }
    return Usage();
}
