#pragma once

#include <QString>
#include <QTimer>

namespace zev {

// A periodic timer that also carries a free text, the Tag, for its owner's bookkeeping.
class FormTimer : public QTimer {
public:
    using QTimer::QTimer;

    QString Tag;
};

} // namespace zev
