// The reduction of a file name to a map-list entry, over any bytes: at most
// 15 bytes, no ASCII capitals, no '.' after the first byte, and a prefix of
// the name apart from the letters' case.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "MapName.h"

namespace {

// Says which property broke, then stops the run as a finding.
void Check(bool bTrue, int line)
{
    if (bTrue)
        return;
    std::fprintf(stderr, "property of line %d broken\n", line);
    std::abort();
}

char LowerAscii(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string name(reinterpret_cast<const char*>(data), size);
    CString entry = MapNameFromFileName(name.c_str());
    std::string reduced = entry.Str();
    size_t given = std::strlen(name.c_str());
    Check(reduced.size() <= 15 && reduced.size() <= given, __LINE__);
    for (size_t i = 0; i < reduced.size(); ++i) {
        Check(!(reduced[i] >= 'A' && reduced[i] <= 'Z'), __LINE__);
        Check(i == 0 || reduced[i] != '.', __LINE__);
        Check(reduced[i] == LowerAscii(name[i]) || static_cast<unsigned char>(name[i]) >= 0x80, __LINE__);
    }
    // The cut is at the first '.' from the second byte on, or at 15 bytes.
    size_t dot = std::string(name.c_str()).find('.', 1);
    Check(reduced.size() == std::min({ given, size_t{ 15 }, dot }), __LINE__);
    Check(IsLevelFileName(entry) == (reduced.compare(0, 4, "e1l1") == 0), __LINE__);
    return 0;
}
