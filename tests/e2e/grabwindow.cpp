// Saves a picture of an X window, by id, as PNG and prints its size as WIDTHxHEIGHT.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: grabwindow WINDOW-ID OUT.png\n", stderr);
        return 2;
    }
    bool ok = false;
    const WId window = QByteArray(argv[1]).toULongLong(&ok, 0);
    const QPixmap picture = ok ? QGuiApplication::primaryScreen()->grabWindow(window) : QPixmap();
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[2]))) {
        std::fputs("grabwindow: could not grab that window\n", stderr);
        return 1;
    }
    std::printf("%dx%d\n", picture.width(), picture.height());
    return 0;
}
