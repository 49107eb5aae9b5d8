#pragma once
// How far a print run is: the print rules say which item they are about to print, a
// window may show it, and the user may stop the run between two items.
#include <QString>

namespace vt {

class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    // Item `done` + 1 of `total` is about to be printed (`what` names it: the fancier).
    // False when the user has stopped the run: nothing more is printed.
    virtual bool next(int done, int total, const QString& what) = 0;
    // The item being printed is `fraction` (0 to 1) done. An item that takes long (the
    // pages of a race drawn for thousands of fanciers) says so as it goes, so that its
    // progress shows and the windows stay painted; it never stops the item.
    virtual void within(double fraction) { (void)fraction; }
};

// A run nobody watches: it shows nothing and never stops.
inline PrintProgress& noPrintProgress() {
    static struct : PrintProgress {
        bool next(int, int, const QString&) override { return true; }
    } none;
    return none;
}

} // namespace vt
