#include "fanciers/envelopes.h"

#include "common/numbers.h"
#include "common/text.h"
#include "platform/print_surface.h"

#include <algorithm>

namespace vt {

namespace {

struct EnvelopeLayout {
    double senderTop, addresseeTop, addresseeLeft;
    int linesAfterComplement;
};

EnvelopeLayout layoutOf(EnvelopeSize size) {
    if (size == EnvelopeSize::Size230x160)
        return {60, 125, 73, 3};
    return {105, 145, 60, 2};
}

void printEnvelope(const FancierRecord& f, const EnvelopeLayout& l, bool urgent,
                   const QStringList& senderLines, PrintSurface& s) {
    s.setFontSize(10);
    s.setCurrentY(l.senderTop);
    s.setFontName(QStringLiteral("Courier New"));
    for (const QString& line : senderLines)
        s.printLine(line);

    s.setFontName(QStringLiteral("Times New Roman"));
    if (urgent) {
        s.printLine();
        s.setForeColor(255);
        s.setFontSize(40);
        s.printLine(QStringLiteral("     LETTRE  "));
        s.setForeColor(0);
    }

    s.setFontSize(20);
    s.setCurrentY(l.addresseeTop);
    s.setCurrentX(l.addresseeLeft);
    s.printLine(f.fancierName());
    s.setFontSize(15);
    s.printLine();
    s.setCurrentX(l.addresseeLeft);
    s.printLine(f.addressLine());
    s.setCurrentX(l.addresseeLeft);
    // Any complement that is not blank belongs to the address ("12 bis", "3e étage"),
    // printed trimmed; the postcode line stays at the same height either way.
    const QString complement = trim(f.addressComplement());
    if (!complement.isEmpty())
        s.print(complement);
    for (int i = 0; i < l.linesAfterComplement; ++i)
        s.endLine();

    s.setFontSize(20);
    s.setCurrentX(l.addresseeLeft);
    s.print(f.postCode());
    s.nextZone();
    s.print(f.town());
    s.endLine();
    s.newPage();
}

} // namespace

QStringList senderBlockLines(const SenderAddressFields& sender) {
    const QStringList lines = {sender.Correspondent, sender.Street, sender.Complement,
                               sender.PostCode + u' ' + sender.Town};
    double axis = 0;
    for (const QString& line : lines)
        axis = std::max(axis, line.size() / 2.0);
    axis += 4;
    QStringList out;
    for (const QString& line : lines)
        out.append(Space(cint(axis - line.size() / 2.0).value_or(0)) + line);
    return out;
}

PrintOutcome printEnvelopes(const QList<FancierRecord>& fanciers, EnvelopeSize size, bool urgent,
                            const SenderAddressFields& sender, PrintSurface& surface,
                            PrintProgress& progress) {
    const EnvelopeLayout layout = layoutOf(size);
    const QStringList senderLines = senderBlockLines(sender);
    surface.beginDocument(QStringLiteral("Enveloppes"));
    surface.setOrientation(Orientation::Landscape);
    surface.setScaleMillimetres(0);
    surface.setBold(true);
    for (int i = 0; i < fanciers.size(); ++i) {
        if (!progress.next(i, static_cast<int>(fanciers.size()), trim(fanciers[i].fancierName())))
            break;
        printEnvelope(fanciers[i], layout, urgent, senderLines, surface);
    }
    return surface.endDocument();
}

} // namespace vt
