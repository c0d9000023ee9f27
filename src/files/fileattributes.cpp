#include "files/fileattributes.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <linux/capability.h>
#include <string>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace zev {
namespace {

// False if the names cannot be listed; a file system without attributes lists none.
bool listNames(int fd, std::vector<std::string>& names) {
    names.clear();
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) {
        return errno == ENOTSUP;
    }
    std::string buffer(size_t(size), '\0');
    const ssize_t listed = ::flistxattr(fd, buffer.data(), buffer.size());
    if (listed < 0) {
        return false;
    }
    for (size_t at = 0; at < size_t(listed); at = buffer.find('\0', at) + 1) {
        names.emplace_back(buffer.c_str() + at);
    }
    return true;
}

bool copyOne(int from, int to, const std::string& name) {
    const ssize_t length = ::fgetxattr(from, name.c_str(), nullptr, 0);
    if (length < 0) {
        return false;
    }
    std::string value(size_t(length), '\0');
    return ::fgetxattr(from, name.c_str(), value.data(), value.size()) == length &&
           ::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) == 0;
}

} // namespace

bool copyAttributesExactly(int from, int to) {
    std::vector<std::string> wanted;
    std::vector<std::string> present;
    if (!listNames(from, wanted) || !listNames(to, present)) {
        return false;
    }
    const auto copied = [&](const std::string& name) { return copyOne(from, to, name); };
    const auto notExtra = [&](const std::string& name) {
        return std::find(wanted.cbegin(), wanted.cend(), name) != wanted.cend() ||
               ::fremovexattr(to, name.c_str()) == 0;
    };
    return std::all_of(wanted.cbegin(), wanted.cend(), copied) &&
           std::all_of(present.cbegin(), present.cend(), notExtra);
}

bool mayListEveryAttribute(int oldFile) {
    if (::flistxattr(oldFile, nullptr, 0) < 0 && errno == ENOTSUP) {
        return true;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    std::array<__user_cap_data_struct, _LINUX_CAPABILITY_U32S_3> capabilities{};
    if (::syscall(SYS_capget, &header, capabilities.data()) != 0) {
        return false;
    }
    return (capabilities[CAP_SYS_ADMIN / 32].effective & (1U << (CAP_SYS_ADMIN % 32))) != 0;
}

bool setsTrustedAttributes(int ownFile) {
    const char* probe = "trusted.zev-probe";
    if (::fsetxattr(ownFile, probe, "", 0, 0) != 0) {
        // Without trusted attributes on this file system there are none to miss.
        return errno == ENOTSUP;
    }
    return ::fremovexattr(ownFile, probe) == 0;
}

} // namespace zev
