// How a .map file's name becomes a map-list entry.
#pragma once

#include "CString.h"

// The single entry of a list whose folder search found nothing.
constexpr char kNoMapsEntry[] = "No map files :-(";

// At most the first 15 characters, cut before the first '.' found from the
// second character on, lower-cased.
CString MapNameFromFileName(const char* pszFileName);

// Names of the level file itself, in any case, are never listed.
bool IsLevelFileName(const CString& strName);
