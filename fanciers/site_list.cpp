#include "site_list.h"

#include "fanciers/geodesy.h"

#include "common/damage.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/sorting.h"
#include "common/text.h"
#include "platform/print_surface.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace vt {

namespace {

constexpr int NameWidth = 25;
constexpr int FieldWidth = 10;

QString boxLabel(SiteBox box) {
    switch (box) {
    case SiteBox::Name:
        return QStringLiteral("Nom du LIEU de LACHER");
    case SiteBox::Latitude:
        return QStringLiteral("LATITUDE");
    case SiteBox::East:
        return QStringLiteral("Longitude EST");
    case SiteBox::West:
        return QStringLiteral("Longitude OUEST");
    }
    return {};
}

ReleaseSiteRecord withTrimmedName(ReleaseSiteRecord site) {
    site.setSiteName(trim(site.siteName()));
    return site;
}

SiteEntry refusal(SiteBox box, const QString& message) {
    SiteEntry e;
    e.kind = SiteEntry::Refused;
    e.box = box;
    e.message = message;
    return e;
}

// The digits of a value, rounded until they fit the field.
QString fittedDigits(double value) {
    QString digits = plainDigits(value);
    const int room = value < 0 ? FieldWidth - 1 : FieldWidth;
    const QString unsignedDigits = value < 0 ? digits.mid(1) : digits;
    if (unsignedDigits.size() <= room)
        return digits;
    const qsizetype point = unsignedDigits.indexOf(u'.');
    if (point < 0 || point > room)
        return digits; // no decimals to drop: the value cannot fit, as written before
    // No text with more decimals than the field has room for fits once its trailing zeros
    // are dropped unless it is the same value rounded to that room: the loop starts there,
    // not at the last of a tiny value's hundreds of decimals.
    const int decimals0 = std::min(static_cast<int>(unsignedDigits.size() - point - 2),
                                   std::max(0, room - static_cast<int>(point) - 1));
    for (int decimals = decimals0; decimals >= 0; --decimals) {
        QString t = QString::number(value, 'f', decimals);
        if (t.contains(u'.')) {
            while (t.endsWith(u'0'))
                t.chop(1);
            if (t.endsWith(u'.'))
                t.chop(1);
        }
        if (t == QStringLiteral("-0"))
            t = QStringLiteral("0");
        if ((t.startsWith(u'-') ? t.size() - 1 : t.size()) <= room)
            return t;
    }
    return digits;
}

} // namespace

QString siteCoordinateField(double value) {
    const QString digits = fittedDigits(value);
    const QString str = digits.startsWith(u'-') ? digits : QStringLiteral(" ") + digits;
    return Right(Space(FieldWidth) + str, FieldWidth);
}

QString siteListItem(const ReleaseSiteRecord& site) {
    return padRight(trim(site.siteName()), NameWidth) + siteCoordinateField(site.latitudeDms()) +
           siteCoordinateField(site.longitudeEastDms()) +
           siteCoordinateField(site.longitudeWestDms());
}

QString siteNameKey(const QString& name) {
    return upperCase(trim(name));
}

SiteList::SiteList(const QList<ReleaseSiteRecord>& records) {
    // Each site's list line is written once and the lines are sorted with their records:
    // writing two lines for every comparison made a list of a thousand sites load slowly.
    QList<std::pair<QString, ReleaseSiteRecord>> keyed;
    keyed.reserve(records.size());
    for (const ReleaseSiteRecord& r : records)
        if (!isBlank(r.siteName())) {
            ReleaseSiteRecord site = withTrimmedName(r);
            keyed.append({siteListItem(site), site});
        }
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return listTextLess(a.first, b.first);
    });
    m_records.reserve(keyed.size());
    m_items.reserve(keyed.size());
    for (const auto& k : keyed) {
        m_items.append(k.first);
        m_records.append(k.second);
    }
}

SiteList SiteList::load(const QString& generalSitesPath) {
    RecordFileOf<ReleaseSiteRecord>(generalSitesPath).create();
    return SiteList(readCheckedSites(generalSitesPath));
}

void SiteList::save(const QString& generalSitesPath) const {
    RecordFileOf<ReleaseSiteRecord>(generalSitesPath).rewrite(m_records);
}

QStringList SiteList::items() const { return m_items; }

int SiteList::insert(const ReleaseSiteRecord& site) {
    if (isBlank(site.siteName()))
        return -1;
    const ReleaseSiteRecord r = withTrimmedName(site);
    const QString item = siteListItem(r);
    auto it = std::upper_bound(m_items.begin(), m_items.end(), item, listTextLess);
    const int index = static_cast<int>(it - m_items.begin());
    m_records.insert(index, r);
    m_items.insert(index, item);
    return index;
}

ReleaseSiteRecord SiteList::takeAt(int index) {
    m_items.removeAt(index);
    return m_records.takeAt(index);
}

int SiteList::indexOfName(const QString& name) const {
    const QString key = siteNameKey(name);
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < size(); ++i)
        if (siteNameKey(m_records.at(i).siteName()) == key)
            return i;
    return -1;
}

