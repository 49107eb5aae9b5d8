#pragma once
// distance: the choice of the club's local release sites among the general ones.
#include "fanciers/release_sites.h"

#include "platform/window_registry.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QListWidget;

namespace vt {

class distance : public QMainWindow, public StateWindow {
    Q_OBJECT
public:
    distance();

    // The main window's menu item: when the selector is open with changed ticks, asks
    // whether to save them (Yes saves, No discards, Cancel keeps it as it is), then opens
    // a freshly loaded selector.
    static void reopen();
    // Before the program ends: the same question when the window is open with unsaved
    // changes; false when the user cancels or the save failed (the program then goes on).
    bool hasPendingWork(StateChange change) const override {
        return change == StateChange::ProgramEnd && hasUnsavedChanges();
    }
    bool settlePendingWork() override;

    const LocalSiteChoice& choice() const { return m_choice; }
    bool hasUnsavedChanges() const { return m_choice.isModified(); }
    void setClosing() { m_closing = true; }

    void selectAllSites();  // tsel
    void clearAllSites();   // osel
    void printLocalSites(); // lsoc
    bool save();            // quitte: SaveLocalSites; false when it failed

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillList();
    void generalSitesSaved(const QList<ReleaseSiteRecord>& sites);

    LocalSiteChoice m_choice{{}, {}};
    bool m_closing = false;
    bool m_filling = false;

    QListWidget* Listlieux;
    QLabel* Label5;
    QAction *exportAction, *lsoc, *cfimp, *tsel, *osel, *quitte, *aide;
};

} // namespace vt
