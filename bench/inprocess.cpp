// In-process timings: release to repainted sheet, one save, one idle timer tick.
// Prints "name median" lines. With --save-over PATH it only saves once, to PATH.
#include "export/sheetsaver.h"
#include "platform/sheetsurfacewidget.h"
#include "ui/form1.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianMicroseconds(std::vector<qint64>& nanoseconds) {
    std::sort(nanoseconds.begin(), nanoseconds.end());
    return double(nanoseconds[nanoseconds.size() / 2]) / 1000.0;
}

// A release cycles through raising and lowering a few traits, as a user's clicks would.
double releaseToRedraw(zev::Form1& form, int count) {
    QImage image(form.surface()->size(), QImage::Format_ARGB32_Premultiplied);
    const float xs[] = {50, 150, 250};
    const float ys[] = {5, 15, 25, 55, 95, 145};
    std::vector<qint64> samples;
    QElapsedTimer timer;
    for (int n = 0; n < count; ++n) {
        const std::int16_t button = (n / 7) % 2 == 0 ? 1 : 2;
        timer.start();
        form.Form_MouseUp(button, 0, xs[n % 3], ys[n % 6]);
        form.surface()->render(&image);
        samples.push_back(timer.nsecsElapsed());
    }
    return medianMicroseconds(samples);
}

double save(const zev::Sheet& sheet, int count) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Karakter neve.txt"));
    std::vector<qint64> samples;
    QElapsedTimer timer;
    for (int n = 0; n < count; ++n) {
        timer.start();
        if (!zev::saveSheet(sheet, path).ok) {
            std::fputs("save failed\n", stderr);
            return -1;
        }
        samples.push_back(timer.nsecsElapsed());
    }
    return medianMicroseconds(samples);
}

// What one idle tick of Timer1 costs beyond the toolkit's own wake-up: the handler alone,
// timed in batches because a single call is far below the clock's resolution.
double idleTickNanoseconds(zev::Form1& form, int batches) {
    constexpr int kBatch = 1000;
    std::vector<qint64> samples;
    QElapsedTimer timer;
    for (int n = 0; n < batches; ++n) {
        timer.start();
        for (int tick = 0; tick < kBatch; ++tick) {
            form.Timer1_Timer();
        }
        samples.push_back(timer.nsecsElapsed());
    }
    return medianMicroseconds(samples); // microseconds per batch of 1000 = ns per tick
}

} // namespace

// With assistive technology listening, the accessibility bridge comes up a moment after start.
bool waitForAccessibility() {
    QElapsedTimer waited;
    waited.start();
    while (!QAccessible::isActive() && waited.elapsed() < 10000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return QAccessible::isActive();
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const bool smoke = arguments.contains(QStringLiteral("--smoke"));
    zev::Form1 form;
    form.Form_Load();
    form.show();
    form.Timer1_Timer();
    if (arguments.contains(QStringLiteral("--accessible"))) {
        if (!waitForAccessibility()) {
            std::fputs("accessibility never became active\n", stderr);
            return 1;
        }
        std::printf("accessible_release_to_redraw_us %.1f\n",
                    releaseToRedraw(form, smoke ? 50 : 5000));
        return 0;
    }
    if (const qsizetype at = QCoreApplication::arguments().indexOf(QStringLiteral("--save-over"));
        at > 0) {
        // One save over the file named, for the peak memory it takes and nothing else.
        return zev::saveSheet(form.sheet(), QCoreApplication::arguments().value(at + 1)).ok ? 0 : 1;
    }
    std::printf("release_to_redraw_us %.1f\n", releaseToRedraw(form, smoke ? 50 : 20000));
    std::printf("save_us %.1f\n", save(form.sheet(), smoke ? 5 : 500));
    std::printf("idle_tick_ns %.1f\n", idleTickNanoseconds(form, smoke ? 5 : 500));
    return 0;
}
