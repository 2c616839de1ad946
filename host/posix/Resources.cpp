#include "Resources.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "HostWindow.h"

extern const unsigned char g_levrinResources[];
extern const std::size_t g_levrinResourcesSize;

namespace host {

namespace {

// Reads little-endian fields from a resource, refusing to go past its end.
class CResourceReader {
public:
    CResourceReader(const BYTE* data, std::size_t size) : m_pData(data), m_nSize(size) {}

    bool Ok() const { return m_bOk; }
    std::size_t Offset() const { return m_nOffset; }
    const BYTE* At() const { return m_pData + m_nOffset; }
    std::size_t Left() const { return m_nSize - m_nOffset; }

    WORD Word()
    {
        if (!Need(2))
            return 0;
        WORD value = static_cast<WORD>(m_pData[m_nOffset] | (m_pData[m_nOffset + 1] << 8));
        m_nOffset += 2;
        return value;
    }
    DWORD Dword()
    {
        WORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    BYTE Byte()
    {
        if (!Need(1))
            return 0;
        return m_pData[m_nOffset++];
    }
    void Skip(std::size_t count)
    {
        if (Need(count))
            m_nOffset += count;
    }
    void AlignTo(std::size_t alignment)
    {
        std::size_t padding = (alignment - m_nOffset % alignment) % alignment;
        Skip(std::min(padding, Left()));
    }
    std::u16string Text()
    {
        std::u16string text;
        for (WORD ch = Word(); m_bOk && ch != 0; ch = Word())
            text += static_cast<char16_t>(ch);
        return text;
    }
    // A name that is either 0xFFFF and an ordinal, or text; sets *ordinal
    // to -1 for text. An empty text stands for "none" where 0x0000 may go.
    std::u16string NameOrOrdinal(int* ordinal)
    {
        *ordinal = -1;
        if (Left() >= 2 && m_pData[m_nOffset] == 0xFF && m_pData[m_nOffset + 1] == 0xFF) {
            Word();
            *ordinal = Word();
            return std::u16string();
        }
        return Text();
    }

private:
    bool Need(std::size_t count)
    {
        if (m_bOk && count <= Left())
            return true;
        m_bOk = false;
        return false;
    }

    const BYTE* m_pData;
    std::size_t m_nSize;
    std::size_t m_nOffset = 0;
    bool m_bOk = true;
};

// The code points of bytes 0x80 to 0x9F in code page 1252; the five bytes it
// leaves undefined map to themselves, as the Windows conversion does.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char NarrowCharacter(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return static_cast<char>(ch);
    const char16_t* found = std::find(std::begin(kWindows1252High), std::end(kWindows1252High), ch);
    if (found == std::end(kWindows1252High))
        return '?';
    return static_cast<char>(0x80 + (found - std::begin(kWindows1252High)));
}

// Resource text in the ANSI code page (1252); characters outside it
// become '?'.
std::string NarrowResourceText(const std::u16string& text)
{
    std::string narrow;
    narrow.reserve(text.size());
    for (char16_t ch : text)
        narrow += NarrowCharacter(ch);
    return narrow;
}

char16_t UpperAscii(char16_t ch)
{
    return ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - u'a' + u'A') : ch;
}

// Whether a type or name of the file is the one asked for.
bool NameMatches(LPCSTR wanted, int ordinal, const std::u16string& text)
{
    if (IS_INTRESOURCE(wanted))
        return ordinal == static_cast<int>(reinterpret_cast<ULONG_PTR>(wanted));
    if (ordinal >= 0 || text.size() != std::strlen(wanted))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto wantedChar = static_cast<char16_t>(static_cast<unsigned char>(wanted[i]));
        if (UpperAscii(text[i]) != UpperAscii(wantedChar))
            return false;
    }
    return true;
}

std::string UpperAsciiText(const char* text)
{
    std::string upper(text);
    for (char& ch : upper)
        ch = static_cast<char>(UpperAscii(static_cast<unsigned char>(ch)));
    return upper;
}

HostModule* ProgramModule()
{
    static HostModule module = { g_levrinResources, g_levrinResourcesSize };
    return &module;
}

RECT ReadUnitRect(CResourceReader& reader)
{
    RECT rect;
    rect.left = static_cast<int16_t>(reader.Word());
    rect.top = static_cast<int16_t>(reader.Word());
    rect.right = static_cast<int16_t>(reader.Word());
    rect.bottom = static_cast<int16_t>(reader.Word());
    return rect;
}

struct PredefinedClass {
    int ordinal;
    const char* name;
};

constexpr PredefinedClass kPredefinedClasses[] = {
    { 0x80, "Button" }, { 0x81, "Edit" }, { 0x82, "Static" },
    { 0x83, "ListBox" }, { 0x84, "ScrollBar" }, { 0x85, "ComboBox" },
};

