#pragma once

#include <QSaveFile>
#include <QString>

#include <cstdint>

namespace zev {

// Writes one text file by a path relative to the current directory, replacing any file of
// that name only when everything was written.
//
// The content goes to a temporary file beside the target and is renamed over it on close, so
// a failure half way (a full disk, say) leaves an older file exactly as it was. Where no
// temporary file can be made but the target itself is writable, it is written in place.
// The first error is kept, with the system's reason, and every later call does nothing.
class TextFileOutput {
public:
    bool open(const QString& path);
    void printLine(std::int16_t value);
    // Makes the new content the file's, or throws it away after an error. True on success.
    bool close();

    [[nodiscard]] bool failed() const { return !error_.isEmpty(); }
    [[nodiscard]] const QString& errorString() const { return error_; }

private:
    void write(const QByteArray& bytes);
    void fail(const QString& reason);
    void discard();

    QSaveFile file_;
    QString error_;
};

} // namespace zev
