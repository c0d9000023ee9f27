#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QPageSize>

#include <memory>
#include <optional>

namespace zev {

// What `--pdf` asks for: the page of each sheet, in order, in one PDF.
struct PdfRequest {
    QByteArray out;                             // the PDF's path, as the system spelt it
    QList<QByteArray> sheets;                   // the sheets' paths; none: a fresh sheet
    std::optional<QPageSize::PageSizeId> paper; // --paper; otherwise the locale's
};

// The application object and what the command line asks of the program.
struct Startup {
    std::unique_ptr<QGuiApplication> app; // none when the program is to end at once
    int exitCode = 0;                     // then, with this status
    std::optional<QByteArray> file;       // the window's file, as the system spelt it
    std::optional<PdfRequest> pdf;        // a PDF to write instead of a window
};

// Reads the whole command line before anything else: --help and --version are answered on
// standard output, a wrong command line gets the usage on standard error (status 2), all with
// no display. A PDF needs none either: its application object draws off screen. The window's
// checks that a window system can be reached (status 1 and one line when not) and sets up the
// application object, which takes Qt's own options (-platform, -display, ...).
Startup startFormsRuntime(int& argc, char** argv);

// The program's version, as --version says it.
QString programVersion();

// The program and its version, as a document it writes names its creator.
QString programCreator();

} // namespace zev
