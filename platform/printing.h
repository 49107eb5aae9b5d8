#pragma once
// Where the programs print: the default printer when one is installed, otherwise one PDF
// file per print run in the folder `impressions` beside the data. Tests install a
// RecordingSurface instead.
#include "platform/print_surface.h"
#include "platform/recording_surface.h"

#include <memory>

class QWidget;

namespace vt {

// The surface every print job of the program draws on.
PrintSurface& printer();
// Replaces it (tests install a RecordingSurface); returns the previous one.
std::unique_ptr<PrintSurface> setPrinter(std::unique_ptr<PrintSurface> surface);
// The folder that receives the PDF files when there is no printer.
// Empty: `impressions` in StartDir.
void setPdfFolder(const QString& folder);
QString pdfFolder();
// "Configuration de l'imprimante": the printer dialog on the printer that printer()
// draws on; false when the user gives up (true at once when a test surface is installed).
bool showPrinterSetup(QWidget* parent = nullptr);

// Says once, in the window the user is in, where a print went: a message titled with that
// window's title, critical when it could not be printed; nothing when nothing was drawn.
// When the user stopped the run, `stopped` says so first.
void tellWherePrinted(const PrintOutcome& outcome, const QString& title,
                      const QString& stopped = QString());

// Installs a RecordingSurface as printer() for the scope of a test, then restores.
class RecordingPrinterScope {
public:
    RecordingPrinterScope();
    ~RecordingPrinterScope();
    RecordingPrinterScope(const RecordingPrinterScope&) = delete;
    RecordingPrinterScope& operator=(const RecordingPrinterScope&) = delete;
    RecordingSurface& operator*() { return *m_surface; }
    RecordingSurface* operator->() { return m_surface; }

private:
    RecordingSurface* m_surface;
    std::unique_ptr<PrintSurface> m_previous;
};

} // namespace vt
