#pragma once

#include <QApplication>

#include <memory>

namespace zev {

// Checks that a window system can be reached and sets up the application object; gives none,
// having said why on standard error, when there is no display to open a window on.
std::unique_ptr<QApplication> startFormsRuntime(int& argc, char** argv);

// Creates the start-up form, raises its Load once before it is shown, shows it and runs the
// event loop until the window is closed.
template <typename Form> int runStartupForm(int& argc, char** argv) {
    const std::unique_ptr<QApplication> app = startFormsRuntime(argc, argv);
    if (!app) {
        return 1;
    }
    Form form;
    form.Form_Load();
    form.show();
    return QApplication::exec();
}

} // namespace zev
