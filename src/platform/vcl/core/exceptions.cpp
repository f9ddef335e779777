#include "platform/vcl/core/exceptions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vcl {

std::string Format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, pattern, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        // A string's buffer always has room for the terminating NUL past its size.
        out.resize(static_cast<std::size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, pattern, args);
    }
    va_end(args);
    return out;
}

EListError EListError::IndexOutOfBounds(int index) {
    return EListError(Format("List index out of bounds (%d)", index));
}

EFOpenError EFOpenError::ForFile(const std::string& path, int error) {
    return EFOpenError(Format("Cannot open file \"%s\". %s", path.c_str(), std::strerror(error)));
}

EFCreateError EFCreateError::ForFile(const std::string& path, int error) {
    return EFCreateError(
        Format("Cannot create file \"%s\". %s", path.c_str(), std::strerror(error)));
}

EIniFileException EIniFileException::UnableToWrite(const std::string& path) {
    return EIniFileException(Format("Unable to write to %s", path.c_str()));
}

} // namespace vcl
