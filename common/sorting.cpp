#include "sorting.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace vt {

int compareListText(const QString& a, const QString& b) {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(false);
        c.setIgnorePunctuation(false);
        return c;
    }();
    int r = collator.compare(a, b);
    if (r != 0)
        return r;
    return QString::compare(a, b, Qt::CaseSensitive);
}

int insertSorted(QStringList& list, const QString& line) {
    auto it = std::upper_bound(list.begin(), list.end(), line, listTextLess);
    int index = static_cast<int>(it - list.begin());
    list.insert(index, line);
    return index;
}

} // namespace vt
