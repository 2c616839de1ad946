// A window of the framework: a thin wrapper over a window handle.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

    HWND GetSafeHwnd() const { return m_hWnd; }

    // The control with the given id, as a wrapper that does not own it.
    CWnd GetDlgItem(int nID) const;
    void SetDlgItemText(int nID, const char* pszText) const;

    void SetWindowText(const char* pszText) const;
    CString GetWindowText() const;
    void UpdateWindow() const;
    LRESULT SendMessage(UINT nMessage, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool IsIconic() const;
    void GetClientRect(RECT* pRect) const;
    HMENU GetSystemMenu(bool bRevert) const;
    HICON SetIcon(HICON hIcon, bool bBigIcon) const;

    // Centres the window over its owner, or over the work area when it has
    // none or the owner is minimised, and keeps it inside the work area.
    void CenterWindow() const;

    // Asks the window for the default handling of the message being
    // dispatched to it, once its handler returns.
    void Default() { m_bCallDefault = true; }

    HWND m_hWnd = nullptr;

protected:
    bool m_bCallDefault = false;
};
