// Joins a folder and a name with the host's separator, as the system's paths
// are built: no look at whether the folder is empty or already ends in one.
#pragma once

#include "CString.h"

CString JoinPath(const CString& strFolder, const char* pszName);
