// The settings file's text form and its locked, atomic updates.
#include "SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "AsciiCase.h"

namespace host {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kNoTerminator[] = "\\!";
// What follows ".<file name>" in the name of a temporary file of a write.
constexpr char kTemporarySuffix[] = ".tmp-XXXXXX";

// The length of the valid UTF-8 sequence at text[i] of at least two bytes,
// or 0: overlong forms, surrogates and code points past U+10FFFF are not.
size_t Utf8SequenceAt(const std::string& text, size_t i)
{
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead > 0xF4 || length == 0 || i + length > text.size())
        return 0;
    unsigned char second = static_cast<unsigned char>(text[i + 1]);
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
    if (second < low || second > high)
        return 0;
    for (size_t k = 2; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if (next < 0x80 || next > 0xBF)
            return 0;
    }
    return length;
}

void AppendHex(std::string* pOut, unsigned char byte)
{
    *pOut += "\\x";
    *pOut += kHexDigits[byte >> 4];
    *pOut += kHexDigits[byte & 0xF];
}

// Escapes the bytes; those in `special` too, and those in `edge` at either
// end of the text (where the line's syntax would take them).
std::string Escape(const std::string& text, const char* special, const char* leading, const char* trailing)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80) {
            size_t length = Utf8SequenceAt(text, i);
            if (length) {
                out.append(text, i, length);
                i += length;
                continue;
            }
        }
        std::string one(1, text[i]);
        bool bEscape = byte < 0x20 || byte >= 0x7F || one.find_first_of(special) == 0 ||
                       (i == 0 && one.find_first_of(leading) == 0) ||
                       (i + 1 == text.size() && one.find_first_of(trailing) == 0);
        if (byte == '\\')
            out += "\\\\";
        else if (bEscape)
            AppendHex(&out, byte);
        else
            out += text[i];
        ++i;
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// The lines of a file, each without its newline and without the carriage
// returns of a file edited elsewhere (written values never hold a raw one).
// All of them go, so that the lines read the same once written back.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

bool IsSectionLine(const std::string& line, std::string* pSection)
{
    std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']')
        return false;
    *pSection = UnescapeSettingsText(trimmed.substr(1, trimmed.size() - 2));
    return true;
}

// A name=value line: the raw name part, and the value text after the '='.
bool IsValueLine(const std::string& line, std::string* pNamePart, std::string* pValueText)
{
    std::string trimmed = Trim(line);
    size_t equals = line.find('=');
    if (equals == std::string::npos || trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#')
        return false;
    *pNamePart = line.substr(0, equals);
    *pValueText = line.substr(equals + 1);
    return true;
}

// The line index of the section's header, or lines.size().
size_t FindSection(const std::vector<std::string>& lines, const std::string& section)
{
    std::string found;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsSectionLine(lines[i], &found) && EqualIgnoringAsciiCase(found, section))
            return i;
    }
    return lines.size();
}

// The end of the section that starts at `header`: the next header or the end.
size_t SectionEnd(const std::vector<std::string>& lines, size_t header)
{
    std::string found;
    size_t end = header + 1;
    while (end < lines.size() && !IsSectionLine(lines[end], &found))
        ++end;
    return end;
}

size_t FindValue(const std::vector<std::string>& lines, size_t header, const std::string& name)
{
    size_t end = SectionEnd(lines, header);
    std::string namePart;
    std::string valueText;
    for (size_t i = header + 1; i < end; ++i) {
        if (IsValueLine(lines[i], &namePart, &valueText) &&
            EqualIgnoringAsciiCase(UnescapeSettingsText(Trim(namePart)), name))
            return i;
    }
    return lines.size();
}

std::string SectionLine(const std::string& section)
{
    return "[" + EscapeSettingsSection(section) + "]";
}

void AddSectionTo(std::vector<std::string>* pLines, const std::string& section)
{
    if (!pLines->empty() && !Trim(pLines->back()).empty())
        pLines->push_back(std::string());
    pLines->push_back(SectionLine(section));
}

void SetValueIn(std::vector<std::string>* pLines, const std::string& section, const std::string& name,
                const std::string& data)
{
    std::vector<std::string>& lines = *pLines;
    size_t header = FindSection(lines, section);
    if (header == lines.size()) {
        AddSectionTo(pLines, section);
        header = lines.size() - 1;
    }
    size_t index = FindValue(lines, header, name);
    if (index != lines.size()) {
        // The name keeps the spelling it has in the file.
        lines[index] = lines[index].substr(0, lines[index].find('=') + 1) + EncodeSettingsData(data);
        return;
    }
    // After the section's last entry, so that blank lines before the next
    // section stay where they are.
    size_t at = SectionEnd(lines, header);
    while (at > header + 1 && Trim(lines[at - 1]).empty())
        --at;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                 EscapeSettingsName(name) + "=" + EncodeSettingsData(data));
}

int ReadAll(int fd, std::string* pText)
{
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return 0;
        pText->append(buffer, static_cast<size_t>(got));
    }
}

int WriteAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t written = write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        done += static_cast<size_t>(written);
    }
    return 0;
}

