#include "MapName.h"

#include <cstring>

namespace {

constexpr int kMaxMapName = 15;

}  // namespace

CString MapNameFromFileName(const char* pszFileName)
{
    int length = static_cast<int>(strnlen(pszFileName, kMaxMapName));
    CString name(pszFileName, length);
    int dot = name.Find('.', 1);
    if (dot > 0)
        name = name.Left(dot);
    name.MakeLower();
    return name;
}

bool IsLevelFileName(const CString& strName)
{
    return strName.Find("e1l1") == 0;
}
