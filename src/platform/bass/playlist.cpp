#include "platform/bass/playlist.h"

#include "platform/bass/trim.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

namespace orvanta::bass {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string_view> Lines(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        lines.push_back(TrimSpace(text.substr(0, end)));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> ParsePls(const std::vector<std::string_view>& lines) {
    std::map<int, std::string> files;
    for (std::string_view line : lines) {
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string key = Lower(TrimSpace(line.substr(0, eq)));
        if (!key.starts_with("file"))
            continue;
        int index = 0;
        const char* first = key.data() + 4;
        const char* last = key.data() + key.size();
        const auto [ptr, ec] = std::from_chars(first, last, index);
        if (ec != std::errc() || ptr != last)
            continue;
        const std::string_view value = TrimSpace(line.substr(eq + 1));
        if (!value.empty())
            files.emplace(index, std::string(value));
    }
    std::vector<std::string> entries;
    for (auto& [index, url] : files)
        entries.push_back(std::move(url));
    return entries;
}

} // namespace

bool LooksLikePlaylistUrl(std::string_view url) {
    const std::size_t scheme = url.find("://");
    const std::size_t pathStart = url.find('/', scheme == std::string_view::npos ? 0 : scheme + 3);
    if (pathStart == std::string_view::npos)
        return false;
    std::string_view path = url.substr(pathStart);
    path = path.substr(0, path.find_first_of("?#"));
    const std::string lower = Lower(path);
    return lower.ends_with(".pls") || lower.ends_with(".m3u") || lower.ends_with(".m3u8");
}

bool IsHlsPlaylist(std::string_view text) {
    return text.find("#EXT-X-") != std::string_view::npos;
}

std::vector<std::string> ParsePlaylistEntries(std::string_view text) {
    const std::vector<std::string_view> lines = Lines(text);
    const bool pls = std::any_of(lines.begin(), lines.end(),
                                 [](std::string_view line) { return Lower(line) == "[playlist]"; });
    if (pls)
        return ParsePls(lines);
    std::vector<std::string> entries;
    for (std::string_view line : lines)
        if (!line.empty() && !line.starts_with('#'))
            entries.emplace_back(line);
    return entries;
}

} // namespace orvanta::bass
