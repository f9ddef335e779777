// Settings file access. Every read goes to the file and every write has reached the file when
// it returns, so two accessors on the same file always see each other's changes.
#pragma once

#include <string>
#include <string_view>

namespace vcl {

class TIniFile {
public:
    explicit TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

    const std::string& FileName() const { return FFileName; }

    // A missing or unreadable file, section or key gives `def`.
    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view def) const;
    // "0x" followed by hexadecimal digits, or a decimal number with an optional sign; text that
    // is not a 32-bit integer gives `def`. Hexadecimal covers 0..0xFFFFFFFF, the upper half
    // reading as negative numbers.
    int ReadInteger(std::string_view section, std::string_view ident, int def) const;
    // True exactly when the value read as an integer (default 1 or 0) is not 0.
    bool ReadBool(std::string_view section, std::string_view ident, bool def) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view ident) const;

    // Throw EIniFileException "Unable to write to <path>" when the file cannot be written; the
    // file is replaced as a whole, so it is either fully old or fully new.
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view ident, int value);
    // Stored as "1" or "0".
    void WriteBool(std::string_view section, std::string_view ident, bool value);

private:
    std::string FFileName;
};

// The integer rule of the settings file; false, with `value` untouched, when `text` is not a
// 32-bit integer.
bool TryParseIniInteger(std::string_view text, int& value);

} // namespace vcl
