// Which station URLs the engine will open. Station lists come from files anyone can edit or
// download, so a URL must never reach local files, pipes or FFmpeg's composing protocols.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::bass {

// Protocols FFmpeg may use for a station and everything it opens on the station's behalf
// (redirects, HLS segments, encrypted segments).
inline constexpr char kProtocolWhitelist[] = "http,https,tls,tcp,crypto";

// The URL ready for FFmpeg: trimmed, inner spaces escaped; nothing when it is not an http or
// https URL with a host, or carries control characters (which would forge request headers).
std::optional<std::string> NormalizeStreamUrl(std::string_view url);

// `ref` taken relative to `base` the way a browser would (absolute, scheme-relative,
// host-relative or path-relative).
std::string ResolveUrl(std::string_view base, std::string_view ref);

} // namespace orvanta::bass
