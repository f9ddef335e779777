// White space around playlist lines and stream tags is not part of them.
#pragma once

#include <cctype>
#include <string_view>

namespace orvanta::bass {

inline std::string_view TrimSpace(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

} // namespace orvanta::bass
