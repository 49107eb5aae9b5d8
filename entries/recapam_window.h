#pragma once
// recapam, "CHOIX DES AMATEURS": the fanciers of the season with what each owes over the
// chosen races, from which the entry sheets are opened, the race recaps stored and printed.
#include <QMainWindow>
#include <QStringList>

#include "platform/window_registry.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QStatusBar;
class QTableWidget;
class QTimer;

namespace vt {

class recapam : public QMainWindow, public StateWindow {
    Q_OBJECT
public:
    // The load: fills Liste1 from the season's fanciers file (mending it), starts the clock.
    recapam();

    // Every line of Liste1 in list order, whatever is selected (the prints and the recap
    // grid walk them all), and the record number of each line.
    QStringList lines() const;
    int recordNoAt(int row) const;
    QListWidget* list() const { return Liste1; }

    // After an entry sheet's save: the line of record `recordNo` leaves the list, and
    // `line`, when not empty, is added at its sorted place.
    void replaceLine(int recordNo, const QString& line);

    // Liste1_DblClick (the record of a line) and nouv "Nouvel Amateur" (0): an open entry
    // sheet is closed and opened again on that fancier; one holding typed work asks first
    // (save, don't save, cancel), and a cancel leaves it open.
    void openEntrySheet(int recordNo);

    // The chosen races changed: the list is read again from the files, with what each
    // fancier now owes; with no race chosen any more the window closes.
    void stateChanged(StateChange change) override;

    // The menu items that the recaps and prints use; present, and disabled until wired.
    QAction* memoAction() const { return memo; }       // "Mémoriser la Récap"
    QAction* listerAction() const { return lister; }   // "Imprimer la Récap"
    QAction* listmtsAction() const { return listmts; } // "Imprimer les totaux par concours"
    QAction* listdetAction() const { return listdet; } // "Imprimer le détail par amateur et concours"
    QAction* ecranAction() const { return ecran; }     // "Visuel"
    QAction* effAction() const { return eff; }         // "Effacer grille", hidden
    QAction* quitteAction() const { return quitte; }

    QString clockPanelText() const;

    // ecran_Click "Visuel": the recap grid of the next chosen race over the list;
    // eff_Click "Effacer grille": the grid hidden again, its contents kept.
    void showNextRecapGrid();
    void hideRecapGrid();
    QTableWidget* grid() const { return Grid1; }

private:
    void fillList();
    void refreshClock();
    void insertLine(const QString& line, int recordNo);

    QLabel* Etiquette1;
    QListWidget* Liste1;
    QTableWidget* Grid1;
    QStatusBar* StatusBar1;
    QLabel* m_clockPanel;
    QTimer* Timer1;
    QMenu* ff;
    QAction *memo, *s1, *lister, *listmts, *listdet, *ss, *confimpr, *nouv, *quitte, *ecran,
        *eff, *aide;
};

} // namespace vt
