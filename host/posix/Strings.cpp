// Name comparisons shared by the file and the settings services.
#include "AsciiCase.h"

namespace host {

namespace {

unsigned char FoldAscii(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

}  // namespace

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

// Iterative, with one backtrack point for the last '*', so that hostile
// patterns such as "*a*a*a*b" stay linear per star instead of exponential.
bool MatchesWildcard(const std::string& pattern, const std::string& name)
{
    size_t p = 0;
    size_t n = 0;
    size_t starP = std::string::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldAscii(pattern[p]) == FoldAscii(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

}  // namespace host
