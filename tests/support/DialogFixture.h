// What every headless dialog test starts from: its own temporary tree with a
// settings home, a map folder and a game folder, the program named "levrin",
// and a scripted user in place of the screen.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ScriptedView.h"

// What a user sees of the main dialog at one moment.
struct MainDialogLook {
    std::string mapBox;
    std::string exeBox;
    std::string label;
    std::vector<std::string> entries;
    int selection = -1;
};

class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new, empty folder in the test's tree.
    std::string NewFolder(const std::string& name) const;
    // A folder in the test's tree that is not there.
    std::string MissingFolder() const;

    // Settings through the store's own interface, section "Levrin".
    void Store(const char* name, const std::string& value) const;
    std::string Stored(const char* name) const;
    std::string SettingsFile() const;
    std::optional<std::string> SettingsBytes() const;

    // The program's start-up, with the queued scripts as the user.
    void RunProgram();
    // Queues what the user does while the next dialog is open.
    void WhileOpen(std::function<void(HWND dialog)> script);
    // Runs the program and returns what the main dialog showed on opening.
    MainDialogLook LookAtStart();

    // Permission bits do not bind root: from here to the end of the test
    // the process acts as an ordinary user owning the test's tree.
    void ActAsOrdinaryUser();

    // Texts of the message boxes shown so far.
    std::vector<std::string> MessageTexts() const;

    std::string root;
    std::string configHome;
    std::string mapDir;
    std::string gameDir;
    ScriptedView view;

private:
    bool m_bDroppedRights = false;
};

MainDialogLook LookAt(HWND dialog);

void WriteFile(const std::string& path, const std::string& bytes);
// The bytes of a regular file; nothing for a folder or a missing file.
std::optional<std::string> ReadFile(const std::string& path);
// Names in a folder, sorted; empty when it cannot be read.
std::vector<std::string> FolderEntries(const std::string& folder);
void MakeFolder(const std::string& path);

// The platform's text for an error code (an errno value on this host), as
// a failed file operation shows it.
std::string SystemText(int code);

// A click on the dialog's control with this id.
void Click(HWND dialog, int id);

// The program's fixed messages.
extern const char kNoGameFolderMessage[];
extern const char kNoMapFolderMessage[];
extern const char kNoGameHereMessage[];
extern const char kDeletedMessage[];
extern const char kPlaceholderEntry[];
std::string InstalledMessage(const std::string& source, const std::string& target);

