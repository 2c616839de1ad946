// The list-box messages of the predefined ListBox control.
#include "WindowModel.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace host {

namespace {

unsigned char FoldAscii(char ch)
{
    auto byte = static_cast<unsigned char>(ch);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Byte order with ASCII letters folded to lower case.
bool LessIgnoringCase(const std::string& a, const std::string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldAscii(x) < FoldAscii(y); });
}

bool BeginsIgnoringCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

bool IsEntry(HWND list, WPARAM index)
{
    return index < list->items.size();
}

void SetSelection(HWND list, int index)
{
    if (list->curSel == index)
        return;
    list->curSel = index;
    NotifyChanged(list);
}

LRESULT AddString(HWND list, LPARAM text)
{
    if (!text)
        return LB_ERR;
    std::string entry(reinterpret_cast<const char*>(text));
    // A sorted list puts an entry after those equal to it, so that entries
    // keep the order in which they came.
    std::size_t at = list->items.size();
    if (list->style & LBS_SORT)
        at = list->items.upper_bound(entry, LessIgnoringCase);
    auto index = static_cast<int>(at);
    list->items.insert(at, std::move(entry));
    // The selection stays on the entry that had it.
    if (list->curSel >= index)
        ++list->curSel;
    NotifyChanged(list);
    return index;
}

LRESULT ResetContent(HWND list)
{
    list->items.clear();
    list->curSel = -1;
    NotifyChanged(list);
    return 0;
}

// -1 clears the selection and, as on Windows, also answers LB_ERR; an
// index past the entries clears it too.
LRESULT SetCurSel(HWND list, WPARAM index)
{
    if (!IsEntry(list, index)) {
        SetSelection(list, -1);
        return LB_ERR;
    }
    SetSelection(list, static_cast<int>(index));
    return static_cast<LRESULT>(index);
}

LRESULT GetText(HWND list, WPARAM index, LPARAM buffer)
{
    if (!IsEntry(list, index) || !buffer)
        return LB_ERR;
    const std::string& entry = list->items[index];
    std::memcpy(reinterpret_cast<char*>(buffer), entry.c_str(), entry.size() + 1);
    return static_cast<LRESULT>(entry.size());
}

// Searches from the entry after the start (from the top for -1), wrapping.
LRESULT SelectString(HWND list, WPARAM start, LPARAM text)
{
    if (!text)
        return LB_ERR;
    std::string prefix(reinterpret_cast<const char*>(text));
    std::size_t count = list->items.size();
    std::size_t first = IsEntry(list, start) ? start + 1 : 0;
    for (std::size_t step = 0; step < count; ++step) {
        std::size_t index = (first + step) % count;
        if (BeginsIgnoringCase(list->items[index], prefix)) {
            SetSelection(list, static_cast<int>(index));
            return static_cast<LRESULT>(index);
        }
    }
    return LB_ERR;
}

}  // namespace

bool IsListBoxMessage(UINT message)
{
    return message >= LB_ADDSTRING && message <= LB_SELECTSTRING;
}

LRESULT ListBoxMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LB_ADDSTRING:
        return AddString(list, lParam);
    case LB_RESETCONTENT:
        return ResetContent(list);
    case LB_SETCURSEL:
        return SetCurSel(list, wParam);
    case LB_GETCURSEL:
        return list->curSel;
    case LB_GETTEXT:
        return GetText(list, wParam, lParam);
    case LB_GETTEXTLEN:
        return IsEntry(list, wParam) ? static_cast<LRESULT>(list->items[wParam].size()) : LB_ERR;
    case LB_GETCOUNT:
        return static_cast<LRESULT>(list->items.size());
    case LB_SELECTSTRING:
        return SelectString(list, wParam, lParam);
    default:
        return 0;
    }
}

}  // namespace host
