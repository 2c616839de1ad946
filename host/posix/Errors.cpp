// The calling thread's last error, an errno value on this host, and its text.
#include "Platform.h"

#include <cerrno>
#include <cstring>
#include <limits>

namespace {

thread_local DWORD tLastError = 0;

constexpr DWORD kFormatAllocateBuffer = 0x00000100u;

}  // namespace

DWORD WINAPI GetLastError()
{
    return tLastError;
}

void WINAPI SetLastError(DWORD dwErrCode)
{
    tLastError = dwErrCode;
}

// The C library's English description, whatever the user's locale: the
// caller asks for English text, and the same cause reads the same every time.
DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID, DWORD dwMessageId, DWORD, LPSTR lpBuffer,
                            DWORD nSize, void*)
{
    if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) || (dwFlags & kFormatAllocateBuffer) || !lpBuffer) {
        SetLastError(EINVAL);
        return 0;
    }
    const char* text = dwMessageId <= static_cast<DWORD>(std::numeric_limits<int>::max())
                           ? strerrordesc_np(static_cast<int>(dwMessageId))
                           : nullptr;
    if (!text) {
        SetLastError(EINVAL);
        return 0;
    }
    size_t length = std::strlen(text);
    if (length + 1 > nSize) {
        SetLastError(ERANGE);
        return 0;
    }
    std::memcpy(lpBuffer, text, length + 1);
    return static_cast<DWORD>(length);
}
