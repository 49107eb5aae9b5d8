#pragma once
// Address labels on sheets of 35 x 70 mm labels, three across and eight down: one label
// per fancier whose postcode is a number, each line centred on 28 characters.
#include "common/records.h"
#include "platform/print_progress.h"
#include "platform/print_surface.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vt {

struct MessageRequest;

// "Veuillez mettre des étiquettes 35 X 70 ..." (Yes/No, No the default).
MessageRequest labelsPrompt();

// The text lines of one label (name, address, complement, then one or two lines of
// postcode and town), before they are centred; an empty text stands for an empty line.
QStringList labelTexts(const FancierRecord& fancier);

// A label line as printed: centred on 28 characters, or empty when it does not begin
// with "0" or a character above it.
QString centredLabelLine(const QString& text);

// The labels of the fanciers, in order; those without a numeric postcode take no
// place. Always portrait. Returns where the document went. The progress hears of each
// label before it prints and may stop the document there.
PrintOutcome printLabels(const QList<FancierRecord>& fanciers, PrintSurface& surface,
                         PrintProgress& progress = noPrintProgress());

} // namespace vt
