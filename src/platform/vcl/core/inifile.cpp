#include "platform/vcl/core/inifile.h"

#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/core/files.h"
#include "platform/vcl/core/inidocument.h"

#include <cerrno>
#include <cstdint>

namespace vcl {

namespace {

// The file as it stands now; a missing or unreadable file reads as empty.
TIniDocument Load(const std::string& path) {
    std::string bytes;
    if (ReadWholeFile(path, bytes))
        bytes.clear();
    return TIniDocument(bytes);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool TryParseIniInteger(std::string_view text, int& value) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint64_t n = 0;
        for (char c : text.substr(2)) {
            const int d = HexDigit(c);
            if (d < 0)
                return false;
            n = n * 16 + static_cast<std::uint64_t>(d);
            if (n > 0xFFFFFFFFu)
                return false;
        }
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
        return true;
    }

    std::size_t i = 0;
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        i = 1;
    }
    if (i == text.size())
        return false;
    std::int64_t n = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        n = n * 10 + (text[i] - '0');
        if (n > 2147483648LL)
            return false;
    }
    if (negative)
        n = -n;
    if (n > 2147483647LL)
        return false;
    value = static_cast<int>(n);
    return true;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 std::string_view def) const {
    auto value = Load(FFileName).Value(section, ident);
    return value ? std::move(*value) : std::string(def);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int def) const {
    int value = 0;
    return TryParseIniInteger(ReadString(section, ident, ""), value) ? value : def;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(std::string_view section) const {
    return Load(FFileName).HasSection(section);
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    return Load(FFileName).Value(section, ident).has_value();
}

void TIniFile::WriteString(std::string_view section, std::string_view ident,
                           std::string_view value) {
    std::string bytes;
    if (auto err = ReadWholeFile(FFileName, bytes); err && err.value() != ENOENT) {
        // Rewriting a file we could not read would drop everything stored in it.
        throw EIniFileException::UnableToWrite(FFileName);
    }
    TIniDocument document(bytes);
    document.SetValue(section, ident, value);
    if (WriteFileAtomically(FFileName, document.Bytes()))
        throw EIniFileException::UnableToWrite(FFileName);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int value) {
    WriteString(section, ident, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

} // namespace vcl
