#pragma once

#include <QByteArray>

namespace zev {

// What became of one replace: the first error's errno, and whether the old content could not
// be put back after it.
struct ReplaceOutcome {
    int error = 0;
    bool damaged = false;

    [[nodiscard]] bool ok() const { return error == 0; }
};

// Gives the file at path (in the file system's encoding) exactly the given content, keeping
// everything else that belongs to an existing file: owner, group, mode, access control lists,
// extended attributes and, for a file with several names, the file itself. A symbolic link
// stays a link and the file it points to gets the content. Whatever fails, the file is left
// with its old content or the new one, never a mix; only when the old content cannot even be
// put back is the outcome damaged. POSIX only.
ReplaceOutcome replaceFileContent(const QByteArray& path, const QByteArray& content);

} // namespace zev