// A control's class by the name of the predefined class, however the
// template gives it: an ordinal, or a name in any case (windres writes
// "BUTTON").
std::string ClassName(int ordinal, const std::u16string& text)
{
    std::string name = NarrowResourceText(text);
    for (const PredefinedClass& predefined : kPredefinedClasses) {
        if (ordinal == predefined.ordinal ||
            (ordinal < 0 && UpperAsciiText(name.c_str()) == UpperAsciiText(predefined.name)))
            return predefined.name;
    }
    return ordinal >= 0 ? "#" + std::to_string(ordinal) : name;
}

int ControlId(DWORD stored, bool extended)
{
    DWORD none = extended ? 0xFFFFFFFFu : 0xFFFFu;
    return stored == none ? -1 : static_cast<int>(stored);
}

void ReadDialogItem(CResourceReader& reader, bool extended, DialogItemTemplate* item)
{
    reader.AlignTo(4);
    if (extended) {
        reader.Dword();  // help id
        item->exStyle = reader.Dword();
        item->style = reader.Dword();
    } else {
        item->style = reader.Dword();
        item->exStyle = reader.Dword();
    }
    item->unitRect = ReadUnitRect(reader);
    item->id = ControlId(extended ? reader.Dword() : reader.Word(), extended);
    int ordinal = -1;
    std::u16string className = reader.NameOrOrdinal(&ordinal);
    item->className = ClassName(ordinal, className);
    item->text = NarrowResourceText(reader.NameOrOrdinal(&ordinal));
    reader.Skip(reader.Word());  // creation data
}

void ReadDialogFont(CResourceReader& reader, bool extended, DialogTemplate* dialog)
{
    dialog->fontPoints = reader.Word();
    if (extended) {
        reader.Word();  // weight
        reader.Byte();  // italic
        reader.Byte();  // character set
    }
    dialog->fontFace = NarrowResourceText(reader.Text());
}

// The bits of pixel x of a bitmap row, leftmost pixel in the high bits.
unsigned PixelBits(const BYTE* row, int x, int bitCount)
{
    int bit = x * bitCount;
    unsigned byte = row[bit / 8];
    return (byte >> (8 - bitCount - bit % 8)) & ((1u << bitCount) - 1);
}

std::size_t RowBytes(int width, int bitCount)
{
    return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

// A palette image with its AND mask (the icon formats of the resource
// script's era); false for other formats.
bool DecodeIconImage(const ResourceBytes& bytes, HostIcon::Image* image)
{
    CResourceReader reader(bytes.data, bytes.size);
    DWORD headerSize = reader.Dword();
    auto width = static_cast<int32_t>(reader.Dword());
    auto doubledHeight = static_cast<int32_t>(reader.Dword());
    reader.Word();  // planes
    int bitCount = reader.Word();
    DWORD compression = reader.Dword();
    reader.Skip(12);
    DWORD colorsUsed = reader.Dword();
    if (!reader.Ok() || headerSize < 40 || compression != 0 || width <= 0 || width > 256 ||
        doubledHeight <= 0 || doubledHeight > 512 || (bitCount != 1 && bitCount != 4 && bitCount != 8))
        return false;
    int height = doubledHeight / 2;
    std::size_t colors = colorsUsed ? colorsUsed : (1u << bitCount);
    std::size_t paletteAt = headerSize;
    std::size_t colorAt = paletteAt + colors * 4;
    std::size_t maskAt = colorAt + RowBytes(width, bitCount) * height;
    if (colors > 256 || maskAt + RowBytes(width, 1) * height > bytes.size)
        return false;

    image->width = width;
    image->height = height;
    image->argb.assign(static_cast<std::size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        int sourceRow = height - 1 - y;
        const BYTE* colorRow = bytes.data + colorAt + RowBytes(width, bitCount) * sourceRow;
        const BYTE* maskRow = bytes.data + maskAt + RowBytes(width, 1) * sourceRow;
        for (int x = 0; x < width; ++x) {
            if (PixelBits(maskRow, x, 1))
                continue;  // transparent
            unsigned index = std::min<unsigned>(PixelBits(colorRow, x, bitCount), static_cast<unsigned>(colors - 1));
            const BYTE* bgrx = bytes.data + paletteAt + index * 4;
            image->argb[static_cast<std::size_t>(y) * width + x] =
                0xFF000000u | (bgrx[2] << 16) | (bgrx[1] << 8) | bgrx[0];
        }
    }
    return true;
}

// All images of an icon group; null when the group or every image is missing.
std::unique_ptr<HostIcon> LoadIconGroup(HMODULE module, LPCSTR name)
{
    ResourceBytes group;
    if (!FindResourceBytes(module, MAKEINTRESOURCEA(kResourceGroupIcon), name, &group))
        return nullptr;
    CResourceReader reader(group.data, group.size);
    reader.Word();  // reserved
    reader.Word();  // type
    WORD count = reader.Word();
    auto icon = std::make_unique<HostIcon>();
    for (WORD i = 0; i < count && reader.Ok(); ++i) {
        reader.Skip(12);  // size, colours, planes, bit count, bytes
        WORD imageId = reader.Word();
        ResourceBytes bytes;
        HostIcon::Image image;
        if (reader.Ok() && FindResourceBytes(module, MAKEINTRESOURCEA(kResourceIcon), MAKEINTRESOURCEA(imageId), &bytes) &&
            DecodeIconImage(bytes, &image))
            icon->images.push_back(std::move(image));
    }
    if (icon->images.empty())
        return nullptr;
    return icon;
}

}  // namespace

