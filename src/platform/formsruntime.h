#pragma once

#include <QApplication>
#include <QByteArray>

#include <memory>
#include <optional>

namespace zev {

// The application object and what the command line asks of the window.
struct Startup {
    std::unique_ptr<QApplication> app; // none when the program is to end at once
    int exitCode = 0;                  // then, with this status
    std::optional<QByteArray> file;    // the file named, as the system spelt it
};

// Reads the command line: --help and --version are answered on standard output without a
// display. Otherwise checks that a window system can be reached and sets up the application
// object, which takes Qt's own options (-platform, -display, ...); what remains may name one
// file. Gives no application object, having said why on standard error, when there is no
// display to open a window on (status 1) or the command line is wrong (status 2, with the usage).
Startup startFormsRuntime(int& argc, char** argv);

// Creates the start-up form, raises its Load once, opens the file named, shows the form and
// runs the event loop until the window is closed.
template <typename Form> int runStartupForm(int& argc, char** argv) {
    const Startup startup = startFormsRuntime(argc, argv);
    if (!startup.app) {
        return startup.exitCode;
    }
    Form form;
    form.Form_Load();
    if (startup.file) {
        form.openNamedFile(*startup.file);
    }
    form.show();
    return QApplication::exec();
}

} // namespace zev
