// JPEG pictures decoded through libjpeg into our own bitmaps.
#pragma once

#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/core/graphics.h"

#include <string>

namespace vcl {

// A picture that cannot be decoded or whose kind is unknown.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

// Decodes the JPEG file at `path` into `out` (pf24bit). Throws EFOpenError when the file cannot
// be opened and EInvalidGraphic when it is not a JPEG picture libjpeg can decode; `out` is then
// left as it was.
void LoadJpegFile(const std::string& path, TBitmap& out);

} // namespace vcl
