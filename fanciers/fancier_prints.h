#pragma once
// What the prints of the fanciers window share: reading the fanciers that list lines
// stand for, telling a print that failed from one that went out, and the picture, the
// federation and the region that head the distance sheets.
#include "common/records.h"
#include "platform/print_surface.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace vt {

// The season's fancier of that record number (a zero record past the end).
// Throws FileError when the file cannot be read.
FancierRecord readSeasonFancier(int recordNo);

// The fanciers that the list lines stand for (Val of their last five characters), in
// line order. Throws FileError.
QList<FancierRecord> readListedFanciers(const QStringList& listLines);

// The release sites of distgen in file order, blank names left out; a missing file
// gives none (it is not created). Throws FileError.
QList<ReleaseSiteRecord> readGeneralSitesInFileOrder();


// The fanciers window's picture, printed at the top left of the distance sheets
// (about 21 x 14 mm at its own resolution).
QImage fanciersPicture();

// The federation of the distance sheets' heading, in two words.
QString federationName();
// The region number: the number in the data folder's name (region1 gives 1), 1 when
// the name holds none.
int regionNumber();
// "1ère REGION", "2ème REGION" ...
QString regionText(int region);

} // namespace vt
