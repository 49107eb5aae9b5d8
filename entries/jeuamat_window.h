#pragma once
// jeuamat: the entry sheet of one fancier for the current basketing: his identity, club and
// loft, and on one tab per chosen race the pigeons he enters and what he stakes.
#include "common/fancier_slots.h"
#include "entries/entry_save.h"
#include "entries/race_grids.h"
#include "fanciers/geodesy.h"
#include "platform/window_registry.h"

#include <QList>
#include <QMainWindow>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QTableWidget;

namespace vt {

class RaceGridView;

// The main window's "Quitter" is enabled again when the sheet is left: the main window sets
// this; unset, nothing is done.
struct EntrySheetLinks {
    std::function<void()> enableMainQuit;
};
EntrySheetLinks& entrySheetLinks();

class jeuamat : public QMainWindow, public StateWindow {
    Q_OBJECT
public:
    // The load: opens the fancier of Session::CurrentFancierNo (below 1: a new fancier,
    // who claims a record), builds the race grids and opens the first race.
    jeuamat();

    int recordNo() const { return m_recordNo; }
    int clubNo() const { return m_clubNo; }
    const RaceGrids& grids() const { return m_grids; }
    int currentTab() const { return m_grids.currentTab(); }
    QTableWidget* grid(int tab) const;

    // Command1 / enreg: the save; true when saved (the sheet then closes).
    bool save();
    // quitte, and the close box: the main window's "Quitter" enabled again, the sheet
    // closed, nothing saved.
    void quit();
    // Strip_Click and Label9_Click: open a race tab (a tab above the last opens the last).
    void selectRace(int tab);

    // True once something has been typed in the boxes or the grids since the load.
    bool holdsTypedWork() const { return m_typed; }
    // Before the sheet is replaced or its races change under it: with typed work, asks
    // whether to save it (Oui saves, Non drops it, Annuler keeps the sheet as it is).
    // False when the sheet stays: the user cancelled, or the save was refused.
    bool askToSaveTypedWork();

    bool hasPendingWork(StateChange) const override { return m_typed; }
    bool settlePendingWork() override { return askToSaveTypedWork(); }
    // The races or the season changed: the sheet closes, so that it never shows nor saves
    // the grids of a race state that is no longer the stored one.
    void stateChanged(StateChange change) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class RaceGridView;
    void buildControls();
    void buildRaceGrids();
    void fitGridsToRows();
    void showRaceGrid(int tab);
    void refreshGrid(int tab);
    void applyOutcome(const GridKeyOutcome& outcome);
    void gridKey(GridKey key, QChar digit = {});
    void gridMoved(int row);
    void showLoftDistance();
    void clubPicked(int clubNo);
    bool coordinateEnter(QLineEdit* box, const QString& caption);
    void longitudeEnter(QLineEdit* box, QLineEdit* other, const QString& caption);
    void enterGridFromBoxes();
    void focusBox(QLineEdit* box);
    void focusEntryBox(EntryBox box);
    EntryBoxes boxes() const;

    RaceGrids m_grids;
    int m_recordNo = 0;
    FancierClaim m_claim; // held from the load until the sheet is left
    QString m_nameAtOpen; // the name the record held at the load, trimmed
    int m_clubNo = 1;
    std::optional<PackedPoint> m_site;
    bool m_syncing = false;
    bool m_closing = false;
    bool m_typed = false;

    QLineEdit *Text1, *Texte1, *Texte2, *Texte3, *Texte4, *Texte5, *Texte6, *Text4, *Text5,
        *Text6;
    QLabel *Label1, *Etiquette10, *Etiquette2, *Etiquette3, *Etiquette4, *Etiquette7,
        *Etiquette8, *Etiquette5, *Label6, *Label7;
    QLabel *Label3, *Label4, *Label8, *Label10;
    QListWidget* List1;
    QTabBar* Strip;
    QStackedWidget* m_stack;
    QList<QLabel*> Label9;        // 11 labels, race k at index k - 1
    QList<RaceGridView*> ggrid1;  // one per chosen race
    QPushButton* Command1;
    QAction *enreg, *quitte, *aide;
};

} // namespace vt
