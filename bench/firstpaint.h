#pragma once
// Reports when a widget has painted for the first time, as CLOCK_REALTIME nanoseconds on
// standard output, and ends the process there, so a launcher can time start to first paint.

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>

class FirstPaintProbe : public QObject {
public:
    // ready says whether a paint of the widget counts (for zev: once the sheet is there).
    FirstPaintProbe(QWidget* widget, std::function<bool()> ready)
        : QObject(widget), ready_(std::move(ready)) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint && ready_()) {
            // The paint runs right after this filter; report once it has been handled.
            QTimer::singleShot(0, [] {
                timespec now{};
                clock_gettime(CLOCK_REALTIME, &now);
                std::printf("%lld\n",
                            static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    std::function<bool()> ready_;
};
