// Playlist files that stations publish instead of a stream address (.pls, .m3u, .m3u8).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvanta::bass {

// True when the URL's path (query and fragment aside) ends in .pls, .m3u or .m3u8.
bool LooksLikePlaylistUrl(std::string_view url);

// True for an HLS media or master playlist, which FFmpeg plays itself.
bool IsHlsPlaylist(std::string_view text);

// Entries in playlist order, as written (unresolved): FileN= lines of a .pls, the non-comment
// lines of an .m3u.
std::vector<std::string> ParsePlaylistEntries(std::string_view text);

} // namespace orvanta::bass
