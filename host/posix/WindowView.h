// What shows the host's windows to a user: the GTK view in the program, a
// scripted view in the headless tests. The defaults do nothing harmful.
#pragma once

#include <string>

#include "HostWindow.h"

class WindowView {
public:
    virtual ~WindowView() = default;

    // Implement to measure the template font: pixels per 4 horizontal and
    // 8 vertical dialog units.
    virtual SIZE FontBaseUnits(const std::string& face, int points);
    // Implement to report the screen less its panels.
    virtual RECT WorkArea();

    // A dialog and all its controls exist, still hidden.
    virtual void DialogCreated(HWND dialog);
    // The dialog has been initialised and placed: show it.
    virtual void DialogShown(HWND dialog);
    // The dialog is about to be freed.
    virtual void DialogDestroyed(HWND dialog);
    // The program changed a window's text, entries, selection, focus,
    // position, icons or system menu.
    virtual void WindowChanged(HWND window);
    // UpdateWindow: bring the window on screen up to date now.
    virtual void RepaintNow(HWND window);
    // The dialog was minimised or restored by a system command.
    virtual void IconicChanged(HWND dialog);

    // Implement to run the dialog's modal loop: return once dialog->ended.
    virtual void RunModalLoop(HWND dialog) = 0;
    // EndDialog was called: wake the loop.
    virtual void DialogEnded(HWND dialog);
    // Implement to show a modal message box; returns the button pressed.
    virtual int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                               UINT type) = 0;
    // Implement to run a modal folder chooser; false on Cancel.
    virtual bool BrowseForFolder(HWND owner, const std::string& title, std::string* path) = 0;
    // Implement to open a help page in the desktop's viewer; false if none starts.
    virtual bool OpenHelp(HWND owner, const std::string& helpPage);
};

// The view in use; null until one is set.
WindowView* GetWindowView();
void SetWindowView(WindowView* view);
