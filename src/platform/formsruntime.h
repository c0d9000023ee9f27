#pragma once

#include <QApplication>

#include <memory>

namespace zev {

// Checks that a window system can be reached and sets up the application object; returns
// false, having said why on standard error, when there is no display to open a window on.
bool startFormsRuntime(int& argc, char** argv, std::unique_ptr<QApplication>& app);

// Creates the start-up form, raises its Load once before it is shown, shows it and runs the
// event loop until the window is closed.
template <typename Form> int runStartupForm(int& argc, char** argv) {
    std::unique_ptr<QApplication> app;
    if (!startFormsRuntime(argc, argv, app)) {
        return 1;
    }
    Form form;
    form.Form_Load();
    form.show();
    return QApplication::exec();
}

} // namespace zev
