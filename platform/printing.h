#pragma once
// Where the programs print: the default printer when one is installed, otherwise one PDF
// file per document in the folder `impressions` beside the data. Tests install a
// RecordingSurface instead.
#include "print_surface.h"

#include <memory>

namespace vt {

// The surface every print job of the program draws on.
PrintSurface& printer();
// Replaces it (tests install a RecordingSurface); returns the previous one.
std::unique_ptr<PrintSurface> setPrinter(std::unique_ptr<PrintSurface> surface);
// The folder that receives the PDF files when there is no printer.
void setPdfFolder(const QString& folder);
QString pdfFolder();

} // namespace vt
