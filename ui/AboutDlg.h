// The About box: name, version, credits, memory and free disk space.
#pragma once

#include "Framework.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
    ~CAboutDlg() override = default;

protected:
    BOOL OnInitDialog() override;

private:
    void ShowMemory() const;
    void ShowDiskSpace() const;

    DECLARE_MESSAGE_MAP()
};
