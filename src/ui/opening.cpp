#include "ui/opening.h"

#include "export/sheetfile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace zev {

BeforeOpening askToSaveChanges(QWidget* window, const QString& name) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("ZEV"),
                    QStringLiteral("„%1” változásai még nincsenek elmentve.\n"
                                   "Elmented, mielőtt másik karakterlapot nyitsz meg?")
                        .arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, window);
    // Qt's own words for these are not the program's.
    box.button(QMessageBox::Save)->setText(QStringLiteral("Mentés"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("Elvetés"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Mégse"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Save:
        return BeforeOpening::Save;
    case QMessageBox::Discard:
        return BeforeOpening::Discard;
    default:
        return BeforeOpening::Stay;
    }
}

QByteArray chooseSheetFile(QWidget* window, const QString& folder) {
    const QString chosen = QFileDialog::getOpenFileName(
        window, QStringLiteral("Karakterlap megnyitása"), QDir(folder).absolutePath(),
        QStringLiteral("Karakterlapok (*%1);;Minden fájl (*)")
            .arg(QLatin1StringView(kSheetFileEnding)));
    return QFile::encodeName(chosen);
}

QByteArray draggedSheetFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) {
        return {};
    }
    // The path's own bytes: a name in no encoding the locale knows must reach the refusal
    // that says so, not become another name.
    const QByteArray path =
        QByteArray::fromPercentEncoding(urls.first().path(QUrl::FullyEncoded).toLatin1());
    return path.endsWith(QByteArrayView(kSheetFileEnding)) ? path : QByteArray();
}

} // namespace zev
