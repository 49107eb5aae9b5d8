#include "fanciers/labels.h"

#include "common/numbers.h"
#include "common/text.h"
#include "platform/dialogs.h"
#include "platform/print_surface.h"

#include <algorithm>

namespace vt {

namespace {
constexpr double FirstRowTop = 14;
constexpr double RowPitch = 35;
constexpr double LastRowTop = 270;

bool printable(const QString& text) {
    const QString t = trim(text);
    return !t.isEmpty() && t.at(0) >= QChar(u'0');
}
} // namespace

MessageRequest labelsPrompt() {
    MessageRequest r;
    r.text = QStringLiteral("Veuillez mettre des étiquettes 35 X 70 dans l'imprimante\n"
                            "la face à imprimer en dessous.\n");
    r.title = QStringLiteral("impression des étiquettes");
    r.buttons = MsgButtons::YesNo;
    r.icon = MsgIcon::Question;
    r.defaultButton = MsgAnswer::No;
    return r;
}

QStringList labelTexts(const FancierRecord& f) {
    QStringList out = {trim(f.fancierName()), trim(f.addressLine()), trim(f.addressComplement())};
    const QString p = trim(f.postCode());
    const QString t = trim(f.town());
    const int L = static_cast<int>(t.size());
    if (L < 22) {
        const int n = std::min(static_cast<int>(p.size()) + L, 19);
        out.append(p + Space(20 - n) + t);
    } else {
        out.append(p + Space(23));
        out.append(Space(27 - std::min(L, 27)) + t);
    }
    return out;
}

QString centredLabelLine(const QString& text) {
    if (!printable(text))
        return {};
    const int h = std::min(static_cast<int>(text.size()) / 2, 14);
    return Space(14 - h) + text;
}

PrintOutcome printLabels(const QList<FancierRecord>& fanciers, PrintSurface& s,
                         PrintProgress& progress) {
    QList<FancierRecord> labelled;
    for (const FancierRecord& f : fanciers)
        if (val(f.postCode()) > 0)
            labelled.append(f);
    s.beginDocument(QStringLiteral("Etiquettes"));
    // Portrait whatever an earlier job left: eight rows need the height of a portrait page.
    s.setOrientation(Orientation::Portrait);
    s.setFontName(QStringLiteral("Courier New"));
    s.setScaleMillimetres(0);
    double y = FirstRowTop;
    const double width = s.scaleWidth();
    const double columns[3] = {0, width / 3, 2 * (width / 3)};
    s.setFontSize(12);
    s.setBold(true);
    int c = 0;
    for (int i = 0; i < labelled.size(); ++i) {
        const FancierRecord& f = labelled.at(i);
        if (!progress.next(i, static_cast<int>(labelled.size()), trim(f.fancierName())))
            break;
        if (++c > 3) {
            c = 1;
            y += RowPitch;
        }
        if (y > LastRowTop) {
            y = FirstRowTop;
            s.newPage();
        }
        const double x = columns[c - 1];
        s.setCurrentY(y);
        s.setCurrentX(x);
        s.printLine();
        for (const QString& text : labelTexts(f)) {
            const QString line = centredLabelLine(text);
            if (!line.isEmpty())
                s.setCurrentX(x);
            s.printLine(line);
        }
    }
    return s.endDocument();
}

} // namespace vt
