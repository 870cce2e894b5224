#pragma once
// Text inside Vekla is a byte string in code page 1250, exactly as the Palm
// databases and the working files hold it. Conversion to Unicode happens only
// at the edges (widgets, terminal, UTF-8 files).
#include <QString>
#include <string>
#include <string_view>

namespace vekla {

// UTF-8 source literal -> code page 1250 bytes. Characters the code page
// cannot hold become "?".
std::string cp(std::string_view utf8);

// Code page 1250 bytes -> UTF-8.
std::string toUtf8(std::string_view cp1250);

// Code page 1250 bytes <-> QString. `lossy` is set when a character had to
// be replaced by "?".
QString toQt(std::string_view cp1250);
std::string fromQt(const QString& text, bool* lossy = nullptr);

// Lower case of a code page 1250 text (ASCII and the Czech letters).
std::string lowerCp(std::string_view cp1250);

// A path as the user's system writes it, as code page 1250 for messages.
std::string NativePath(const QString& path);

// A text on one line: LF dropped, CR turned into a space.
std::string OneLine(std::string_view text);
// Whether the text holds a CR or an LF.
bool HasLineBreak(std::string_view text);

}  // namespace vekla
