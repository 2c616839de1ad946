// A window view for headless tests: no screen. The test scripts what the
// user does while a dialog runs, and reads back what the program showed.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "WindowView.h"

class ScriptedView : public WindowView {
public:
    struct MessageBoxShown {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };
    struct FolderPickerShown {
        HWND owner;
        std::string title;
    };

    ScriptedView();   // installs itself as the view
    ~ScriptedView() override;  // and uninstalls

    // What the user does while a dialog's modal loop runs; the dialog of
    // that loop is passed in. Taken in order, one per modal run (the About
    // box's run takes the next one). A run without a script, or whose
    // script leaves the dialog open, is ended with IDCANCEL.
    std::deque<std::function<void(HWND dialog)>> whileModal;
    // Answers of the folder picker, in order: a path, or nullopt for Cancel.
    std::deque<std::optional<std::string>> folderAnswers;
    // What OpenHelp reports.
    bool helpStarts = false;
    RECT workArea = { 0, 0, 1024, 768 };

    // What was shown.
    std::vector<MessageBoxShown> messageBoxes;
    std::vector<FolderPickerShown> folderPickers;
    std::vector<std::string> helpOpened;
    std::vector<HWND> dialogsShown;

    RECT WorkArea() override;
    void DialogShown(HWND dialog) override;
    void RunModalLoop(HWND dialog) override;
    int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                       UINT type) override;
    bool BrowseForFolder(HWND owner, const std::string& title, std::string* path) override;
    bool OpenHelp(HWND owner, const std::string& helpPage) override;
};

// Reading a dialog as a user sees it.
std::string ControlText(HWND dialog, int id);
std::vector<std::string> ListEntries(HWND dialog, int id);
int ListSelection(HWND dialog, int id);
