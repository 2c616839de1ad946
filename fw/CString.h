// The counted string of the framework: ANSI text in the system's code page,
// which may hold any bytes, zero bytes included.
#pragma once

#include <string>

#include "Platform.h"

class CString {
public:
    CString() = default;
    CString(const char* psz);  // NOLINT: converts like the text it holds
    CString(const char* pch, int nLength);
    CString(const std::string& str) : m_str(str) {}  // NOLINT

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const { return m_str[static_cast<size_t>(nIndex)]; }
    operator const char*() const { return m_str.c_str(); }  // NOLINT
    const std::string& Str() const { return m_str; }

    CString& operator=(const char* psz);
    CString& operator+=(const CString& str);
    CString& operator+=(char ch);
    friend CString operator+(const CString& a, const CString& b);
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }

    // Index of the first occurrence at or after nStart, or -1.
    int Find(const char* pszSub, int nStart = 0) const;
    int Find(char ch, int nStart = 0) const;
    int ReverseFind(char ch) const;
    CString Left(int nCount) const;
    CString Mid(int nFirst) const;

    // Lower-cases in place by the platform's rules for the user's language.
    void MakeLower();

    // printf-style formatting with no length limit.
    void Format(const char* pszFormat, ...);
    // Loads a string resource; false (and empty) when it is missing.
    bool LoadString(UINT nID);

private:
    std::string m_str;
};
