#pragma once

// Extended attributes, access control lists among them, read and set through descriptors.
namespace zev {

// Gives to exactly from's attributes: each of from's is copied, and each that to has and from
// lacks (such as an access control list inherited from the folder) is removed. False if any of
// them cannot be read, set or removed.
bool copyAttributesExactly(int from, int to);

// Whether this process sees every attribute a file may hold. One that may not set trusted.*
// attributes may not list them either, so another file may hold some it cannot see. Tried on a
// file of the caller's own, which is left as it was.
bool seesEveryAttribute(int ownFile);

} // namespace zev
