#include "platform/bass/url_policy.h"

#include <algorithm>
#include <cctype>

namespace orvanta::bass {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
            return false;
    return true;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

std::optional<std::string> NormalizeStreamUrl(std::string_view url) {
    url = Trim(url);
    std::size_t schemeEnd = 0;
    if (StartsWithNoCase(url, "http://"))
        schemeEnd = 7;
    else if (StartsWithNoCase(url, "https://"))
        schemeEnd = 8;
    else
        return std::nullopt;
    if (url.size() == schemeEnd || url[schemeEnd] == '/')
        return std::nullopt;
    std::string out;
    out.reserve(url.size());
    for (char c : url) {
        const auto u = static_cast<unsigned char>(c);
        if (c == ' ')
            out += "%20";
        else if (u < ' ' || u == 0x7f)
            return std::nullopt;
        else
            out += c;
    }
    return out;
}

std::string ResolveUrl(std::string_view base, std::string_view ref) {
    ref = Trim(ref);
    const std::size_t schemeSep = ref.find("://");
    if (schemeSep != std::string_view::npos && schemeSep > 0 &&
        std::all_of(ref.begin(), ref.begin() + schemeSep, [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        }))
        return std::string(ref);
    const std::size_t baseScheme = base.find("://");
    if (baseScheme == std::string_view::npos)
        return std::string(ref);
    if (ref.starts_with("//"))
        return std::string(base.substr(0, baseScheme + 1)) + std::string(ref);
    const std::size_t hostEnd = base.find_first_of("/?#", baseScheme + 3);
    const std::string_view origin = base.substr(0, hostEnd);
    if (ref.starts_with("/"))
        return std::string(origin) + std::string(ref);
    std::string_view path =
        hostEnd == std::string_view::npos ? std::string_view("/") : base.substr(hostEnd);
    path = path.substr(0, path.find_first_of("?#"));
    path = path.substr(0, path.rfind('/') + 1);
    if (path.empty())
        path = "/";
    return std::string(origin) + std::string(path) + std::string(ref);
}

} // namespace orvanta::bass
