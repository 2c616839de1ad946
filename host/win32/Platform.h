// The platform interface on Windows: the system's own headers.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shlobj.h>

// Joins a folder and a name in the paths that the system builds.
constexpr char kPathSeparator = '\\';
