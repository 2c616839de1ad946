// The view of the Linux executable: every host dialog as a GTK 3 window,
// the message box, the folder picker and the help viewer of the desktop.
#pragma once

#include <string>

#include "WindowView.h"

class CGtkView : public WindowView {
public:
    CGtkView();  // call after gtk_init

    SIZE FontBaseUnits(const std::string& face, int points) override;
    RECT WorkArea() override;

    void DialogCreated(HWND dialog) override;
    void DialogShown(HWND dialog) override;
    void DialogDestroyed(HWND dialog) override;
    void WindowChanged(HWND window) override;
    void RepaintNow(HWND window) override;
    void IconicChanged(HWND dialog) override;

    void RunModalLoop(HWND dialog) override;
    void DialogEnded(HWND dialog) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;
    bool BrowseForFolder(HWND owner, const std::string& title, std::string* path) override;
    bool OpenHelp(HWND owner, const std::string& helpPage) override;
};
