#include "PathJoin.h"

CString JoinPath(const CString& strFolder, const char* pszName)
{
    CString path(strFolder);
    path += kPathSeparator;
    path += pszName;
    return path;
}
