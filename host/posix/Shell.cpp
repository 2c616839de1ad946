// The shell's folder picker over the view's chooser, with item lists that
// are just the chosen path.
#include <cstring>
#include <set>

#include "WindowModel.h"
#include "WindowView.h"

struct ITEMIDLIST {
    std::string path;
};

namespace {

// Display names go into a buffer of MAX_PATH characters.
constexpr std::size_t kDisplayNameMax = MAX_PATH - 1;

std::set<const ITEMIDLIST*>& ItemLists()
{
    static std::set<const ITEMIDLIST*> lists;
    return lists;
}

// The one allocator, never freed; it frees only the item lists made here.
class CShellAllocator : public IMalloc {
public:
    void Free(void* pv) override
    {
        auto* list = static_cast<ITEMIDLIST*>(pv);
        if (ItemLists().erase(list))
            delete list;
    }
    unsigned long Release() override { return 1; }
};

// The folder's own name, as the picker shows it: the last part of the path.
std::string LastComponent(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || path.size() == 1)
        return path;
    return path.substr(slash + 1);
}

void CopyTruncated(const std::string& text, char* buffer, std::size_t max)
{
    std::size_t copied = std::min(text.size(), max);
    std::memcpy(buffer, text.data(), copied);
    buffer[copied] = '\0';
}

}  // namespace

HRESULT WINAPI SHGetMalloc(LPMALLOC* ppMalloc)
{
    static CShellAllocator allocator;
    if (!ppMalloc)
        return E_FAIL;
    *ppMalloc = &allocator;
    return S_OK;
}

LPITEMIDLIST WINAPI SHBrowseForFolderA(LPBROWSEINFOA lpbi)
{
    WindowView* view = GetWindowView();
    if (!lpbi || !view)
        return nullptr;
    std::string path;
    bool chosen = false;
    {
        host::CInputBlock ownerBlock(lpbi->hwndOwner);
        chosen = view->BrowseForFolder(lpbi->hwndOwner, lpbi->lpszTitle ? lpbi->lpszTitle : "", &path);
    }
    if (!chosen)
        return nullptr;
    if (lpbi->pszDisplayName)
        CopyTruncated(LastComponent(path), lpbi->pszDisplayName, kDisplayNameMax);
    auto* list = new ITEMIDLIST{ path };
    ItemLists().insert(list);
    return list;
}

BOOL WINAPI SHGetPathFromIDListA(LPCITEMIDLIST pidl, LPSTR pszPath)
{
    if (!pszPath)
        return FALSE;
    pszPath[0] = '\0';
    if (!ItemLists().count(pidl) || pidl->path.size() >= MAX_PATH)
        return FALSE;
    CopyTruncated(pidl->path, pszPath, MAX_PATH - 1);
    return TRUE;
}
