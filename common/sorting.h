#pragma once
// The one order of every sorted list of both programs: French collation ignoring case,
// ties broken by code point so that equal texts are identical texts.
#include <QString>
#include <QStringList>

namespace vt {

// Negative, zero or positive, as a comparison of a and b.
int compareListText(const QString& a, const QString& b);
inline bool listTextLess(const QString& a, const QString& b) { return compareListText(a, b) < 0; }

// Inserts at the sorted place and returns the index where the line went.
int insertSorted(QStringList& list, const QString& line);

} // namespace vt
