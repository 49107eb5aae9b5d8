#pragma once
// The program's printer, for one test, is the PDF output without a printer, into a folder
// of the test's own: the files of a print run can be listed and read back.
#include "platform/printing.h"
#include "platform/qt_print_surface.h"

#include <QDir>
#include <QTemporaryDir>

#include <memory>

namespace vt::testing {

struct PdfPrinterScope {
    QTemporaryDir folder;
    std::unique_ptr<PrintSurface> previous;
    PdfPrinterScope() {
        setPdfFolder(folder.filePath(QStringLiteral("impressions")));
        previous = setPrinter(std::make_unique<QtPrintSurface>(QtPrintSurface::Target::Pdf));
    }
    ~PdfPrinterScope() {
        setPrinter(std::move(previous));
        setPdfFolder(QString());
    }
    PdfPrinterScope(const PdfPrinterScope&) = delete;
    PdfPrinterScope& operator=(const PdfPrinterScope&) = delete;
    // The files written, hidden part files included, by name.
    QStringList files() const {
        return QDir(folder.filePath(QStringLiteral("impressions")))
            .entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QString path(const QString& file) const {
        return QDir(folder.filePath(QStringLiteral("impressions"))).filePath(file);
    }
};

} // namespace vt::testing
