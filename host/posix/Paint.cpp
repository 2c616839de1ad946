// Painting without pixels: each window's paint context records what the
// program drew, and the view draws that.
#include "WindowModel.h"

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    if (!host::IsLiveWindow(hWnd) || !lpPaint)
        return nullptr;
    hWnd->paintDC = HostDC();
    hWnd->paintDC.window = hWnd;
    lpPaint->hdc = &hWnd->paintDC;
    lpPaint->fErase = TRUE;
    GetClientRect(hWnd, &lpPaint->rcPaint);
    return lpPaint->hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    if (!host::IsLiveWindow(hWnd) || !lpPaint || lpPaint->hdc != &hWnd->paintDC)
        return FALSE;
    host::NotifyChanged(hWnd);
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon)
{
    if (!hDC || !hIcon || !host::IsLiveWindow(hDC->window))
        return FALSE;
    hDC->drawnIcon = hIcon;
    hDC->drawnAt = { X, Y };
    return TRUE;
}
