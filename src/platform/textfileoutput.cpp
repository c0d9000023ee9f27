#include "platform/textfileoutput.h"

#include "platform/filereplace.h"
#include "platform/textconversions.h"

#include <QFile>

#include <cstring>

namespace zev {

bool TextFileOutput::open(const QString& path) {
    if (path.contains(QChar(u'\0'))) {
        // The system call would silently cut the name at the NUL and write somewhere else.
        fail(QStringLiteral("a név nem tartalmazhat NUL karaktert"));
        return false;
    }
    path_ = QFile::encodeName(path);
    if (QFile::decodeName(path_) != path) {
        // A lone surrogate would silently become U+FFFD: a different name than the one typed.
        fail(QStringLiteral("a név nem írható le a fájlrendszer kódolásával"));
        return false;
    }
    return true;
}

void TextFileOutput::printLine(std::int16_t value) {
    if (!failed()) {
        content_ += integerLine(value);
    }
}

bool TextFileOutput::close() {
    if (failed()) {
        return false;
    }
    const ReplaceOutcome outcome = replaceFileContent(path_, content_);
    if (!outcome.ok()) {
        QString reason = QString::fromLocal8Bit(std::strerror(outcome.error));
        if (outcome.damaged) {
            reason += QStringLiteral("\nA fájl régi tartalmát sem sikerült visszaírni, "
                                     "a fájl megsérülhetett.");
        }
        fail(reason);
    }
    return outcome.ok();
}

void TextFileOutput::fail(const QString& reason) {
    if (error_.isEmpty()) {
        error_ = reason;
    }
}

} // namespace zev
