// Name comparisons that ignore the case of ASCII letters only, as the Windows
// file and registry names that this host stands in for do; bytes beyond
// ASCII compare exactly, so non-UTF-8 names never match by accident.
#pragma once

#include <string>

namespace host {

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b);
// '*' matches any run of bytes, '?' any one byte.
bool MatchesWildcard(const std::string& pattern, const std::string& name);

}  // namespace host
