#pragma once

// Extended attributes, access control lists among them, read and set through descriptors.
namespace zev {

// Gives to exactly from's attributes: each of from's is copied, and each that to has and from
// lacks (such as an access control list inherited from the folder) is removed. False if any of
// them cannot be read, set or removed.
bool copyAttributesExactly(int from, int to);

// Whether this process sees every attribute the old file may hold: true where its file system
// keeps none, else only with CAP_SYS_ADMIN, without which trusted.* attributes cannot even be
// listed (every ordinary user). Asked before any file is made.
bool mayListEveryAttribute(int oldFile);

// The capability held only inside a user namespace is not enough for trusted.* attributes:
// tried on a file of the caller's own, which is left as it was.
bool setsTrustedAttributes(int ownFile);

} // namespace zev
