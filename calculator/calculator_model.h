#pragma once
// What Tarvio's main window shows, computed without a window: the chosen date, the loft
// position, the Paris times and dead time, the loft's own times and the distance to the
// site at the top of the list. The window turns its steppers into calls here and copies
// the texts into its labels.
#include "loft_coordinates.h"
#include "neutralisation.h"

#include "common/records.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace vt::tarvio {

// The sites of distgen whose name is not blank, in file order; an impossible coordinate
// reads as 0 and a cut last record is left out, both noted as damage. A missing file is
// created empty. Throws FileError when the file cannot be read or created.
QList<ReleaseSiteRecord> readGeneralSitesInFileOrder(const QString& generalSitesPath);

// "Distance de : " & the trimmed name & " = " & the metres with a leading space.
QString distanceText(const ReleaseSiteRecord& site, double loftLatitude, double loftLongitude);
// Shown when distgen holds no site.
QString noSiteDistanceText();

class CalculatorModel {
public:
    // Today (the date the offsets apply to) and the sites of the list, in list order.
    CalculatorModel(const QDate& today, const QList<ReleaseSiteRecord>& sites);

    // The three date offsets: days, then months, then years from today.
    void setDateOffsets(int days, int months, int years);
    QDate date() const { return m_date; }
    QString dateText() const; // "dd/mm/yy"

    // A stepper of the latitude, the east or the west longitude moved by `steps` of its
    // part (1 degrees, 2 minutes, 3 seconds, 4 hundredths). A longitude step makes that
    // side the loft's side.
    void stepLatitude(int part, long long steps);
    void stepEast(int part, long long steps);
    void stepWest(int part, long long steps);
    const Loft& loft() const { return m_loft; }

    // The list read again after the site editor rewrote distgen: the site shown stays the
    // one of the same name while it is there, else the first; the date and loft stay.
    void setSites(const QList<ReleaseSiteRecord>& sites);

    // The site whose results are shown (the line at the top of the list).
    void setShownSite(int index);
    int shownSite() const { return m_site; }
    const QList<ReleaseSiteRecord>& sites() const { return m_sites; }
    QStringList siteItems() const; // the list lines

    // The texts of the labels.
    QString latitudeText() const { return m_loft.latitude.displayText(); }     // Label13
    QString eastText() const;                                                 // Label14
    QString westText() const;                                                 // Label15
    QString latitudePacked() const { return m_loft.latitude.packedText(); }  // Label16
    QString eastPacked() const;                                               // Label17
    QString westPacked() const;                                               // Label18
    const ParisTimes& paris() const { return m_paris; }         // Label10, Label11, Label5
    const LoftTimes& loftTimes() const { return m_loftTimes; }  // Label7, Label8
    QString distanceLabel() const { return m_distance; }        // Label6

private:
    void refreshParis();
    void refreshSite();

    QDate m_today;
    QDate m_date;
    Loft m_loft;
    QList<ReleaseSiteRecord> m_sites;
    int m_site = 0;
    ParisTimes m_paris;
    LoftTimes m_loftTimes;
    QString m_distance;
};

} // namespace vt::tarvio