// Holds an exclusive lock on a file beside the settings file while alive.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : m_fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600))
    {
        m_error = m_fd < 0 ? errno : 0;
        while (!m_error && flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR)
                m_error = errno;
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    int Error() const { return m_error; }

private:
    int m_fd;
    int m_error;
};

// Runs under the lock, when no write is under way: temporary files of the
// store that are there were left by writers that died, and go.
void RemoveDeadTemporaries(const std::string& folder, const std::string& leaf)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    std::string temporary = "." + leaf + kTemporarySuffix;
    std::string prefix = temporary.substr(0, temporary.size() - 6);
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() == temporary.size() && name.compare(0, prefix.size(), prefix) == 0)
            unlinkat(dirfd(dir), name.c_str(), 0);
    }
    closedir(dir);
}

}  // namespace

std::string EscapeSettingsName(const std::string& name)
{
    return Escape(name, "=", "[;# \t", " \t");
}

std::string EscapeSettingsSection(const std::string& section)
{
    return Escape(section, "[]", " \t", " \t");
}

std::string EncodeSettingsData(const std::string& data)
{
    if (!data.empty() && data.back() == '\0')
        return Escape(data.substr(0, data.size() - 1), "", "", "");
    return Escape(data, "", "", "") + kNoTerminator;
}

std::string DecodeSettingsData(const std::string& text)
{
    std::string data = UnescapeSettingsText(text);
    // Only an unescaped "\!" at the end: "\\!" is a backslash and a '!'.
    size_t backslashes = 0;
    if (text.size() >= 2 && text.back() == '!') {
        for (size_t i = text.size() - 1; i > 0 && text[i - 1] == '\\'; --i)
            ++backslashes;
    }
    if (backslashes % 2 == 1)
        return data.substr(0, data.size() - 2);
    return data + '\0';
}

std::string UnescapeSettingsText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
            out += '\\';
            ++i;
            continue;
        }
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && HexValue(text[i + 2]) >= 0 &&
            HexValue(text[i + 3]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
            i += 3;
            continue;
        }
        out += text[i];
    }
    return out;
}

SettingsFile::SettingsFile(std::string path) : m_strPath(std::move(path))
{
    size_t slash = m_strPath.rfind('/');
    m_strFolder = slash == std::string::npos ? "." : m_strPath.substr(0, slash);
    m_strLeaf = slash == std::string::npos ? m_strPath : m_strPath.substr(slash + 1);
}

int SettingsFile::HasSection(const std::string& section, bool* pbFound) const
{
    std::string text;
    if (int error = Read(&text))
        return error;
    std::vector<std::string> lines = SplitLines(text);
    *pbFound = FindSection(lines, section) != lines.size();
    return 0;
}

int SettingsFile::AddSection(const std::string& section) const
{
    return Update([&](std::vector<std::string>* pLines) {
        if (FindSection(*pLines, section) == pLines->size())
            AddSectionTo(pLines, section);
    });
}

int SettingsFile::ReadValue(const std::string& section, const std::string& name, std::string* pData,
                            bool* pbFound) const
{
    std::string text;
    if (int error = Read(&text))
        return error;
    std::vector<std::string> lines = SplitLines(text);
    *pbFound = false;
    size_t header = FindSection(lines, section);
    if (header == lines.size())
        return 0;
    size_t index = FindValue(lines, header, name);
    if (index == lines.size())
        return 0;
    *pData = DecodeSettingsData(lines[index].substr(lines[index].find('=') + 1));
    *pbFound = true;
    return 0;
}

int SettingsFile::WriteValue(const std::string& section, const std::string& name, const std::string& data) const
{
    return Update([&](std::vector<std::string>* pLines) { SetValueIn(pLines, section, name, data); });
}

int SettingsFile::Read(std::string* pText) const
{
    int fd = open(m_strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno;
    int error = ReadAll(fd, pText);
    close(fd);
    return error;
}

// Under the lock, from the file as it is now, so that a change made by
// another process meanwhile is kept.
template <typename Change>
int SettingsFile::Update(Change change) const
{
    FileLock lock(m_strFolder + "/." + m_strLeaf + ".lock");
    if (lock.Error())
        return lock.Error();
    std::string text;
    int error = Read(&text);
    if (error && error != ENOENT)
        return error;
    std::vector<std::string> lines = SplitLines(text);
    change(&lines);
    std::string changed = JoinLines(lines);
    if (changed == text)
        return 0;
    RemoveDeadTemporaries(m_strFolder, m_strLeaf);
    return Replace(changed);
}

int SettingsFile::Replace(const std::string& text) const
{
    std::string temporary = m_strFolder + "/." + m_strLeaf + kTemporarySuffix;
    int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = WriteAll(fd, text);
    if (!error && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && !error)
        error = errno;
    if (!error && rename(temporary.c_str(), m_strPath.c_str()) != 0)
        error = errno;
    if (error) {
        unlink(temporary.c_str());
        return error;
    }
    int folder = open(m_strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return 0;
}

}  // namespace host
