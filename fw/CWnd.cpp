#include "CWnd.h"

#include <vector>

CWnd CWnd::GetDlgItem(int nID) const
{
    return CWnd(::GetDlgItem(m_hWnd, nID));
}

void CWnd::SetDlgItemText(int nID, const char* pszText) const
{
    ::SetDlgItemTextA(m_hWnd, nID, pszText);
}

void CWnd::SetWindowText(const char* pszText) const
{
    ::SetWindowTextA(m_hWnd, pszText);
}

CString CWnd::GetWindowText() const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    if (length <= 0)
        return CString();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextA(m_hWnd, buffer.data(), length + 1);
    return CString(buffer.data(), copied > 0 ? copied : 0);
}

void CWnd::UpdateWindow() const
{
    ::UpdateWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT nMessage, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, nMessage, wParam, lParam);
}

bool CWnd::IsIconic() const
{
    return ::IsIconic(m_hWnd) != FALSE;
}

void CWnd::GetClientRect(RECT* pRect) const
{
    ::GetClientRect(m_hWnd, pRect);
}

HMENU CWnd::GetSystemMenu(bool bRevert) const
{
    return ::GetSystemMenu(m_hWnd, bRevert ? TRUE : FALSE);
}

HICON CWnd::SetIcon(HICON hIcon, bool bBigIcon) const
{
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(hIcon)));
}

namespace {

// Moves one edge pair inside [low, high): the near edge wins when the
// window is larger than the area.
LONG ClampToArea(LONG start, LONG length, LONG low, LONG high)
{
    if (start < low)
        return low;
    if (start + length > high)
        return high - length < low ? low : high - length;
    return start;
}

}  // namespace

void CWnd::CenterWindow() const
{
    RECT work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    LONG width = window.right - window.left;
    LONG height = window.bottom - window.top;

    RECT centre = work;
    HWND hOwner = ::GetParent(m_hWnd);
    if (hOwner && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &centre);

    LONG left = (centre.left + centre.right) / 2 - width / 2;
    LONG top = (centre.top + centre.bottom) / 2 - height / 2;
    left = ClampToArea(left, width, work.left, work.right);
    top = ClampToArea(top, height, work.top, work.bottom);
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
