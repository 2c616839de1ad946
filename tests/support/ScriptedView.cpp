#include "ScriptedView.h"

#include "DialogManager.h"

ScriptedView::ScriptedView()
{
    SetWindowView(this);
}

ScriptedView::~ScriptedView()
{
    SetWindowView(nullptr);
}

RECT ScriptedView::WorkArea()
{
    return workArea;
}

void ScriptedView::DialogShown(HWND dialog)
{
    dialogsShown.push_back(dialog);
}

void ScriptedView::RunModalLoop(HWND dialog)
{
    if (!whileModal.empty()) {
        std::function<void(HWND)> script = std::move(whileModal.front());
        whileModal.pop_front();
        script(dialog);
    }
    // As a user would leave it: Escape, and if the dialog refuses that, the
    // run is ended for it so that no test hangs.
    if (!dialog->ended)
        host::PressKey(dialog, host::DialogKey::Escape, false, false, false);
    if (!dialog->ended)
        EndDialog(dialog, IDCANCEL);
}

int ScriptedView::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    messageBoxes.push_back({ owner, text, caption, type });
    return IDOK;
}

bool ScriptedView::BrowseForFolder(HWND owner, const std::string& title, std::string* path)
{
    folderPickers.push_back({ owner, title });
    if (folderAnswers.empty())
        return false;
    std::optional<std::string> answer = folderAnswers.front();
    folderAnswers.pop_front();
    if (!answer)
        return false;
    *path = *answer;
    return true;
}

bool ScriptedView::OpenHelp(HWND, const std::string& helpPage)
{
    helpOpened.push_back(helpPage);
    return helpStarts;
}

std::string ControlText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(control);
    if (length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(control, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::vector<std::string> ListEntries(HWND dialog, int id)
{
    HWND list = GetDlgItem(dialog, id);
    std::vector<std::string> entries;
    auto count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        auto length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string entry(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
        auto copied = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&entry[0]));
        entry.resize(static_cast<size_t>(copied > 0 ? copied : 0));
        entries.push_back(entry);
    }
    return entries;
}

int ListSelection(HWND dialog, int id)
{
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0));
}
