// The error classes handlers throw. Their texts are the user-facing messages, so they are kept
// exactly as the program reports them.
#pragma once

#include <stdexcept>
#include <string>

namespace vcl {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// printf-style formatting for the messages below.
std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

class EListError : public Exception {
public:
    using Exception::Exception;
    // "List index out of bounds (%d)"
    static EListError IndexOutOfBounds(int index);
};

class EStreamError : public Exception {
    using Exception::Exception;
};

class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
    // "Cannot open file \"%s\". %s", with the full path and the system's message.
    static EFOpenError ForFile(const std::string& path, int error);
};

class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
    // "Cannot create file \"%s\". %s"
    static EFCreateError ForFile(const std::string& path, int error);
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EIniFileException : public Exception {
public:
    using Exception::Exception;
    // "Unable to write to %s", with the settings file's full path.
    static EIniFileException UnableToWrite(const std::string& path);
};

} // namespace vcl
