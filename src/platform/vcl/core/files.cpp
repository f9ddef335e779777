#include "platform/vcl/core/files.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vcl {

namespace {

std::error_code LastError() {
    return std::error_code(errno, std::generic_category());
}

// Closes a descriptor on every path out of a function.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return FFd; }
    // Closes now so that a failing close (a deferred write error) can be reported.
    int Close() {
        const int fd = FFd;
        FFd = -1;
        return ::close(fd);
    }

private:
    int FFd;
};

// Removes the temporary file unless it was renamed into place.
class TempFileGuard {
public:
    explicit TempFileGuard(std::string path) : FPath(std::move(path)) {}
    ~TempFileGuard() {
        if (!FPath.empty())
            ::unlink(FPath.c_str());
    }
    TempFileGuard(const TempFileGuard&) = delete;
    TempFileGuard& operator=(const TempFileGuard&) = delete;
    void Release() { FPath.clear(); }

private:
    std::string FPath;
};

// The mode a newly created file would get: 0666 less the umask. Read from /proc because
// umask() can only be read by changing it.
mode_t NewFileMode() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0)
            return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 0644;
}

// A symbolic link is kept and the file it points to is replaced.
std::string ResolveTarget(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            std::string resolved(real);
            std::free(real);
            return resolved;
        }
    }
    return path;
}

std::error_code WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

void SyncDirectory(const std::string& dir) {
    FileDescriptor fd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Get() >= 0)
        ::fsync(fd.Get()); // best effort: the rename itself has been done
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string GetCurrentDir() {
    std::vector<char> buf(PATH_MAX);
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE)
            return {};
        buf.resize(buf.size() * 2);
    }
    return std::string(buf.data());
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty())
        return name;
    if (dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

std::error_code ReadWholeFile(const std::string& path, std::string& bytes) {
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0)
        return LastError();
    std::string data;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return LastError();
        }
        if (n == 0)
            break;
        data.append(chunk, static_cast<std::size_t>(n));
    }
    bytes = std::move(data);
    return {};
}

std::error_code WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = ResolveTarget(path);

    mode_t mode = 0;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode))
            return std::make_error_code(std::errc::is_a_directory);
        // rename() would replace a read-only file without asking; the user's protection wins.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return LastError();
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        return LastError();
    } else {
        mode = NewFileMode();
    }

    const std::size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    // Kept short so that a long file name still leaves room for the suffix.
    std::string temp = dir + ".~" + base.substr(0, 200) + ".XXXXXX";

    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0)
        return LastError();
    TempFileGuard guard(temp);

    if (::fchmod(fd.Get(), mode) != 0)
        return LastError();
    if (auto err = WriteAll(fd.Get(), bytes))
        return err;
    if (::fsync(fd.Get()) != 0)
        return LastError();
    if (fd.Close() != 0)
        return LastError();
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return LastError();
    guard.Release();
    SyncDirectory(dir);
    return {};
}

} // namespace vcl
