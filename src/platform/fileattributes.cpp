#include "platform/fileattributes.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cerrno>
#include <sys/xattr.h>

namespace zev {
namespace {

// False if the names cannot be listed; a file system without attributes lists none.
bool listNames(int fd, QList<QByteArray>& names) {
    names.clear();
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) {
        return errno == ENOTSUP;
    }
    QByteArray buffer(size, '\0');
    const ssize_t listed = ::flistxattr(fd, buffer.data(), size_t(buffer.size()));
    if (listed < 0) {
        return false;
    }
    for (const QByteArray& name : buffer.left(listed).split('\0')) {
        if (!name.isEmpty()) {
            names.append(name);
        }
    }
    return true;
}

bool copyOne(int from, int to, const QByteArray& name) {
    const ssize_t length = ::fgetxattr(from, name.constData(), nullptr, 0);
    if (length < 0) {
        return false;
    }
    QByteArray value(length, '\0');
    return ::fgetxattr(from, name.constData(), value.data(), size_t(length)) == length &&
           ::fsetxattr(to, name.constData(), value.constData(), size_t(length), 0) == 0;
}

} // namespace

bool copyAttributesExactly(int from, int to) {
    QList<QByteArray> wanted;
    QList<QByteArray> present;
    if (!listNames(from, wanted) || !listNames(to, present)) {
        return false;
    }
    const auto copied = [&](const QByteArray& name) { return copyOne(from, to, name); };
    const auto notExtra = [&](const QByteArray& name) {
        return wanted.contains(name) || ::fremovexattr(to, name.constData()) == 0;
    };
    return std::all_of(wanted.cbegin(), wanted.cend(), copied) &&
           std::all_of(present.cbegin(), present.cend(), notExtra);
}

bool seesEveryAttribute(int ownFile) {
    const char* probe = "trusted.zev-probe";
    if (::fsetxattr(ownFile, probe, "", 0, 0) != 0) {
        // Without trusted attributes on this file system there are none to miss.
        return errno == ENOTSUP;
    }
    return ::fremovexattr(ownFile, probe) == 0;
}

} // namespace zev
