// The floor: a bare Qt window of ZEV's size with the same 10 ms timer that does nothing.
#include "firstpaint.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.setFixedSize(438, 363);
    QTimer timer;
    QString tag = QStringLiteral("1");
    QObject::connect(&timer, &QTimer::timeout, [&tag] { tag = QStringLiteral("0"); });
    timer.start(10);
    if (firstPaintRequested(argc, argv)) {
        new FirstPaintProbe(&window, [] { return true; });
    }
    window.show();
    return QApplication::exec();
}
