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

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kMainCaption[] = "Levrin (v1.1) ";
constexpr char kAppName[] = "Levrin";
constexpr int kMessageTextId = 0xFFFF;
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
        return Fail("key takes escape, enter, tab, f1 or alt+f4");
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
