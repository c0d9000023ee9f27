// Saves one edited sheet to the path given, through the program's own save, and says how it
// went: exit 0 saved, 3 reported failure. The save is framed by two getppid calls, so that a
// tracer can tell its system calls from those of start-up.
#include "export/sheetsaver.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: save_once PATH\n", stderr);
        return 2;
    }
    zev::Sheet sheet;
    sheet.Reset();
    sheet.setRating(0, 4);
    sheet.setRating(38, 5);
    const QString path = QString::fromLocal8Bit(argv[1]);
    ::getppid();
    const zev::SaveResult result = zev::saveSheet(sheet, path);
    ::getppid();
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.message.toLocal8Bit().constData());
        return 3;
    }
    return 0;
}
