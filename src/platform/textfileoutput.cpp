#include "platform/textfileoutput.h"

#include "platform/textconversions.h"

#include <QFile>

#include <cerrno>
#include <cstring>

namespace zev {
namespace {

QString systemReason(const QFileDevice& file, int savedErrno) {
    // After a failed write Qt may only say "Unknown error"; the errno of the call says more.
    if (file.error() != QFileDevice::NoError &&
        file.errorString() != QLatin1String("Unknown error")) {
        return file.errorString();
    }
    return savedErrno != 0 ? QString::fromLocal8Bit(std::strerror(savedErrno))
                           : QStringLiteral("ismeretlen hiba");
}

} // namespace

bool TextFileOutput::open(const QString& path) {
    if (path.contains(QChar(u'\0'))) {
        // The system call would silently cut the name at the NUL and write somewhere else.
        fail(QStringLiteral("a név nem tartalmazhat NUL karaktert"));
        return false;
    }
    if (QFile::decodeName(QFile::encodeName(path)) != path) {
        // A lone surrogate would silently become U+FFFD: a different name than the one typed.
        fail(QStringLiteral("a név nem írható le a fájlrendszer kódolásával"));
        return false;
    }
    file_.setFileName(path);
    file_.setDirectWriteFallback(true);
    errno = 0;
    // Unbuffered, so a full disk shows up at the write that hits it and not silently later.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(systemReason(file_, errno));
        return false;
    }
    return true;
}

void TextFileOutput::printLine(std::int16_t value) { write(integerLine(value)); }

void TextFileOutput::write(const QByteArray& bytes) {
    if (failed()) {
        return;
    }
    errno = 0;
    const qint64 written = file_.write(bytes);
    if (written != bytes.size()) {
        const int savedErrno = errno;
        fail(written < 0
                 ? systemReason(file_, savedErrno)
                 : QString::fromLocal8Bit(std::strerror(savedErrno != 0 ? savedErrno : ENOSPC)));
    }
}

bool TextFileOutput::close() {
    if (!failed()) {
        errno = 0;
        if (!file_.flush()) {
            fail(systemReason(file_, errno));
        }
    }
    if (failed()) {
        discard();
        return false;
    }
    errno = 0;
    if (!file_.commit()) {
        fail(systemReason(file_, errno));
        return false;
    }
    return true;
}

void TextFileOutput::discard() {
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit(); // with writing cancelled this only removes the temporary file
    }
}

void TextFileOutput::fail(const QString& reason) {
    if (error_.isEmpty()) {
        error_ = reason;
    }
}

} // namespace zev
