#include "ui/sheetpdf.h"

#include "export/sheetopener.h"
#include "export/sheetsaver.h"

#include <QBuffer>
#include <QFile>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <string_view>

namespace zev {
namespace {

constexpr QMarginsF kMarginsMm(15, 15, 15, 15);

void tell(const QString& message) {
    std::fputs(QStringLiteral("zev: %1\n").arg(message).toLocal8Bit().constData(), stderr);
}

} // namespace

QPageSize::PageSizeId localePaper() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                              : QPageSize::A4;
}

QByteArray sheetsPdf(const QList<NamedSheet>& pages, QPageSize::PageSizeId paper) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(
        QPageLayout(QPageSize(paper), QPageLayout::Portrait, kMarginsMm, QPageLayout::Millimeter));
    writer.setTitle(pages.isEmpty() ? QString() : pages.constFirst().name);
    writer.setCreator(programCreator());
    QPainter painter(&writer);
    const QRectF area(QPointF(0, 0),
                      writer.pageLayout().paintRectPixels(writer.resolution()).size());
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.newPage();
        }
        paintSheetPage(painter, area, pages.at(i));
    }
    painter.end();
    return pdf;
}

int writeSheetsPdf(const PdfRequest& request) {
    QList<NamedSheet> pages;
    for (const QByteArray& path : request.sheets) {
        const OpenResult opened = openSheet(path);
        if (!opened.ok || opened.absent) {
            tell(opened.refusal);
            return 1;
        }
        pages.append({opened.sheet, opened.name});
    }
    if (pages.isEmpty()) { // a blank sheet, to be filled in by hand
        Sheet fresh;
        fresh.Reset();
        pages.append({fresh, freshSheetName()});
    }
    const QByteArray pdf = sheetsPdf(pages, request.paper.value_or(localePaper()));
    const SaveResult saved = saveFileContent(QFile::decodeName(request.out),
                                             std::string_view(pdf.constData(), pdf.size()));
    if (!saved.ok) {
        tell(saved.message);
        return 1;
    }
    return 0;
}

} // namespace zev
