#pragma once
// The stake-sheet editor window "MEMORISATION des ENJEUX": the sheet names, the
// catalogue of lines and the grid of the sheet being edited. Its rules are those of
// StakeSheetEditor; the window passes its events on and shows the editor's state.
#include "entries/stake_sheet_editor.h"
#include "platform/window_registry.h"

#include <QMainWindow>
#include <QTableWidget>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace vt {

class enjeu;

// The grid: it never edits text itself; presses, double-clicks and keys go to the editor.
class SheetGridWidget : public QTableWidget {
    Q_OBJECT
public:
    explicit SheetGridWidget(enjeu* owner);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    enjeu* m_owner;
};

class enjeu : public QMainWindow, public StateWindow {
    Q_OBJECT
public:
    explicit enjeu(QWidget* parent = nullptr);
    ~enjeu() override;

    StakeSheetEditor& editor() { return *m_editor; }

    // Grid events, from the grid widget (rows and columns as the editor counts them).
    void gridPressed(int row, int column);
    void gridDoubleClicked(int row);
    void gridKey(QKeyEvent* e);

    // At the program's end, lines not memorised are settled as before a change of name.
    bool hasPendingWork(StateChange change) const override {
        return change == StateChange::ProgramEnd && m_editor->hasUnsavedLines();
    }
    bool settlePendingWork() override;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void applyFocus();
    void quit();

    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<StakeSheetEditor> m_editor;
    QComboBox* m_combo = nullptr;
    QListWidget* m_list = nullptr;
    SheetGridWidget* m_grid = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLabel* m_label1 = nullptr;
    QAction *m_modif = nullptr, *m_supp = nullptr, *m_memoj = nullptr, *m_nouv = nullptr,
            *m_quitte = nullptr, *m_insere = nullptr, *m_aide = nullptr, *m_aideg = nullptr;
    bool m_syncing = false;
    int m_shownTop = -1;
};

} // namespace vt
