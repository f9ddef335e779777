#include "platform/vcl/core/inidocument.h"

namespace vcl {

namespace {

constexpr std::string_view kBom = "\xef\xbb\xbf";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// The name of a section header line, or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const auto t = Trim(line);
    if (t.empty() || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    return Trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

bool IsComment(std::string_view line) {
    const auto t = Trim(line);
    return !t.empty() && t.front() == ';';
}

bool IsBlank(std::string_view line) {
    return Trim(line).empty();
}

} // namespace

TIniDocument::TIniDocument(std::string_view bytes) {
    if (bytes.substr(0, kBom.size()) == kBom) {
        FPrefix = kBom;
        bytes.remove_prefix(kBom.size());
    }
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            FLines.push_back({std::string(bytes.substr(start)), {}});
            break;
        }
        const std::size_t eolLength =
            (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n') ? 2 : 1;
        FLines.push_back({std::string(bytes.substr(start, end - start)),
                          std::string(bytes.substr(end, eolLength))});
        start = end + eolLength;
    }
    // Added lines follow the file's own line ends; a new file gets the Windows ones.
    FLineEnd = "\r\n";
    for (const auto& line : FLines) {
        if (!line.end.empty()) {
            FLineEnd = line.end;
            break;
        }
    }
}

TIniDocument::SectionRange TIniDocument::FindSection(std::string_view section) const {
    const std::size_t npos = std::string::npos;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const auto name = SectionName(FLines[i].text);
        if (!name || !SameName(*name, Trim(section)))
            continue;
        std::size_t end = i + 1;
        while (end < FLines.size() && !SectionName(FLines[end].text))
            ++end;
        return {i, end};
    }
    return {npos, npos};
}

std::optional<std::size_t> TIniDocument::FindKey(const SectionRange& range,
                                                 std::string_view ident) const {
    if (range.header == std::string::npos)
        return std::nullopt;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const std::string_view text = FLines[i].text;
        if (IsComment(text))
            continue;
        const auto eq = text.find('=');
        if (eq == std::string_view::npos)
            continue;
        if (SameName(Trim(text.substr(0, eq)), Trim(ident)))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniDocument::Value(std::string_view section,
                                               std::string_view ident) const {
    const auto line = FindKey(FindSection(section), ident);
    if (!line)
        return std::nullopt;
    const std::string_view text = FLines[*line].text;
    return std::string(Trim(text.substr(text.find('=') + 1)));
}

bool TIniDocument::HasSection(std::string_view section) const {
    return FindSection(section).header != std::string::npos;
}

void TIniDocument::SetValue(std::string_view section, std::string_view ident,
                            std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    const auto range = FindSection(section);

    if (const auto line = FindKey(range, ident)) {
        // Keep the key and the spacing after "=" as the user wrote them.
        std::string& text = FLines[*line].text;
        auto valueStart = text.find('=') + 1;
        while (valueStart < text.size() && (text[valueStart] == ' ' || text[valueStart] == '\t'))
            ++valueStart;
        text = text.substr(0, valueStart) + std::string(value);
        return;
    }

    const std::string keyLine = std::string(Trim(ident)) + "=" + std::string(value);
    if (range.header != std::string::npos) {
        // After the section's last line that is not blank, so blank lines before the next
        // section stay where they were.
        std::size_t after = range.end;
        while (after > range.header + 1 && IsBlank(FLines[after - 1].text))
            --after;
        if (FLines[after - 1].end.empty())
            FLines[after - 1].end = NewLineEnd();
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(after),
                      Line{keyLine, NewLineEnd()});
        return;
    }

    if (!FLines.empty() && FLines.back().end.empty())
        FLines.back().end = NewLineEnd();
    // Built piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict) on "[" + s + "]".
    std::string header = "[";
    header += Trim(section);
    header += ']';
    FLines.push_back({std::move(header), NewLineEnd()});
    FLines.push_back({keyLine, NewLineEnd()});
}

std::string TIniDocument::Bytes() const {
    std::string out = FPrefix;
    for (const auto& line : FLines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

} // namespace vcl
