// The host's ANSI text as GTK shows it.
#pragma once

#include <string>

namespace gtktext {

// Valid UTF-8 as it is; other bytes read as Windows-1252, so that any text shows.
std::string ToUtf8(const std::string& text);
// ToUtf8 with CR LF line breaks as newlines.
std::string ToDisplay(const std::string& text);
// A text whose '&' marks the access key, in GTK's underline notation.
std::string ToMnemonic(const std::string& text);

}  // namespace gtktext
