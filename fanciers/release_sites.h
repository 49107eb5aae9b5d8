#pragma once
// Vorel's two release-site editors as rules without a window: the general editor of
// distgen (which also carries changed coordinates into the club's distloc) and the
// choice of the club's local sites (distloc rebuilt from the ticked distgen sites).
#include "fanciers/site_list.h"
#include "platform/print_surface.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace vt {

class Dialogs;

// Tells open windows that a release-site file was written.
class SiteFiles : public QObject {
    Q_OBJECT
signals:
    // distgen was rewritten with these sites (list order).
    void generalSitesSaved(const QList<vt::ReleaseSiteRecord>& sites);
    // distloc was rebuilt by the local choice.
    void localSitesSaved();
};
SiteFiles& siteFiles();

// The working copy of distgen in the general editor.
class GeneralSiteEditor {
public:
    enum class StoreResult {
        NothingStored, // empty name: nothing stored (a site taken out is thereby deleted)
        Stored,
        Refused,  // a box could not be read; its message was shown
        Declined, // the name exists and the user chose not to store it again
    };
    struct StoreOutcome {
        StoreResult result = StoreResult::NothingStored;
        SiteBox focus = SiteBox::Name; // the box that takes the focus
        int index = -1;                // the stored site's place in the list
    };

    GeneralSiteEditor() = default;
    explicit GeneralSiteEditor(SiteList sites) : m_sites(std::move(sites)) {}
    // Reads distgen (created empty when missing), impossible coordinates read as 0 and a
    // cut last record left out, both noted as damage. Throws FileError.
    static GeneralSiteEditor load(const QString& generalSitesPath);

    const SiteList& sites() const { return m_sites; }

    // The name check of Enter in the name box: true when a site of that name (trimmed,
    // ignoring case) is in the list.
    bool nameExists(const QString& typedName) const;

    // Stores the boxes as a site: refusals and the both-longitudes warning are shown and
    // a name already in the list is asked about (Yes/No, default No) through `dialogs`.
    StoreOutcome store(const TypedSite& typed, Dialogs& dialogs);

    // Takes site `index` out of the list for modification; returns the boxes' texts.
    TypedSite takeOut(int index);
    bool hasTakenOut() const { return m_takenOut.has_value(); }
    // Puts a site taken out back as it was when it was taken out.
    void putBack();

    // Something changed since the load: a store, a take-out or text typed in a box.
    bool isModified() const { return m_modified; }
    void markModified() { m_modified = true; }

    // Saves: a site taken out is put back first; distgen is rewritten whole in list order;
    // each distloc site of exactly the same 25-character name takes the new record in its
    // place (distloc is created empty when missing). Throws FileError (the message names
    // the file); distgen is then as it was, or written with distloc left as it was.
    void save(const QString& generalSitesPath, const QString& localSitesPath);

    PrintOutcome print(PrintSurface& surface) const { return printGeneralSites(m_sites, surface); }

private:
    SiteList m_sites;
    std::optional<ReleaseSiteRecord> m_takenOut;
    bool m_modified = false;
};

// The ticked choice of the club's local sites among the general ones.
class LocalSiteChoice {
public:
    // Reads distgen (blank sites skipped) and distloc (created empty when missing); an
    // item is ticked when a distloc site has the same whole name, trimmed, case counting.
    // Throws FileError.
    static LocalSiteChoice load(const QString& generalSitesPath, const QString& localSitesPath);
    LocalSiteChoice(const QList<ReleaseSiteRecord>& general, const QList<ReleaseSiteRecord>& local);

    int size() const { return static_cast<int>(m_sites.size()); }
    // The item's text: the name padded or cut to 22 characters.
    QString itemText(int index) const;
    const ReleaseSiteRecord& site(int index) const { return m_sites.at(index); }
    bool isTicked(int index) const { return m_ticked.at(index); }
    void setTicked(int index, bool ticked);
    void selectAll();
    void clearAll();
    QList<ReleaseSiteRecord> tickedSites() const;
    bool isModified() const { return m_modified; }

    // distgen was saved by the general editor: the items become those sites, each ticked
    // when a site of the same whole name was ticked.
    void replaceGeneralSites(const QList<ReleaseSiteRecord>& general);

    // Rewrites distloc with the ticked sites as read, in list order (length 0 when none
    // is ticked). Throws FileError; distloc then stays as it was.
    void save(const QString& localSitesPath);

    // Prints the ticked names (nothing when there is no item).
    PrintOutcome print(PrintSurface& surface) const;

private:
    void setSites(const QList<ReleaseSiteRecord>& general, const QStringList& tickedNames);
    QList<ReleaseSiteRecord> m_sites;
    QList<bool> m_ticked;
    bool m_modified = false;
};

} // namespace vt
