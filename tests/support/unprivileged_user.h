// Root ignores file permissions, so permission cases run as an unprivileged user for the
// lifetime of this object.
#pragma once

#include <unistd.h>

namespace orvanta::test {

class AsUnprivilegedUser {
public:
    AsUnprivilegedUser() {
        if (::geteuid() == 0)
            FSwitched = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
    }
    ~AsUnprivilegedUser() {
        if (FSwitched) {
            [[maybe_unused]] int a = ::seteuid(0);
            [[maybe_unused]] int b = ::setegid(0);
        }
    }
    AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
    AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;

private:
    bool FSwitched = false;
};

} // namespace orvanta::test
