// The system's parts of a dialog: its system menu, message boxes and the
// help viewer.
#include "WindowModel.h"

#include <sys/stat.h>

#include "WindowView.h"

namespace {

void AppendItem(HMENU menu, UINT flags, UINT_PTR id, const char* text)
{
    menu->items.push_back({ flags, id, text });
}

// The system's own items of a dialog's window menu.
std::unique_ptr<HostMenu> DefaultSystemMenu(DWORD style)
{
    auto menu = std::make_unique<HostMenu>();
    AppendItem(menu.get(), MF_STRING, SC_MOVE, "&Move");
    if (style & WS_MINIMIZEBOX)
        AppendItem(menu.get(), MF_STRING, SC_MINIMIZE, "Mi&nimize");
    AppendItem(menu.get(), MF_SEPARATOR, 0, "");
    AppendItem(menu.get(), MF_STRING, SC_CLOSE, "&Close");
    return menu;
}

// The dialog whose system menu this is, among the dialogs being run.
HWND OwnerOfMenu(HMENU menu)
{
    for (HWND dialog : host::RunningDialogs()) {
        if (dialog->systemMenu.get() == menu)
            return dialog;
    }
    return nullptr;
}

std::string LowerAscii(std::string text)
{
    for (char& ch : text) {
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    }
    return text;
}

bool IsFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The page that stands for a help file or program: help/<name>.html in its
// folder, the name lower-cased and without its extension, or, once
// installed, ../share/<name>/help/<name>.html from a bin folder; empty if
// absent.
std::string HelpPageBeside(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    name = LowerAscii(name);
    std::string page = folder + "/help/" + name + ".html";
    if (IsFile(page))
        return page;
    std::string installed = folder + "/../share/" + name + "/help/" + name + ".html";
    return IsFile(installed) ? installed : std::string();
}

// The help file is served as an HTML page beside the executable.
std::string HelpPageFor(const char* helpFile)
{
    std::string page = HelpPageBeside(helpFile);
    if (!page.empty())
        return page;
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return std::string();
    return HelpPageBeside(program);
}

}  // namespace

HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert)
{
    if (!host::IsDialogWindow(hWnd) || !(hWnd->style & WS_SYSMENU))
        return nullptr;
    if (!hWnd->systemMenu || bRevert) {
        hWnd->systemMenu = DefaultSystemMenu(hWnd->style);
        host::NotifyChanged(hWnd);
    }
    // Reverting answers null, as on Windows.
    return bRevert ? nullptr : hWnd->systemMenu.get();
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem)
{
    if (!hMenu)
        return FALSE;
    if (uFlags & MF_SEPARATOR) {
        AppendItem(hMenu, MF_SEPARATOR, 0, "");
    } else {
        if (!lpNewItem)
            return FALSE;
        AppendItem(hMenu, uFlags, uIDNewItem, lpNewItem);
    }
    if (HWND dialog = OwnerOfMenu(hMenu))
        host::NotifyChanged(dialog);
    return TRUE;
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    WindowView* view = GetWindowView();
    if (!view)
        return 0;
    host::CInputBlock ownerBlock(hWnd);
    return view->ShowMessageBox(hWnd, lpText ? lpText : "", lpCaption ? lpCaption : "Error", uType);
}

BOOL WINAPI WinHelpA(HWND hWndMain, LPCSTR lpszHelp, UINT uCommand, ULONG_PTR)
{
    if (uCommand == HELP_QUIT)
        return TRUE;
    WindowView* view = GetWindowView();
    if (!view || !lpszHelp)
        return FALSE;
    std::string page = HelpPageFor(lpszHelp);
    if (page.empty())
        return FALSE;
    return view->OpenHelp(hWndMain, page) ? TRUE : FALSE;
}
