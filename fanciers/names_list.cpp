#include "fanciers/names_list.h"

#include "common/session.h"
#include "common/text.h"
#include "platform/print_surface.h"

namespace vt {

namespace {
bool isClub(int club) {
    return club > 0 && club <= session().ClubCount && club < session().ClubNames.size();
}
} // namespace

QString namesListHeading(int club) {
    const QString title = isClub(club)
                              ? QStringLiteral("Société de ") + session().ClubNames.at(club)
                              : QStringLiteral("Fichier complet");
    return QStringLiteral("Liste des NOMS ") + title;
}

PrintOutcome printNamesList(const QStringList& listLines, int club, PrintSurface& s) {
    s.beginDocument(QStringLiteral("Liste des noms"));
    s.setFontName(QStringLiteral("COURIER New"));
    s.setFontSize(12);
    s.setBold(true);
    s.setCurrentX(1);
    s.setCurrentY(1);
    s.nextZone();
    s.printLine(namesListHeading(club));
    const bool oneClub = isClub(club);
    const QString key = oneClub ? trim(Left(session().ClubNames.at(club) + Space(20), 20)) : QString();
    for (const QString& line : listLines) {
        if (oneClub && trim(Mid(line, 24, 20)) != key)
            continue;
        s.printLine(Left(line, static_cast<int>(line.size()) - 4));
    }
    return s.endDocument();
}

} // namespace vt