bool FindResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, ResourceBytes* found)
{
    if (!module)
        module = ProgramModule();
    CResourceReader file(module->data, module->size);
    while (file.Left() > 0) {
        std::size_t start = file.Offset();
        DWORD dataSize = file.Dword();
        DWORD headerSize = file.Dword();
        int typeOrdinal = -1;
        int nameOrdinal = -1;
        std::u16string typeText = file.NameOrOrdinal(&typeOrdinal);
        std::u16string nameText = file.NameOrOrdinal(&nameOrdinal);
        if (!file.Ok() || headerSize < file.Offset() - start || headerSize > module->size - start ||
            dataSize > module->size - start - headerSize)
            return false;
        file.Skip(start + headerSize - file.Offset());
        if (NameMatches(type, typeOrdinal, typeText) && NameMatches(name, nameOrdinal, nameText)) {
            *found = { file.At(), dataSize };
            return true;
        }
        file.Skip(dataSize);
        file.AlignTo(4);
    }
    return false;
}

bool ParseDialogTemplate(const ResourceBytes& bytes, DialogTemplate* dialog)
{
    CResourceReader reader(bytes.data, bytes.size);
    *dialog = DialogTemplate();
    dialog->extended = bytes.size >= 4 && reader.Word() == 1 && reader.Word() == 0xFFFF;
    if (dialog->extended) {
        reader.Dword();  // help id
        dialog->exStyle = reader.Dword();
        dialog->style = reader.Dword();
    } else {
        reader = CResourceReader(bytes.data, bytes.size);
        dialog->style = reader.Dword();
        dialog->exStyle = reader.Dword();
    }
    WORD count = reader.Word();
    dialog->unitRect = ReadUnitRect(reader);
    int ordinal = -1;
    reader.NameOrOrdinal(&ordinal);  // menu
    reader.NameOrOrdinal(&ordinal);  // window class
    dialog->caption = NarrowResourceText(reader.Text());
    if (dialog->style & DS_SETFONT)
        ReadDialogFont(reader, dialog->extended, dialog);
    dialog->items.resize(count);
    for (DialogItemTemplate& item : dialog->items)
        ReadDialogItem(reader, dialog->extended, &item);
    return reader.Ok();
}

bool LoadDialogTemplate(HMODULE module, LPCSTR name, DialogTemplate* dialog)
{
    ResourceBytes bytes;
    return FindResourceBytes(module, MAKEINTRESOURCEA(kResourceDialog), name, &bytes) &&
           ParseDialogTemplate(bytes, dialog);
}

}  // namespace host

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    // Only the program's own module is known here.
    return lpModuleName ? nullptr : host::ProgramModule();
}

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax <= 0)
        return 0;
    lpBuffer[0] = '\0';
    // Strings are stored sixteen to a block, each as a length and UTF-16 text.
    host::ResourceBytes block;
    if (!host::FindResourceBytes(hInstance, MAKEINTRESOURCEA(host::kResourceString),
                                 MAKEINTRESOURCEA((uID >> 4) + 1), &block))
        return 0;
    host::CResourceReader reader(block.data, block.size);
    for (UINT i = 0; i < (uID & 15); ++i)
        reader.Skip(static_cast<std::size_t>(reader.Word()) * 2);
    WORD length = reader.Word();
    std::u16string text;
    for (WORD i = 0; i < length && reader.Ok(); ++i)
        text += static_cast<char16_t>(reader.Word());
    if (!reader.Ok())
        return 0;
    std::string narrow = host::NarrowResourceText(text);
    std::size_t copied = std::min(narrow.size(), static_cast<std::size_t>(cchBufferMax - 1));
    std::memcpy(lpBuffer, narrow.data(), copied);
    lpBuffer[copied] = '\0';
    return static_cast<int>(copied);
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName)
{
    if (!hInstance || !lpIconName)
        return nullptr;  // the system's own icons are not provided
    // Resource icons are shared: every load of one gets the same handle,
    // which lives as long as the process.
    static std::map<std::pair<HMODULE, std::string>, std::unique_ptr<HostIcon>> loaded;
    std::string name = IS_INTRESOURCE(lpIconName)
                           ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(lpIconName))
                           : host::UpperAsciiText(lpIconName);
    auto key = std::make_pair(hInstance, name);
    auto found = loaded.find(key);
    if (found == loaded.end())
        found = loaded.emplace(key, host::LoadIconGroup(hInstance, lpIconName)).first;
    return found->second.get();
}
