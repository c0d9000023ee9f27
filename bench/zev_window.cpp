// ZEV started as the real program starts it, a file named or not; with --exit-after-first-paint
// it ends as soon as the first sheet has been painted.
#include "firstpaint.h"
#include "platform/formsruntime.h"
#include "platform/sheetsurfacewidget.h"
#include "ui/form1.h"

#include <QApplication>

#include <cstring>

int main(int argc, char** argv) {
    // The probe's own option is taken out first: the program's command line knows none such.
    const bool probe = argc > 1 && std::strcmp(argv[argc - 1], "--exit-after-first-paint") == 0;
    if (probe) {
        argv[--argc] = nullptr;
    }
    const zev::Startup startup = zev::startFormsRuntime(argc, argv);
    if (!startup.app) {
        return startup.exitCode;
    }
    zev::Form1 form;
    form.Form_Load();
    if (startup.file) {
        form.openNamedFile(*startup.file);
    }
    if (probe) {
        zev::SheetSurfaceWidget* surface = form.surface();
        new FirstPaintProbe(surface, [surface] { return !surface->printed().isEmpty(); });
    }
    form.show();
    return QApplication::exec();
}
