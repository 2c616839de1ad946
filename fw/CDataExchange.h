// Dialog data exchange: moves values between members and controls.
#pragma once

#include "CString.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, bool bSaveAndValidate)
        : m_pDlgWnd(pDlgWnd), m_bSaveAndValidate(bSaveAndValidate) {}

    CWnd* m_pDlgWnd;
    bool m_bSaveAndValidate;  // true: controls to members
};

// A control's text and a string member.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A list box's selected entry and a string member.
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
