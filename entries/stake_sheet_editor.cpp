#include "entries/stake_sheet_editor.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/stake_catalogue.h"
#include "platform/dialogs.h"

#include <algorithm>

namespace vt {

namespace {
constexpr int KeyBackspace = 8;
constexpr int KeyEnter = 13;
constexpr int KeyEscape = 27;
constexpr int KeyDelete = 46;
constexpr int NameWidth = 50;
} // namespace

StakeSheetEditor::StakeSheetEditor(const QString& dataFolder, const QString& namesPath,
                                   Dialogs& dialogs)
    : m_dataFolder(dataFolder), m_namesPath(namesPath), m_dialogs(dialogs) {}

void StakeSheetEditor::warn(const QString& text) {
    MessageRequest m;
    m.text = text;
    m.buttons = MsgButtons::Ok;
    m.icon = MsgIcon::Exclamation;
    m_dialogs.message(m);
}

void StakeSheetEditor::load() {
    try {
        m_names = loadSheetNames(m_namesPath);
    } catch (const Error& e) {
        warn(e.message());
        m_names.clear();
    }
    m_slot = 0;
    m_comboText = m_names.isEmpty() ? QString() : m_names.first();
    if (!m_names.isEmpty())
        setCaptionsFrom(m_names.first());
    loadStakeSheet();
}

void StakeSheetEditor::setCaptionsFrom(const QString& name) {
    m_suppCaption = QStringLiteral("Supprimer ") + name;
    m_modifCaption = QStringLiteral("Modifier ") + name;
    m_memojCaption = QStringLiteral("Mémoriser ") + name;
    m_caption = QStringLiteral("gestion des jeux de ") + name;
}

void StakeSheetEditor::loadStakeSheet() {
    m_suppVisible = true;
    m_memojVisible = true;
    // A grid read afresh holds nothing to memorise: the window may close again.
    m_unsaved = false;
    m_quitEnabled = true;
    m_comboVisible = true;
    if (m_slot < m_names.size())
        setCaptionsFrom(m_names[m_slot]);
    m_hasGameTotal = false;
    m_row = 1;
    m_col = 1;
    m_top = 1;
    m_heightExtra = 1;
    if (isBlank(m_comboText)) {
        // An unused slot: nothing to show and no file to write into.
        m_suppVisible = false;
        m_memojVisible = false;
        m_modifCaption = QStringLiteral("Ecrivez un NOM dans la lumière");
        m_rows = {SheetRow{}};
        m_sheetFile.reset();
        m_saveTarget.reset();
        return;
    }
    const QString path = sheetFilePath(m_dataFolder, m_slot);
    QList<StakeTypeRecord> lines;
    try {
        lines = readSheet(path);
    } catch (const Error& e) {
        warn(e.message());
        m_rows = {SheetRow{}};
        m_sheetFile.reset();
        m_saveTarget.reset();
        return;
    }
    m_sheetFile = path;
    m_saveTarget = path;
    m_rows.clear();
    for (const StakeTypeRecord& r : lines) {
        m_rows.append(sheetRow(r));
        if (textKinds(m_rows.last().text).testFlag(StakeKind::GameTotal))
            m_hasGameTotal = true;
    }
    if (m_rows.isEmpty())
        m_rows.append(SheetRow{}); // an empty sheet shows one empty line row
    m_rows.append(SheetRow{});     // and the empty last row
}

void StakeSheetEditor::selectSlot(int slot) {
    if (slot < 0 || slot >= m_names.size())
        return;
    m_slot = slot;
    m_comboText = m_names[slot];
    loadStakeSheet();
}

QString StakeSheetEditor::nameTooLongMessage() {
    return QStringLiteral("Le nom du jeu ne peut pas dépasser %1 caractères.").arg(NameWidth);
}

bool StakeSheetEditor::checkName(const QString& name) {
    const QString bad = firstNonCp1252(name);
    if (!bad.isEmpty()) {
        warn(QStringLiteral("Le nom contient un caractère que le programme ne peut pas "
                            "enregistrer : « %1 »")
                 .arg(bad));
        return false;
    }
    // The names file keeps 50 characters: a longer name is refused, never cut.
    if (name.size() > NameWidth) {
        warn(nameTooLongMessage());
        return false;
    }
    return true;
}

bool StakeSheetEditor::nameSlot(int slot, const QString& shownName, bool trimAnswer,
                                const QString& prompt) {
    InputRequest q;
    q.prompt = prompt;
    q.title = QStringLiteral("ENTREZ UN NOUVEAU NOM POUR ") + shownName;
    q.defaultAnswer = shownName;
    q.maxLength = NameWidth;
    // A pasted name that does not fit is refused as a longer answer would be.
    q.tooLongMessage = nameTooLongMessage();
    const QString answer = m_dialogs.input(q);
    if (isBlank(answer))
        return false; // Cancel or an empty answer changes nothing
    // A renamed slot keeps the name as typed until the next opening normalises it.
    const QString name = trimAnswer ? trim(answer) : answer;
    if (!checkName(name))
        return false;
    slot = std::min(slot, static_cast<int>(m_names.size()));
    try {
        storeSheetName(m_namesPath, slot, name);
    } catch (const Error& e) {
        warn(e.message());
        return false;
    }
    if (slot < m_names.size())
        m_names[slot] = name;
    else
        m_names.append(name);
    m_slot = slot;
    m_comboText = name;
    loadStakeSheet();
    setCaptionsFrom(name);
    return true;
}

void StakeSheetEditor::nameCurrentSlot() { nameSlot(m_slot, m_comboText, true); }

// Both read the grid again from the sheet's file: lines not memorised are settled first.
void StakeSheetEditor::rename() {
    if (settleUnsavedLines())
        nameSlot(m_slot, m_comboText, false);
}

void StakeSheetEditor::newSheet() {
    if (!settleUnsavedLines())
        return;
    QStringList stored;
    try {
        for (const SheetNameRecord& r : RecordFileOf<SheetNameRecord>(m_namesPath).readAll())
            stored << r.sheetName();
    } catch (const Error& e) {
        warn(e.message());
        return;
    }
    const int slot = findFreeSlot(stored);
    nameSlot(slot, QString(), true, newSheetPrompt(stored, slot));
}

void StakeSheetEditor::deleteSheet() {
    if (m_slot >= m_names.size())
        return;
    MessageRequest q;
    q.text = QStringLiteral("Etes vous sur de vouloir ") + m_suppCaption;
    q.title = QStringLiteral("SUPPRESION");
    q.buttons = MsgButtons::YesNo;
    q.icon = MsgIcon::Critical;
    q.defaultButton = MsgAnswer::No;
    if (m_dialogs.message(q) != MsgAnswer::Yes)
        return;
    try {
        storeSheetName(m_namesPath, m_slot, QString());
    } catch (const Error& e) {
        warn(e.message());
        return;
    }
    // The sheet file stays on disk; "Mémoriser " may still write the (empty) grid into it,
    // but Enter no longer writes anywhere.
    m_names[m_slot] = QString();
    m_comboText.clear();
    m_sheetFile.reset();
    for (SheetRow& r : m_rows)
        r = SheetRow{};
    m_text1.clear();
    m_unsaved = false; // the sheet is gone: its emptied lines are nothing to memorise
}

bool StakeSheetEditor::save() {
    if (!m_saveTarget)
        return false;
    for (int i = 0; i + 1 < m_rows.size(); ++i)
        if (!m_rows[i].isBlank() && isBlank(m_rows[i].value))
            m_rows[i].value = QStringLiteral("0");
    if (!writeSheet(*m_saveTarget))
        return false;
    m_quitEnabled = true;
    m_comboVisible = true;
    return true;
}

void StakeSheetEditor::showAccountsHelp() {
    MessageRequest m;
    m.text = accountsHelpText();
    m.buttons = MsgButtons::Ok;
    m.icon = MsgIcon::Exclamation;
    m_dialogs.message(m);
}

bool StakeSheetEditor::settleUnsavedLines() {
    if (!hasUnsavedLines())
        return true;
    return m_dialogs.askToSave(QStringLiteral("Les lignes de la feuille %1 ne sont pas "
                                              "mémorisées.\nVoulez-vous les mémoriser ?")
                                   .arg(trim(m_comboText)),
                               m_caption, [this] { return save(); });
}

bool StakeSheetEditor::mayClose() {
    if (m_quitEnabled)
        return true;
    warn(QStringLiteral("Mémorisez la feuille avant de quitter."));
    return false;
}

// --- grid

QString StakeSheetEditor::cell(int row, int column) const {
    if (row < 1 || row > m_rows.size() || column < 0 || column > 3)
        return QString();
    const SheetRow& r = m_rows[row - 1];
    switch (column) {
    case 0: return r.text;
    case 1: return r.value;
    case 2: return r.count;
    default: return r.amount;
    }
}

void StakeSheetEditor::setCell(int row, int column, const QString& text) {
    if (row < 1 || row > m_rows.size())
        return;
    SheetRow& r = m_rows[row - 1];
    QString* target = nullptr;
    switch (column) {
    case 0: target = &r.text; break;
    case 1: target = &r.value; break;
    case 2: target = &r.count; break;
    case 3: target = &r.amount; break;
    default: return;
    }
    if (*target != text) {
        *target = text;
        m_unsaved = true;
    }
}

void StakeSheetEditor::addRow() { m_rows.append(SheetRow{}); }

void StakeSheetEditor::rowColChange() {
    m_text1 = cell(m_row, 0);
    if (m_row == rows() - 1)
        m_row = 1;
}

void StakeSheetEditor::selChange() {
    m_quitEnabled = false;
    m_comboVisible = false;
    m_text1 = cell(m_row, 0);
    const int r = m_row;
    if (r > 28)
        m_top = rows() - r;
    if (r >= rows() - 1) {
        m_top = 1;
        m_row = 1;
    }
}

void StakeSheetEditor::click(int row, int column) {
    if (row < 1 || row >= rows())
        return;
    m_row = row;
    if (m_row == rows() - 1)
        addRow(); // an empty last row always follows
    m_col = column < 1 ? 1 : column; // the line-text column is never current
    m_heightExtra = 2;
    if (m_row > 28)
        m_top = m_row - 2;
    if (m_col < 3)
        m_focus = Focus::Grid;
    rowColChange();
    selChange();
}

void StakeSheetEditor::moveTo(int row, int column) {
    if (row < 1 || row >= rows())
        return;
    m_row = row;
    m_col = column < 1 ? 1 : std::min(column, 3);
    rowColChange();
    selChange();
}

void StakeSheetEditor::doubleClick(int row) {
    if (row < 1 || row >= rows())
        return;
    m_row = row;
    if (rows() == 2 && row == 1) {
        m_rows[0] = SheetRow{}; // the only line is emptied
        m_unsaved = true;
    } else if (rows() > 3 && row < rows() - 1) {
        m_rows.removeAt(row - 1);
        m_unsaved = true;
    }
    m_heightExtra = 2;
    if (rows() > 2)
        m_row = std::max(1, row - 1);
    m_row = std::min(m_row, rows() - 1);
    m_focus = Focus::Grid;
}

void StakeSheetEditor::keyDown(int key) {
    if (key == KeyEscape || key == KeyDelete)
        setCell(m_row, m_col, QString());
    m_text1 = cell(m_row, 0);
}

void StakeSheetEditor::keyPress(int key) {
    if (key == KeyEnter) {
        enter();
        return;
    }
    QString text = cell(m_row, m_col);
    if (key == KeyBackspace) {
        if (!text.isEmpty()) {
            text.chop(1);
            setCell(m_row, m_col, text);
        }
    } else if (key > 27) {
        setCell(m_row, m_col, text + QChar(key));
    }
}

void StakeSheetEditor::enter() {
    if (m_row > rows() - 2) { // the empty last row
        m_row = 1;
        return;
    }
    const int row = m_row;
    if (isBlank(cell(row, m_col)))
        setCell(row, m_col, QStringLiteral("0"));
    if (m_col == 1) {
        const EnteredValue entered = enterValue(cell(row, 0), cell(row, 1), row);
        if (!entered.ok()) {
            warn(entered.refusal); // the cell keeps its text and the cursor stays
            return;
        }
        setCell(row, 1, entered.value);
        setCell(row, 0, entered.text);
    }
    m_col = 1;
    if (!writeThrough())
        return;
    m_row = row + 1;
    if (m_row >= rows() - 1) {
        m_top = 1;
        m_row = 1;
    }
    m_col = 1;
    m_text1 = cell(m_row, 0);
}

bool StakeSheetEditor::writeThrough() {
    const int row = m_row;
    const double count = cellNumber(cell(row, 2));
    const std::optional<double> value = localeNumber(cell(row, 1));
    if (value)
        setCell(row, 3, sheetAmountText(count, *value));
    if (!m_sheetFile)
        return true; // a slot without a sheet file: the row is shown, nothing is written
    return writeSheet(*m_sheetFile);
}

bool StakeSheetEditor::writeSheet(const QString& path) {
    // Every line is built and checked first; the file is then replaced whole.
    const SheetRecords built = buildSheetRecords(m_rows.mid(0, m_rows.size() - 1));
    if (!built.ok()) {
        warn(built.refusal);
        m_row = built.refusedRow;
        m_col = built.refusedColumn;
        m_focus = Focus::Grid;
        return false;
    }
    try {
        RecordFileOf<StakeTypeRecord>(path).rewrite(built.records);
    } catch (const Error& e) {
        warn(e.message());
        return false;
    }
    m_unsaved = false;
    return true;
}

void StakeSheetEditor::labelBoxEdited(const QString& text) {
    m_text1 = text;
    if (!text.isEmpty())
        setCell(m_row, 0, text);
}

void StakeSheetEditor::labelBoxKeyDown(int key) {
    if (key == KeyEscape || key == KeyDelete)
        m_text1.clear();
}

void StakeSheetEditor::labelBoxEnter() {
    m_text1.clear();
    m_focus = Focus::Grid;
}

void StakeSheetEditor::catalogueDoubleClick(int index) {
    if (index < 0 || index >= StakeCatalogue::Count)
        return;
    if (m_row == rows() - 1)
        addRow();
    m_heightExtra = 1;
    setCell(m_row, 0, StakeCatalogue::texts()[static_cast<size_t>(index)]);
    m_text1 = cell(m_row, 0);
    m_col = 1;
    m_focus = Focus::Grid;
}

void StakeSheetEditor::insertLine() {
    if (m_row < 1)
        m_row = 1;
    m_rows.insert(m_row - 1, SheetRow{});
    m_unsaved = true;
    m_heightExtra = 1;
    m_focus = Focus::Catalogue;
}

} // namespace vt
