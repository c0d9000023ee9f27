#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace zev {

// Writes one text file by a path relative to the current directory: the lines printed are
// collected and given to the file on close, all at once. An existing file keeps its owner,
// group, mode, access control lists, extended attributes and other names, and is left with
// either its old content or the new one, never a mix (see filereplace.h).
// The first error is kept, with the system's reason, and every later call does nothing.
class TextFileOutput {
public:
    bool open(const QString& path);
    void printLine(std::int16_t value);
    // Gives the file its new content. True on success.
    bool close();

    [[nodiscard]] bool failed() const { return !error_.isEmpty(); }
    [[nodiscard]] const QString& errorString() const { return error_; }

private:
    void fail(const QString& reason);

    QByteArray path_;
    QByteArray content_;
    QString error_;
};

} // namespace zev
