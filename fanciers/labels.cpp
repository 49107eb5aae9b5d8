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
constexpr double LabelPoints = 12;
// A line too wide for its label prints smaller, by half points, down to this size; what
// still does not fit is cut at the label's right edge.
constexpr double SmallestPoints = 8;
constexpr double PointStep = 0.5;
constexpr double Tolerance = 1e-9;

bool printable(const QString& text) {
    const QString t = trim(text);
    return !t.isEmpty() && t.at(0) >= QChar(u'0');
}
// Prints one line of a label at X = x, within `room` millimetres, so that it never runs
// into the next label or past the page: smaller when it must, on the baseline it would
// have had, the next line below it where it would have been.
void printLabelLine(PrintSurface& s, double x, double room, const QString& line) {
    QString ink = line;
    while (ink.endsWith(u' ')) // trailing spaces draw nothing
        ink.chop(1);
    s.setCurrentX(x);
    if (s.textWidth(ink) <= room + Tolerance) {
        s.printLine(line);
        return;
    }
    const double top = s.currentY();
    const double height = s.lineHeight();
    double size = LabelPoints;
    while (size > SmallestPoints && s.textWidth(ink) > room + Tolerance) {
        size -= PointStep;
        s.setFontSize(size);
    }
    while (!ink.isEmpty() && s.textWidth(ink) > room + Tolerance)
        ink.chop(1);
    s.setCurrentY(top + height - s.lineHeight());
    s.print(ink);
    s.setFontSize(LabelPoints);
    s.setCurrentY(top);
    s.endLine();
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
    const double room = width / 3;
    s.setFontSize(LabelPoints);
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
            if (line.isEmpty())
                s.printLine();
            else
                printLabelLine(s, x, room, line);
        }
    }
    return s.endDocument();
}

} // namespace vt
