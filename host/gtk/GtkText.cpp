#include "GtkText.h"

#include <glib.h>

namespace gtktext {

std::string ToUtf8(const std::string& text)
{
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return text;
    gchar* converted = g_convert(text.data(), static_cast<gssize>(text.size()), "UTF-8",
                                 "WINDOWS-1252", nullptr, nullptr, nullptr);
    if (!converted)  // the five bytes that code page leaves undefined
        converted = g_convert(text.data(), static_cast<gssize>(text.size()), "UTF-8",
                              "ISO-8859-1", nullptr, nullptr, nullptr);
    std::string result = converted ? converted : "";
    g_free(converted);
    return result;
}

std::string ToDisplay(const std::string& text)
{
    std::string result;
    for (char c : ToUtf8(text)) {
        if (c != '\r')
            result += c;
    }
    return result;
}

std::string ToMnemonic(const std::string& text)
{
    std::string display = ToDisplay(text);
    std::string result;
    for (size_t i = 0; i < display.size(); ++i) {
        char c = display[i];
        if (c == '_') {
            result += "__";
        } else if (c == '&' && i + 1 < display.size() && display[i + 1] == '&') {
            result += '&';
            ++i;
        } else {
            result += c == '&' ? '_' : c;
        }
    }
    return result;
}

}  // namespace gtktext
