#include "platform/formsruntime.h"

#include <cstdio>
#include <cstdlib>

namespace zev {
namespace {

bool hasEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display Qt would abort with a long backtrace; one clear line serves better.
bool displayReachable() {
    return hasEnvironment("QT_QPA_PLATFORM") || hasEnvironment("DISPLAY") ||
           hasEnvironment("WAYLAND_DISPLAY");
}

} // namespace

std::unique_ptr<QApplication> startFormsRuntime(int& argc, char** argv) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!displayReachable()) {
        std::fputs("zev: no display to open the window on (DISPLAY is not set); "
                   "try: xvfb-run -a zev\n",
                   stderr);
        return nullptr;
    }
#endif
    auto app = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zev"));
    QApplication::setDesktopFileName(QStringLiteral("zev"));
    return app;
}

} // namespace zev
