#pragma once
// The fanciers window "GESTION des NOMS": the season's fanciers in a sorted list with
// several lines selectable, the club list, the menus of the list and the hand-over of
// lines between the address editor, the entry sheet and this list.
#include "envelopes.h"
#include "fancier_list.h"
#include "platform/print_surface.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace vt {

// The line of that record number leaves the open fanciers list: the entry sheet's save
// and the address editor's deletion call it. When the window is not loaded nothing
// happens (it reads the file afresh when it opens).
void removeFancierListLine(int recordNo);
// Puts a fancier's line (a FancierListItem) at its sorted place in the open fanciers
// list, in place of any line of the same record number. Nothing when it is not loaded.
void putFancierListLine(const QString& line);

class gnoms : public QMainWindow {
    Q_OBJECT
public:
    gnoms();

    ListMode listMode() const { return m_mode; }
    // The club chosen in the club list (0 = none yet): the club of the names list and the
    // default club of a new fancier.
    int chosenClub() const { return m_chosenClub; }

    // Every line, in list order, and the selected lines, in list order.
    QStringList lines() const;
    QStringList selectedLines() const;

    void LoadFancierList();
    bool hasLine(int recordNo) const;
    void removeLine(int recordNo);
    void putLine(const QString& line);

    // Opens the address editor on a record (below 1: a new fancier); an editor holding
    // unsaved changes asks first whether to save them.
    void openEditor(int recordNo);

    // The menu items by their names ("lst", "envel1", "socdist" ...), for the prints.
    QAction* menuAction(const QString& name) const { return m_actions.value(name); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    QAction* addItem(QWidget* menu, const QString& name, const QString& caption);
    void showClubList(ListMode mode);
    void List1_Click();
    void List1_DblClick(QListWidgetItem* item);
    void List2_DblClick(QListWidgetItem* item);
    void tous_Click();
    void nouv_Click();
    void MEMNOUV_Click();

    // The prints of the list (gnoms_prints_window.cpp).
    void wirePrints();
    void runPrint(const std::function<PrintOutcome()>& job);
    void printNamesListOf(int club);
    void printEnvelopesOfSelection(EnvelopeSize size, bool urgent);
    void printDistanceSheetsOf(const QStringList& chosen);
    void lst_Click();
    void etiqu_Click();
    void socdist_Click();
    void amdist_Click();
    void chdist_Click();
    void List3_Click();
    void lst1_Click();

    QListWidget* List1;
    QListWidget* List2;
    QListWidget* List3;
    QLabel* Image1;
    QHash<QString, QAction*> m_actions;
    ListMode m_mode = ListMode::None;
    int m_chosenClub = 0;
    QList<ReleaseSiteRecord> m_choiceSites;       // the sites of List3, read once
    std::optional<ReleaseSiteRecord> m_chosenSite; // the site picked in List3
};

} // namespace vt
