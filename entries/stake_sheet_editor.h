#pragma once
// The stake-sheet editor without its widgets: the sheet names and slots, the sheet
// being edited as grid rows, the menus' state, and one method per user action. The
// window `enjeu` turns its events into these calls and shows the state back.
//
// Grid rows are numbered as on screen: row 0 is the header, rows 1 to rows() - 2 are
// the sheet's lines, the last row is always an empty row that receives a new line.
// Columns: 0 line text, 1 unit value ("VALEUR"), 2 count and 3 amount (both hidden).
#include "entries/stake_sheets.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace vt {

class Dialogs;

class StakeSheetEditor {
public:
    enum class Focus { None, Grid, Catalogue, LabelBox };

    // namesPath is fichenl.jeu; the sheets are looked for in dataFolder.
    StakeSheetEditor(const QString& dataFolder, const QString& namesPath, Dialogs& dialogs);

    // Opening the window: normalises the names and shows slot 0.
    void load();

    // --- names and slots
    const QStringList& names() const { return m_names; }
    int currentSlot() const { return m_slot; }
    QString currentName() const { return m_comboText; }
    // The file that Enter writes into (none for a blank slot or after a deletion) and
    // the file "Mémoriser " writes (kept after a deletion).
    const std::optional<QString>& sheetFile() const { return m_sheetFile; }
    const std::optional<QString>& saveTarget() const { return m_saveTarget; }

    void selectSlot(int slot); // a name picked in the list
    void nameCurrentSlot();    // a key typed in the name box
    void rename();             // "Modifier"
    void newSheet();           // "Nouveau dossier"
    void deleteSheet();        // "Supprimer ", asks first (default No)
    bool save();               // "Mémoriser "; false when refused or failed
    void showAccountsHelp();   // "Aide sur fichier comptes"
    // The close box: refused, with a message, while the sheet has unsaved edits.
    bool mayClose();
    // True while the grid holds lines removed, inserted or changed since the sheet was
    // last read or written, and the sheet has a file to memorise them into.
    bool hasUnsavedLines() const { return m_unsaved && m_saveTarget.has_value(); }
    // Before the grid is replaced or the program ends: with unsaved lines, asks whether to
    // memorise them (Oui memorises, Non drops them, Annuler keeps the grid as it is).
    // False when the grid stays: the user cancelled, or the memorising failed.
    bool settleUnsavedLines();

    // --- menus and window
    QString caption() const { return m_caption; }
    QString deleteCaption() const { return m_suppCaption; }
    QString renameCaption() const { return m_modifCaption; }
    QString saveCaption() const { return m_memojCaption; }
    bool deleteVisible() const { return m_suppVisible; }
    bool saveVisible() const { return m_memojVisible; }
    bool quitEnabled() const { return m_quitEnabled; }
    bool nameBoxVisible() const { return m_comboVisible; }

    // --- grid
    int rows() const { return static_cast<int>(m_rows.size()) + 1; }
    QString cell(int row, int column) const;
    const QList<SheetRow>& lineRows() const { return m_rows; } // grid rows 1 to rows() - 1
    int currentRow() const { return m_row; }
    int currentColumn() const { return m_col; }
    int topRow() const { return m_top; }
    // c of the height rule: the grid is (rows() + c) header heights high.
    int heightExtra() const { return m_heightExtra; }
    QString labelBoxText() const { return m_text1; }
    Focus focus() const { return m_focus; }
    // The control the last action gives the focus to; the request is then forgotten.
    Focus takeFocus() { return std::exchange(m_focus, Focus::None); }
    bool sheetHasGameTotal() const { return m_hasGameTotal; }

    // A mouse press on a cell: the click steps, then the row-change and selection-change
    // steps for the clicked cell (a click on the empty last row adds a row, so the
    // clicked row stays current as a new line).
    void click(int row, int column);
    // A keyboard move to a cell: the row-change and selection-change steps only, so
    // moving onto the empty last row wraps to row 1.
    void moveTo(int row, int column);
    void doubleClick(int row); // removes a line
    void keyDown(int key);     // Esc (27) and Del (46) empty the current cell
    void keyPress(int key);    // Backspace, Enter, or a character code above 27
    void labelBoxEdited(const QString& text);
    void labelBoxKeyDown(int key); // Esc and Del empty the box
    void labelBoxEnter();
    void catalogueDoubleClick(int index); // index 0 to 57 of the catalogue list
    void insertLine();                    // "Inserer une mise"

private:
    void loadStakeSheet();
    void setCaptionsFrom(const QString& name);
    bool nameSlot(int slot, const QString& shownName, bool trimAnswer,
                  const QString& prompt = QString());
    void enter();
    bool writeThrough();
    bool writeSheet(const QString& path);
    void rowColChange();
    void selChange();
    void setCell(int row, int column, const QString& text);
    void addRow();
    bool checkName(const QString& name);
    static QString nameTooLongMessage();
    void warn(const QString& text);

    QString m_dataFolder, m_namesPath;
    Dialogs& m_dialogs;

    QStringList m_names;
    int m_slot = 0;
    QString m_comboText;
    std::optional<QString> m_sheetFile, m_saveTarget;

    QString m_caption = QStringLiteral("MEMORISATION des ENJEUX");
    QString m_suppCaption = QStringLiteral("Supprimer");
    QString m_modifCaption = QStringLiteral("Modifier");
    QString m_memojCaption = QStringLiteral("Mémoriser ");
    bool m_suppVisible = true, m_memojVisible = true, m_quitEnabled = true,
         m_comboVisible = true;

    QList<SheetRow> m_rows{SheetRow{}};
    int m_row = 1, m_col = 1, m_top = 1, m_heightExtra = 1;
    QString m_text1;
    Focus m_focus = Focus::None;
    bool m_hasGameTotal = false;
    bool m_unsaved = false;
};

} // namespace vt
