#pragma once
// Tarvio's editor of the general release-site file distgen, which Vorel shares: sites
// are added, changed and deleted in a working list kept in name order, printed, and
// written back whole when the editor quits.
#include "fanciers/site_list.h"

#include <QMainWindow>

#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt::tarvio {

class basedist : public QMainWindow {
    Q_OBJECT
public:
    basedist();

    const SiteList& sites() const { return m_sites; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    bool Text6_Enter();
    bool Text1_Enter();
    bool longitudeEnter(QLineEdit* box, SiteBox kind, QLineEdit* other);
    void Command1_Click();
    void Command3_Click();
    void List1_DblClick();
    void edit_Click();
    void conf_Click();
    void aide_Click();
    void quitte_Click();
    // Puts a taken-out site back and rewrites distgen; false when the write failed.
    bool saveGeneralSites();
    void leave();
    void refreshList();
    QLineEdit* box(SiteBox kind) const;

    // The list is this editor's while it is open (Vorel's editor cannot open meanwhile).
    HeldLock m_siteListHold;
    QString m_holdRefusal;
    SiteList m_sites;
    std::optional<ReleaseSiteRecord> m_takenOut;
    bool m_leaving = false;

    QLineEdit *m_text6, *m_text1, *m_text2, *m_text7;
    QLabel* m_label7;
    QPushButton *m_command1, *m_command3;
    QListWidget* m_list;
    QAction* m_quitte;
};

} // namespace vt::tarvio
