#include "platform/printing.h"

#include "common/session.h"
#include "platform/dialogs.h"
#include "platform/qt_print_surface.h"

#include <QCoreApplication>
#include <QDir>

namespace vt {

namespace {
std::unique_ptr<PrintSurface>& current() {
    static std::unique_ptr<PrintSurface> surface;
    return surface;
}
QString& chosenPdfFolder() {
    static QString folder;
    return folder;
}
} // namespace

PrintSurface& printer() {
    auto& s = current();
    if (!s) {
        s = std::make_unique<QtPrintSurface>();
        // The printer and its fonts go before the application does.
        qAddPostRoutine([] {
            if (dynamic_cast<QtPrintSurface*>(current().get()))
                current().reset();
        });
    }
    return *s;
}

std::unique_ptr<PrintSurface> setPrinter(std::unique_ptr<PrintSurface> surface) {
    std::swap(surface, current());
    return surface;
}

void setPdfFolder(const QString& folder) { chosenPdfFolder() = folder; }

QString pdfFolder() {
    if (!chosenPdfFolder().isEmpty())
        return chosenPdfFolder();
    const QString start = session().StartDir.isEmpty() ? QDir::currentPath() : session().StartDir;
    return QDir(start).filePath(QStringLiteral("impressions"));
}

void tellWherePrinted(const PrintOutcome& outcome, const QString& title, const QString& stopped) {
    const QString& where = outcome.message;
    const QString text = stopped.isEmpty() || where.isEmpty() ? stopped + where
                                                              : stopped + u'\n' + where;
    if (text.isEmpty())
        return;
    dialogs().inform(text, title, outcome.failed() ? MsgIcon::Critical : MsgIcon::Information);
}

bool showPrinterSetup(QWidget* parent) {
    if (auto* qt = dynamic_cast<QtPrintSurface*>(&printer()))
        return qt->runPrinterSetup(parent);
    return true;
}

} // namespace vt

namespace vt {

RecordingPrinterScope::RecordingPrinterScope() {
    auto s = std::make_unique<RecordingSurface>();
    m_surface = s.get();
    m_previous = setPrinter(std::move(s));
}

RecordingPrinterScope::~RecordingPrinterScope() { setPrinter(std::move(m_previous)); }

} // namespace vt
