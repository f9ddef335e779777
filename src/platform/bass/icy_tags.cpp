#include "platform/bass/icy_tags.h"

#include "platform/bass/trim.h"

#include <cctype>

namespace orvanta::bass {

namespace {

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace

std::optional<std::string> IcyNameFromHeaders(std::string_view headers) {
    while (!headers.empty()) {
        const std::size_t end = headers.find('\n');
        const std::string_view line = headers.substr(0, end);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos &&
            EqualsNoCase(TrimSpace(line.substr(0, colon)), "icy-name"))
            return std::string(TrimSpace(line.substr(colon + 1)));
        if (end == std::string_view::npos)
            break;
        headers.remove_prefix(end + 1);
    }
    return std::nullopt;
}

std::optional<std::string> StreamTitleFromMetadata(std::string_view packet) {
    constexpr std::string_view kKey = "StreamTitle='";
    const std::size_t start = packet.find(kKey);
    if (start == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = packet.substr(start + kKey.size());
    // Titles may hold apostrophes; the field ends at "';" or, failing that, the last quote.
    std::size_t end = rest.find("';");
    if (end == std::string_view::npos)
        end = rest.rfind('\'');
    return std::string(rest.substr(0, end));
}

} // namespace orvanta::bass
