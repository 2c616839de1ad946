// Where windows lie: the work area, window and client rectangles, moves,
// the minimised state and the system's metrics.
#include "WindowModel.h"

#include "WindowView.h"

namespace {

constexpr int kIconSize = 32;

bool WorkArea(RECT* area)
{
    WindowView* view = GetWindowView();
    if (!view)
        return false;
    *area = view->WorkArea();
    return true;
}

}  // namespace

int WINAPI GetSystemMetrics(int nIndex)
{
    RECT area;
    switch (nIndex) {
    case SM_CXICON:
    case SM_CYICON:
        return kIconSize;
    // The screen reaches at least as far as its work area.
    case SM_CXSCREEN:
        return WorkArea(&area) ? area.right : 0;
    case SM_CYSCREEN:
        return WorkArea(&area) ? area.bottom : 0;
    default:
        return 0;
    }
}

BOOL WINAPI SystemParametersInfoA(UINT uiAction, UINT, void* pvParam, UINT)
{
    if (uiAction != SPI_GETWORKAREA || !pvParam)
        return FALSE;
    return WorkArea(static_cast<RECT*>(pvParam)) ? TRUE : FALSE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    if (!host::IsLiveWindow(hWnd) || !lpRect)
        return FALSE;
    *lpRect = { 0, 0, hWnd->rect.right - hWnd->rect.left, hWnd->rect.bottom - hWnd->rect.top };
    return TRUE;
}

// The view draws the frame around a dialog's client area, so the model
// knows no frame: a dialog's window is its client area.
BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    if (!host::IsLiveWindow(hWnd) || !lpRect)
        return FALSE;
    *lpRect = hWnd->rect;
    if (host::IsDialogWindow(hWnd))
        return TRUE;
    const RECT& dialog = hWnd->parent->rect;
    *lpRect = { lpRect->left + dialog.left, lpRect->top + dialog.top, lpRect->right + dialog.left,
                lpRect->bottom + dialog.top };
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags)
{
    if (!host::IsLiveWindow(hWnd))
        return FALSE;
    RECT& rect = hWnd->rect;
    LONG width = (uFlags & SWP_NOSIZE) ? rect.right - rect.left : cx;
    LONG height = (uFlags & SWP_NOSIZE) ? rect.bottom - rect.top : cy;
    rect = { X, Y, X + width, Y + height };
    host::NotifyChanged(hWnd);
    return TRUE;
}

BOOL WINAPI IsIconic(HWND hWnd)
{
    return host::IsDialogWindow(hWnd) && hWnd->iconic ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd)
{
    if (!host::IsLiveWindow(hWnd))
        return FALSE;
    if (WindowView* view = GetWindowView())
        view->RepaintNow(hWnd);
    return TRUE;
}
