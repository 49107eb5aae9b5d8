#pragma once
// Addressed envelopes for the selected fanciers: the club's sender block centred in a
// fixed-pitch font, an optional red "LETTRE" mark, the addressee in "Times New Roman",
// one landscape page per fancier, in one print job.
#include "common/records.h"
#include "common/session.h"
#include "platform/print_progress.h"
#include "platform/print_surface.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vt {

enum class EnvelopeSize { Size220x110, Size230x160 };

// The four sender lines, each preceded by the spaces that centre it on the block's axis.
QStringList senderBlockLines(const SenderAddressFields& sender);

// One envelope per fancier, in order. Returns where the document went (empty when
// there was no fancier). The progress hears of each envelope before it prints and may
// stop the document there.
PrintOutcome printEnvelopes(const QList<FancierRecord>& fanciers, EnvelopeSize size, bool urgent,
                            const SenderAddressFields& sender, PrintSurface& surface,
                            PrintProgress& progress = noPrintProgress());

} // namespace vt
