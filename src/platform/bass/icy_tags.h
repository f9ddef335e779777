// Shoutcast/Icecast station tags as FFmpeg's HTTP layer hands them over.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvanta::bass {

// The value of an "icy-name" line in the collected "key: value\n" response headers.
std::optional<std::string> IcyNameFromHeaders(std::string_view headers);

// The StreamTitle of an in-band metadata block ("StreamTitle='Artist - Song';StreamUrl='';").
std::optional<std::string> StreamTitleFromMetadata(std::string_view packet);

} // namespace orvanta::bass
