#pragma once
// basedist: the general release-site editor of distgen.
#include "fanciers/release_sites.h"

#include "platform/window_registry.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

class basedist : public QMainWindow, public StateWindow {
    Q_OBJECT
public:
    basedist();

    // The main window's menu item: when the editor is open with unsaved changes, asks
    // whether to save them (Yes saves, No discards, Cancel keeps it as it is), then opens
    // a freshly loaded editor.
    // Does nothing more when the save fails (the open editor stays as it was).
    static void reopen();
    // Before the program ends: the same question when the window is open with unsaved
    // changes; false when the user cancels or the save failed (the program then goes on).
    bool hasPendingWork(StateChange change) const override {
        return change == StateChange::ProgramEnd && hasUnsavedChanges();
    }
    bool settlePendingWork() override;

    const GeneralSiteEditor& editor() const { return m_editor; }
    bool hasUnsavedChanges() const { return m_editor.isModified(); }
    void setClosing() { m_closing = true; }

    // The menu handlers, also called by tests.
    void storeSiteFromFields();     // Command1 "Mémoriser"
    void editSiteFromList(int row); // double-click on a line of List1
    bool save();                    // quitte "Quitter": SaveGeneralSites; false when it failed
    void printGeneralSites();       // edit

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillList();
    TypedSite typedSite() const;
    QLineEdit* box(SiteBox b) const;
    void focusBox(QLineEdit* box);
    bool checkDuplicateSiteName();
    bool coordinateEnter(QLineEdit* box, SiteBox which, QLineEdit* other);
    void showModifyList();

    // The list is this editor's while it is open (Tarvio's editor cannot open meanwhile).
    HeldLock m_siteListHold;
    QString m_holdRefusal;
    GeneralSiteEditor m_editor;
    bool m_closing = false;

    QListWidget* List1;
    QLineEdit *Text6, *Text1, *Text2, *Text7;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label7;
    QPushButton *Command1, *Command3;
    QAction *edit, *conf, *quitte, *aide;
};

} // namespace vt
