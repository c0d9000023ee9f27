#include "platform/formsruntime.h"
#include "ui/form1.h"
#include "ui/sheetpdf.h"

#include <QApplication>

int main(int argc, char** argv) {
    const zev::Startup startup = zev::startFormsRuntime(argc, argv);
    if (!startup.app) {
        return startup.exitCode;
    }
    if (startup.pdf) {
        return zev::writeSheetsPdf(*startup.pdf);
    }
    zev::Form1 form;
    form.Form_Load();
    if (startup.file) {
        form.openNamedFile(*startup.file);
    }
    form.show();
    return QApplication::exec();
}
