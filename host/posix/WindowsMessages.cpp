// Messages: a dialog's go to its procedure first and then to the default
// dialog handling; the predefined controls handle theirs here.
#include "WindowModel.h"

#include <cstring>

#include "WindowView.h"

namespace host {

namespace {

// The system keeps the low four bits of a system command for itself.
constexpr UINT kSystemCommandMask = 0xFFF0;

// The messages whose result a dialog procedure returns itself; for every
// other message that it handles, the result is 0.
bool ProcReturnsResult(UINT message)
{
    return message == WM_QUERYDRAGICON || message == WM_INITDIALOG;
}

void SetIconic(HWND dialog, bool iconic)
{
    if (dialog->iconic == iconic)
        return;
    dialog->iconic = iconic;
    if (WindowView* view = GetWindowView())
        view->IconicChanged(dialog);
}

void OnSystemCommand(HWND dialog, WPARAM command)
{
    switch (command & kSystemCommandMask) {
    case SC_CLOSE:
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        break;
    case SC_MINIMIZE:
        SetIconic(dialog, true);
        break;
    case SC_RESTORE:
        SetIconic(dialog, false);
        break;
    default:
        break;
    }
}

// A close request is the cancel command, as if Cancel had been clicked;
// a disabled Cancel button refuses it.
void OnClose(HWND dialog)
{
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel && !cancel->enabled)
        return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
}

LRESULT OnSetIcon(HWND dialog, WPARAM which, LPARAM icon)
{
    if (which != ICON_SMALL && which != ICON_BIG)
        return 0;
    HICON old = dialog->icons[which];
    dialog->icons[which] = reinterpret_cast<HICON>(icon);
    if (old != dialog->icons[which])
        NotifyChanged(dialog);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT OnSetText(HWND window, LPARAM text)
{
    std::string newText = text ? reinterpret_cast<const char*>(text) : "";
    if (newText != window->text) {
        window->text = newText;
        NotifyChanged(window);
    }
    return TRUE;
}

LRESULT OnGetText(HWND window, WPARAM size, LPARAM buffer)
{
    if (!buffer || size == 0)
        return 0;
    std::size_t copied = std::min(window->text.size(), static_cast<std::size_t>(size) - 1);
    auto* text = reinterpret_cast<char*>(buffer);
    std::memcpy(text, window->text.data(), copied);
    text[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

}  // namespace

LRESULT DefaultWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        return OnSetText(window, lParam);
    case WM_GETTEXT:
        return OnGetText(window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window->text.size());
    default:
        break;
    }
    if (!IsDialogWindow(window))
        return 0;
    switch (message) {
    case WM_SYSCOMMAND:
        OnSystemCommand(window, wParam);
        return 0;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_SETICON:
        return OnSetIcon(window, wParam, lParam);
    default:
        return 0;
    }
}

}  // namespace host

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    if (!host::IsLiveWindow(hWnd))
        return 0;
    if (host::IsDialogWindow(hWnd)) {
        INT_PTR handled = hWnd->proc(hWnd, Msg, wParam, lParam);
        if (handled)
            return host::ProcReturnsResult(Msg) ? handled : 0;
        return host::DefaultWindowMessage(hWnd, Msg, wParam, lParam);
    }
    if (host::IsControlOfClass(hWnd, "ListBox") && host::IsListBoxMessage(Msg))
        return host::ListBoxMessage(hWnd, Msg, wParam, lParam);
    return host::DefaultWindowMessage(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    if (!host::IsLiveWindow(hWnd))
        return FALSE;
    return static_cast<BOOL>(SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    if (!lpString || nMaxCount <= 0)
        return 0;
    lpString[0] = '\0';
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd)
{
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    return SetWindowTextA(GetDlgItem(hDlg, nIDDlgItem), lpString);
}
