// The floor: the least program that looks like ZEV. A window of the same size with the same
// icon, a name box and a button where ZEV has them, and 45 rows of text in the sheet's font,
// drawn on the first tick of a 10 ms timer that then keeps firing. Everything ZEV pays for
// that any such window must pay too; what ZEV costs beyond it is its own.
// With --bare it is only the empty window with the timer: a lower reference.
#include "firstpaint.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace {

struct Row {
    qreal x;
    qreal y;
    QString text;
};

class Rows : public QWidget {
public:
    using QWidget::QWidget;
    QList<Row> rows;

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const qreal perPoint = logicalDpiY() / 72.0;
        const qreal ascent = fontMetrics().ascent();
        for (const Row& row : rows) {
            painter.drawText(QPointF(row.x * perPoint, row.y * perPoint + ascent), row.text);
        }
    }
};

// Three columns of a block of three rows and a total, and a block of ten rows and a total.
QList<Row> sheetLikeRows() {
    QList<Row> rows;
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 15; ++row) {
            const qreal y = row < 4 ? 10.0 * row : 50.0 + 10.0 * (row - 4);
            const bool total = row == 3 || row == 14;
            rows.append(
                {100.0 * column, y,
                 total ? QStringLiteral("          ( 0)") : QStringLiteral("Karakter         ^")});
        }
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const bool bare = arguments.contains(QStringLiteral("--bare"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("floor"));
    window.setFixedSize(438, 363);
    Rows* sheet = new Rows(&window);
    sheet->setGeometry(0, 0, 438, 363);
    QTimer timer;
    QString tag = QStringLiteral("1");
    if (!bare) {
        window.setWindowIcon(QIcon(QStringLiteral(":/floor/zev.ico")));
        // The same system face, asked for the same way.
        QFont font(QStringLiteral("Roboto Condensed"));
        font.setPointSizeF(8.0);
        sheet->setFont(font);
        (new QLineEdit(QStringLiteral("Karakter neve"), &window))->setGeometry(8, 296, 105, 19);
        (new QPushButton(QStringLiteral("Mentés"), &window))->setGeometry(128, 296, 113, 25);
        QObject::connect(&timer, &QTimer::timeout, [&tag, sheet] {
            if (tag.toDouble() == 1.0) {
                sheet->rows = sheetLikeRows();
                sheet->update();
                tag = QStringLiteral("0");
            }
        });
    }
    timer.start(10);
    if (arguments.contains(QStringLiteral("--exit-after-first-paint"))) {
        new FirstPaintProbe(sheet, [sheet, bare] { return bare || !sheet->rows.isEmpty(); });
    }
    window.show();
    return QApplication::exec();
}
