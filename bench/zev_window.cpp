// ZEV started as the real program starts it; with --exit-after-first-paint it ends as soon
// as the first sheet has been painted.
#include "firstpaint.h"
#include "platform/formsruntime.h"
#include "platform/sheetsurfacewidget.h"
#include "ui/form1.h"

int main(int argc, char** argv) {
    const std::unique_ptr<QApplication> app = zev::startFormsRuntime(argc, argv);
    if (!app) {
        return 1;
    }
    zev::Form1 form;
    form.Form_Load();
    if (QApplication::arguments().contains(QStringLiteral("--exit-after-first-paint"))) {
        zev::SheetSurfaceWidget* surface = form.surface();
        new FirstPaintProbe(surface, [surface] { return !surface->printed().isEmpty(); });
    }
    form.show();
    return QApplication::exec();
}
