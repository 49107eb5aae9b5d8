#include "release_sites.h"

#include "common/damage.h"
#include "common/record_file.h"
#include "common/text.h"
#include "platform/dialogs.h"
#include "platform/print_surface.h"

#include <QHash>

#include <utility>

namespace vt {

namespace {
constexpr int LocalItemWidth = 22;
} // namespace

SiteFiles& siteFiles() {
    static SiteFiles instance;
    return instance;
}

// ---- general editor ----------------------------------------------------------------

GeneralSiteEditor GeneralSiteEditor::load(const QString& generalSitesPath) {
    return GeneralSiteEditor(SiteList::load(generalSitesPath));
}

bool GeneralSiteEditor::nameExists(const QString& typedName) const {
    return m_sites.indexOfName(typedName) >= 0;
}

GeneralSiteEditor::StoreOutcome GeneralSiteEditor::store(const TypedSite& typed, Dialogs& dialogs) {
    StoreOutcome out;
    const SiteEntry entry = readSiteBoxes(typed);
    switch (entry.kind) {
    case SiteEntry::NoName:
        if (m_takenOut) {
            m_takenOut.reset();
            m_modified = true;
        }
        return out;
    case SiteEntry::Refused:
        dialogs.inform(entry.message, siteMessageTitle(), MsgIcon::Exclamation);
        out.result = StoreResult::Refused;
        out.focus = entry.box;
        return out;
    case SiteEntry::Ready:
        break;
    }
    if (entry.westDropped)
        dialogs.inform(bothLongitudesWarning(), siteMessageTitle(), MsgIcon::Exclamation);
    const QString name = trim(entry.record.siteName());
    if (m_sites.indexOfName(name) >= 0 &&
        !dialogs.askYesNo(duplicateSiteQuestion(name), siteMessageTitle(), MsgAnswer::No)) {
        out.result = StoreResult::Declined;
        return out;
    }
    out.index = m_sites.insert(entry.record);
    out.result = StoreResult::Stored;
    m_takenOut.reset();
    m_modified = true;
    return out;
}

TypedSite GeneralSiteEditor::takeOut(int index) {
    putBack(); // only one site is out at a time
    const ReleaseSiteRecord r = m_sites.takeAt(index);
    m_takenOut = r;
    m_modified = true;
    return {trim(r.siteName()), coordinateBoxText(r.latitudeDms()),
            coordinateBoxText(r.longitudeEastDms()), coordinateBoxText(r.longitudeWestDms())};
}

void GeneralSiteEditor::putBack() {
    if (!m_takenOut)
        return;
    m_sites.insert(*m_takenOut);
    m_takenOut.reset();
}

void GeneralSiteEditor::save(const QString& generalSitesPath, const QString& localSitesPath) {
    putBack();
    RecordFileOf<ReleaseSiteRecord> local(localSitesPath);
    local.create();
    const QList<ReleaseSiteRecord> localSites = local.readAll();
    // Each general site updates the first local record of its name. The local names are
    // read once: a season's list and the general one may each hold hundreds of sites.
    QHash<QString, int> firstOfName;
    for (int j = int(localSites.size()) - 1; j >= 0; --j)
        firstOfName.insert(localSites.at(j).siteName(), j + 1); // the first one stays
    QList<std::pair<int, ReleaseSiteRecord>> updates;
    for (const ReleaseSiteRecord& site : m_sites.records())
        if (const auto it = firstOfName.constFind(site.siteName()); it != firstOfName.cend())
            updates.append({it.value(), site});
    m_sites.save(generalSitesPath);
    // The local copies of the sites are changed together, in one rewrite of the local file.
    if (!updates.isEmpty()) {
        try {
            local.writeRecords(updates);
        } catch (const Error& e) {
            WrittenFiles written;
            written.add(generalSitesPath);
            throw FileError(e.message() + written.note());
        }
    }
    m_modified = false;
    emit siteFiles().generalSitesSaved(m_sites.records());
}

// ---- local choice ------------------------------------------------------------------

LocalSiteChoice LocalSiteChoice::load(const QString& generalSitesPath,
                                      const QString& localSitesPath) {
    // The general list's impossible coordinates read as 0 and are noted: a ticked site is
    // copied into the local file, and must not carry them there.
    RecordFileOf<ReleaseSiteRecord>(generalSitesPath).create();
    RecordFileOf<ReleaseSiteRecord> local(localSitesPath);
    local.create();
    return LocalSiteChoice(readCheckedSites(generalSitesPath), local.readAll());
}

LocalSiteChoice::LocalSiteChoice(const QList<ReleaseSiteRecord>& general,
                                 const QList<ReleaseSiteRecord>& local) {
    QStringList localNames;
    for (const ReleaseSiteRecord& r : local)
        localNames.append(trim(r.siteName()));
    setSites(general, localNames);
}

void LocalSiteChoice::setSites(const QList<ReleaseSiteRecord>& general,
                               const QStringList& tickedNames) {
    m_sites.clear();
    m_ticked.clear();
    for (const ReleaseSiteRecord& r : general) {
        const QString name = trim(r.siteName());
        if (name.isEmpty())
            continue;
        m_sites.append(r);
        m_ticked.append(tickedNames.contains(name));
    }
}

QString LocalSiteChoice::itemText(int index) const {
    return padRight(m_sites.at(index).siteName(), LocalItemWidth);
}

void LocalSiteChoice::setTicked(int index, bool ticked) {
    if (m_ticked.at(index) != ticked) {
        m_ticked[index] = ticked;
        m_modified = true;
    }
}

void LocalSiteChoice::selectAll() {
    for (int i = 0; i < size(); ++i)
        setTicked(i, true);
}

void LocalSiteChoice::clearAll() {
    for (int i = 0; i < size(); ++i)
        setTicked(i, false);
}

QList<ReleaseSiteRecord> LocalSiteChoice::tickedSites() const {
    QList<ReleaseSiteRecord> out;
    for (int i = 0; i < size(); ++i)
        if (m_ticked.at(i))
            out.append(m_sites.at(i));
    return out;
}

void LocalSiteChoice::replaceGeneralSites(const QList<ReleaseSiteRecord>& general) {
    QStringList tickedNames;
    for (const ReleaseSiteRecord& r : tickedSites())
        tickedNames.append(trim(r.siteName()));
    setSites(general, tickedNames);
}

void LocalSiteChoice::save(const QString& localSitesPath) {
    RecordFileOf<ReleaseSiteRecord>(localSitesPath).rewrite(tickedSites());
    m_modified = false;
    emit siteFiles().localSitesSaved();
}

PrintOutcome LocalSiteChoice::print(PrintSurface& surface) const {
    if (m_sites.isEmpty())
        return {};
    surface.beginDocument(QStringLiteral("Lieux de lâcher du fichier local"));
    surface.setFontName(QStringLiteral("COURIER New"));
    surface.setFontSize(12);
    surface.setBold(true);
    surface.setCurrentX(1);
    surface.setCurrentY(1);
    surface.printLine(QStringLiteral("Liste des LIEUX de LACHER du fichier local"));
    surface.printLine();
    for (int i = 0; i < size(); ++i)
        if (m_ticked.at(i))
            surface.printLine(itemText(i));
    return surface.endDocument();
}

} // namespace vt
