// The floor: a bare Qt window of ZEV's size with the same 10 ms timer that does nothing.
// With --with-text it also shows one line of text, the floor of any window that draws text.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(438, 363);
    QTimer timer;
    QString tag = QStringLiteral("1");
    QObject::connect(&timer, &QTimer::timeout, [&tag] { tag = QStringLiteral("0"); });
    timer.start(10);
    const QStringList arguments = QApplication::arguments();
    if (arguments.contains(QStringLiteral("--with-text"))) {
        new QLabel(QStringLiteral("Karakter neve"), &window);
    }
    if (arguments.contains(QStringLiteral("--exit-after-first-paint"))) {
        new FirstPaintProbe(&window, [] { return true; });
    }
    window.show();
    return QApplication::exec();
}
