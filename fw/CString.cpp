#include "CString.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CWinApp.h"

CString::CString(const char* psz) : m_str(psz ? psz : "") {}

CString::CString(const char* pch, int nLength) : m_str(pch, static_cast<size_t>(nLength)) {}

CString& CString::operator=(const char* psz)
{
    m_str = psz ? psz : "";
    return *this;
}

CString& CString::operator+=(const CString& str)
{
    m_str += str.m_str;
    return *this;
}

CString& CString::operator+=(char ch)
{
    m_str += ch;
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    CString result(a);
    result += b;
    return result;
}

int CString::Find(const char* pszSub, int nStart) const
{
    size_t pos = m_str.find(pszSub, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(char ch, int nStart) const
{
    size_t pos = m_str.find(ch, static_cast<size_t>(nStart));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int nCount) const
{
    return CString(m_str.substr(0, static_cast<size_t>(nCount)));
}

CString CString::Mid(int nFirst) const
{
    if (nFirst >= GetLength())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(nFirst)));
}

void CString::MakeLower()
{
    // CharLowerA stops at the first zero byte, so each zero-terminated run
    // is lowered on its own.
    for (size_t start = 0; start < m_str.size(); start += std::strlen(&m_str[start]) + 1)
        CharLowerA(&m_str[start]);
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (length < 0) {
        m_str.clear();
    } else {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), pszFormat, args);
        m_str.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
}

bool CString::LoadString(UINT nID)
{
    // String resources hold at most 4097 characters with their terminator.
    char buffer[4097];
    int length = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, static_cast<int>(sizeof buffer));
    m_str.assign(buffer, static_cast<size_t>(length > 0 ? length : 0));
    return length > 0;
}
