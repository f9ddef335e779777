// The text of an INI file, read and edited line by line so that every line the program does not
// change keeps its bytes, spacing and line end.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vcl {

class TIniDocument {
public:
    explicit TIniDocument(std::string_view bytes);

    // The value of `ident` in the first section named `section`, spaces around it removed;
    // nothing when the section or the key is missing. Names match without regard to ASCII case,
    // and within a section the first line of a key counts.
    std::optional<std::string> Value(std::string_view section, std::string_view ident) const;
    bool HasSection(std::string_view section) const;

    // Replaces the value where the key stands, adds a new key after the last line of its
    // section, or adds a new section at the end. A line break in `value` would start a new line
    // of the file, so the value is cut there.
    void SetValue(std::string_view section, std::string_view ident, std::string_view value);

    std::string Bytes() const;

private:
    struct Line {
        std::string text;
        std::string end; // the line's own line end; empty for a last line without one
    };
    // Line range [header, end) of the first section named `section`; header is npos if none.
    struct SectionRange {
        std::size_t header;
        std::size_t end;
    };

    SectionRange FindSection(std::string_view section) const;
    std::optional<std::size_t> FindKey(const SectionRange& range, std::string_view ident) const;
    const std::string& NewLineEnd() const { return FLineEnd; }

    std::string FPrefix; // a byte-order mark, kept but not part of the first line
    std::vector<Line> FLines;
    std::string FLineEnd; // the file's own style for added lines
};

} // namespace vcl
