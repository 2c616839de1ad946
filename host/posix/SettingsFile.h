// One settings file: INI sections of name=value lines, each value the bytes
// of one registry value. Lines this code does not understand (comments,
// blank lines, hand-made entries) are kept as they are. Every change is
// made under a lock, from the file as it is then, and written atomically.
#pragma once

#include <string>

namespace host {

// The text forms of names and values in the file: printable UTF-8 stays,
// every other byte becomes \xHH and '\' becomes "\\", so that any bytes fit
// one line and read back whole.
std::string EscapeSettingsName(const std::string& name);
std::string EscapeSettingsSection(const std::string& section);
// Registry data is stored as text: one final zero byte (the terminator of a
// REG_SZ) is implied, and data without one is marked by a closing "\!".
std::string EncodeSettingsData(const std::string& data);
std::string DecodeSettingsData(const std::string& text);
// Undoes the escapes; a '\' that starts none is kept as written.
std::string UnescapeSettingsText(const std::string& text);

class SettingsFile {
public:
    explicit SettingsFile(std::string path);

    // Each returns 0 or an errno value.
    int HasSection(const std::string& section, bool* pbFound) const;
    int AddSection(const std::string& section) const;
    int ReadValue(const std::string& section, const std::string& name, std::string* pData,
                  bool* pbFound) const;
    int WriteValue(const std::string& section, const std::string& name, const std::string& data) const;

private:
    int Read(std::string* pText) const;
    template <typename Change>
    int Update(Change change) const;
    int Replace(const std::string& text) const;

    std::string m_strPath;
    std::string m_strFolder;
    std::string m_strLeaf;
};

}  // namespace host
