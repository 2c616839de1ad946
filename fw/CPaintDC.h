// A paint context: BeginPaint on construction, EndPaint on destruction.
#pragma once

#include "Platform.h"

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    HDC GetSafeHdc() const { return m_hDC; }
    void DrawIcon(int x, int y, HICON hIcon) const;

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
    HDC m_hDC;
};
