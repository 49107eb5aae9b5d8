#pragma once
// The general release-site file distgen as both programs edit it: the records kept in
// the list's order (by name), the 55-character list line of a site, the reading of the
// four boxes of a site, the name check and the printed list. Vorel's and Tarvio's
// editors share these rules so that distgen comes out the same whoever writes it.
#include "common/held_lock.h"
#include "common/records.h"
#include "platform/print_surface.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vt {

// Latitude, east or west longitude as shown in a list line: Str(v) right-aligned in 10.
// A value whose text is longer than 10 is rounded to the most decimals that fit, so its
// leading digits are never cut (480506.1234 shows as "480506.123").
QString siteCoordinateField(double value);

// The list line of a site (55 characters): the trimmed name padded or cut to 25, then
// latitude, east and west longitude, each in 10 columns.
QString siteListItem(const ReleaseSiteRecord& site);

// A site name as typed or stored, upper-cased and trimmed: the key of the name check.
QString siteNameKey(const QString& name);

// The sites of distgen in list order: alphabetical by their list line, ignoring case
// (the one comparator of every sorted list). Blank sites are never kept.
class SiteList {
public:
    SiteList() = default;
    // Sorts the records; those whose trimmed name is empty are dropped and every name is
    // written trimmed, as a rewrite of distgen stores it.
    explicit SiteList(const QList<ReleaseSiteRecord>& records);

    // Reads distgen (a missing file is created empty): an impossible coordinate reads as 0
    // and a cut last record is left out, both noted as damage. Throws FileError.
    static SiteList load(const QString& generalSitesPath);
    // Rewrites distgen whole, in list order, through a temporary file. Throws FileError;
    // the old file then stays as it was.
    void save(const QString& generalSitesPath) const;

    const QList<ReleaseSiteRecord>& records() const { return m_records; }
    int size() const { return static_cast<int>(m_records.size()); }
    bool isEmpty() const { return m_records.isEmpty(); }
    const ReleaseSiteRecord& at(int index) const { return m_records.at(index); }
    QStringList items() const; // the list lines, in order

    // Inserts at the sorted place; returns the index. A blank site is not kept (-1).
    int insert(const ReleaseSiteRecord& site);
    ReleaseSiteRecord takeAt(int index);
    // The first site whose name, trimmed and upper-cased, equals the name given so;
    // -1 when there is none or the name is blank.
    int indexOfName(const QString& name) const;

private:
    QList<ReleaseSiteRecord> m_records;
    QStringList m_items; // the list line of each record, written once
};

// The lock file, beside distgen, that a site editor holds while it is open, so that Vorel
// and Tarvio (which may run side by side on one folder) never edit the list at once.
QString siteListLockPath(const QString& generalSitesPath);
// Takes the site list for an editor. When another program's editor has it, the lock is
// not held and `refusal` gets the message to show: the list is being edited in that
// program, nothing is saved here.
HeldLock holdSiteList(const QString& generalSitesPath, QString& refusal);

// The four boxes of a site, as typed.
struct TypedSite {
    QString name, latitude, east, west;
};

enum class SiteBox { Name, Latitude, East, West };

// The boxes read for storing: either a refusal naming the box, or the record to store.
struct SiteEntry {
    enum Kind { NoName, Refused, Ready } kind = NoName;
    SiteBox box = SiteBox::Name; // the refused box
    QString message;             // the refusal
    ReleaseSiteRecord record;    // for Ready
    bool westDropped = false;    // both longitudes were given: east kept, west set to 0
};

// Reads the boxes: an empty or blank name stores nothing; the name must be Windows-1252;
// the latitude must be a number; an empty longitude reads 0; a text that is not a number,
// a negative value or a coordinate that names no place is refused. Both longitudes given:
// the east one is kept.
SiteEntry readSiteBoxes(const TypedSite& typed);

// A coordinate box checked on Enter and on storing: a refusal message, or nothing when it
// is empty or a number that is not negative and names a place (impossibleCoordinateRefusal).
std::optional<QString> checkCoordinateBox(const QString& text, SiteBox box);
// The value of a longitude box as the Enter key uses it (0 when empty).
double coordinateBoxValue(const QString& text);
// The box text after Enter: trimmed, every "." turned into ",".
QString normaliseCoordinateBox(const QString& text);
// A stored value written into a box with the decimal comma and all its digits.
QString coordinateBoxText(double value);

// The question asked before a second site of the same name is stored (default No): both
// editors ask it, since Vorel finds a site by its name.
QString duplicateSiteQuestion(const QString& name);

// The warning shown when both longitudes were typed.
QString bothLongitudesWarning();
// The title of the editors' message boxes.
QString siteMessageTitle();

// Prints the list of the general file (nothing when the list is empty). Returns where the
// document went (the surface's answer), empty when nothing was printed.
PrintOutcome printGeneralSites(const SiteList& sites, PrintSurface& surface);

} // namespace vt
