// Turning stored bytes into text for showing. Station names and settings stay bytes everywhere
// else; old lists are in Windows-1251, newer ones may be UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace vcl {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 for display: the bytes themselves when they are valid UTF-8, otherwise the bytes read as
// Windows-1251 (its one unassigned byte, 0x98, shows as U+FFFD).
std::string DisplayText(std::string_view bytes);

} // namespace vcl