std::optional<QString> checkCoordinateBox(const QString& text, SiteBox box) {
    const TypedNumber n = parseTyped(text);
    if (n.isInvalid())
        return QStringLiteral("La case « %1 » ne contient pas un nombre : « %2 ».\n"
                              "Tapez les degrés, minutes et secondes sans intervalle "
                              "(480506 pour 48° 05' 06\").")
            .arg(boxLabel(box), trim(text));
    if (n.isNumber() && n.value < 0)
        return QStringLiteral("La case « %1 » ne peut pas contenir un nombre négatif.")
            .arg(boxLabel(box));
    if (const QString m =
            impossibleCoordinateRefusal(n.value, box == SiteBox::Latitude, boxLabel(box));
        !m.isEmpty())
        return m;
    return std::nullopt;
}

double coordinateBoxValue(const QString& text) {
    const TypedNumber n = parseTyped(text);
    return n.isNumber() ? n.value : 0;
}

QString normaliseCoordinateBox(const QString& text) {
    QString t = trim(text);
    t.replace(u'.', u',');
    return t;
}

QString coordinateBoxText(double value) {
    return numberText(value);
}

QString duplicateSiteQuestion(const QString& name) {
    return QStringLiteral("Le lieu de lâcher %1 existe déjà. Le mémoriser quand même ?").arg(name);
}

QString bothLongitudesWarning() {
    return QStringLiteral("Les deux longitudes sont remplies : la longitude EST est gardée, "
                          "la longitude OUEST est mise à 0.");
}

QString siteMessageTitle() {
    return QStringLiteral("Lieux de lâcher");
}

SiteEntry readSiteBoxes(const TypedSite& typed) {
    if (isBlank(typed.name))
        return {};
    const QString name = Left(trim(typed.name), NameWidth);
    const QString bad = firstNonCp1252(name);
    if (!bad.isEmpty())
        return refusal(SiteBox::Name,
                       QStringLiteral("Le nom du lieu de lâcher contient le caractère « %1 », "
                                      "que le fichier ne peut pas enregistrer.")
                           .arg(bad));

    const TypedNumber latitude = parseTyped(typed.latitude);
    if (latitude.isEmpty())
        return refusal(SiteBox::Latitude,
                       QStringLiteral("La case « LATITUDE » est vide : tapez la latitude "
                                      "du lieu de lâcher (480506 pour 48° 05' 06\")."));
    if (auto m = checkCoordinateBox(typed.latitude, SiteBox::Latitude))
        return refusal(SiteBox::Latitude, *m);
    if (auto m = checkCoordinateBox(typed.east, SiteBox::East))
        return refusal(SiteBox::East, *m);
    if (auto m = checkCoordinateBox(typed.west, SiteBox::West))
        return refusal(SiteBox::West, *m);

    SiteEntry e;
    e.kind = SiteEntry::Ready;
    e.record.setSiteName(name);
    e.record.setLatitudeDms(latitude.value);
    const double east = coordinateBoxValue(typed.east);
    double west = coordinateBoxValue(typed.west);
    if (east != 0 && west != 0) {
        west = 0;
        e.westDropped = true;
    }
    e.record.setLongitudeEastDms(east);
    e.record.setLongitudeWestDms(west);
    return e;
}

PrintOutcome printGeneralSites(const SiteList& sites, PrintSurface& surface) {
    if (sites.isEmpty())
        return {};
    surface.beginDocument(QStringLiteral("Lieux de lâcher"));
    surface.setScaleMillimetres(-5);
    surface.setFontName(QStringLiteral("COURIER New"));
    surface.setFontSize(12);
    surface.setBold(true);
    surface.setCurrentX(10);
    surface.setCurrentY(5);
    surface.printLine(QStringLiteral("Liste des LIEUX de LACHER du FICHIER GENERAL"));
    surface.printLine();
    surface.printLine(Space(29) + QStringLiteral("Latitudes   Longitudes "));
    surface.printLine(Space(40) + QStringLiteral("EST    OUEST"));
    surface.printLine();
    const QStringList items = sites.items();
    // The line's number right-aligned in 3, every digit kept from 1000 on.
    for (int i = 0; i < items.size(); ++i)
        surface.printLine(QString::number(i + 1).rightJustified(3) + u' ' + items.at(i));
    return surface.endDocument();
}

QString siteListLockPath(const QString& generalSitesPath) {
    const QFileInfo list(generalSitesPath);
    return list.dir().filePath(QStringLiteral(".distgen.lock"));
}

HeldLock holdSiteList(const QString& generalSitesPath, QString& refusal) {
    HeldLock hold = HeldLock::take(siteListLockPath(generalSitesPath));
    const QString list = QDir::toNativeSeparators(generalSitesPath);
    switch (hold.state()) {
    case HeldLock::State::Held:
        refusal.clear();
        break;
    case HeldLock::State::HeldElsewhere: {
        const LockOwner& owner = hold.owner();
        refusal = QStringLiteral("La liste des lieux de lâcher (%1) est en cours de modification "
                                 "dans l'autre programme, %2, sur l'ordinateur « %3 ».\n"
                                 "Quittez-y la modification des lieux de lâcher, puis "
                                 "recommencez : rien n'a été enregistré ici.")
                      .arg(list, owner.shownProgram(), owner.shownHost());
        break;
    }
    case HeldLock::State::Failed:
        refusal = QStringLiteral("Impossible de réserver la liste des lieux de lâcher (%1) : %2. "
                                 "Rien n'a été enregistré.")
                      .arg(list, hold.failure());
        break;
    }
    return hold;
}

} // namespace vt
