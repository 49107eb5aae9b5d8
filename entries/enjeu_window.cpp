#include "entries/enjeu_window.h"

#include "common/session.h"
#include "entries/stake_catalogue.h"
#include "platform/box_keys.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/window_registry.h"

#include <QAction>
#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace vt {

namespace {

// The editor asks through whatever Dialogs the program has installed at the time.
class CurrentDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest& r) override { return dialogs().message(r); }
    QString input(const InputRequest& r) override { return dialogs().input(r); }
    QString chooseFolder(const QString& t, const QString& f) override {
        return dialogs().chooseFolder(t, f);
    }
    bool printerSetup() override { return dialogs().printerSetup(); }
};

int twips(const QWidget* w, int t) { return t * w->logicalDpiY() / 1440; }

} // namespace

SheetGridWidget::SheetGridWidget(enjeu* owner) : QTableWidget(owner), m_owner(owner) {}

// A press runs the editor's click steps for the pressed cell (see StakeSheetEditor::click).
void SheetGridWidget::mousePressEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    setFocus();
    if (index.isValid())
        m_owner->gridPressed(index.row() + 1, index.column());
}

void SheetGridWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    const QModelIndex index = indexAt(e->position().toPoint());
    if (index.isValid())
        m_owner->gridDoubleClicked(index.row() + 1);
}

void SheetGridWidget::keyPressEvent(QKeyEvent* e) { m_owner->gridKey(e); }

enjeu::enjeu(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("enjeu"));
    setWindowTitle(QStringLiteral("MEMORISATION des ENJEUX"));
    m_dialogs = std::make_unique<CurrentDialogs>();
    const Session& s = session();
    const QString namesPath = s.SheetNamesPath.isEmpty()
                                  ? QDir(s.DataFolder).filePath(QStringLiteral("fichenl.jeu"))
                                  : s.SheetNamesPath;
    m_editor = std::make_unique<StakeSheetEditor>(s.DataFolder, namesPath, *m_dialogs);

    // Menus: Fichier, Inserer une mise, ?
    QMenu* fc = menuBar()->addMenu(QStringLiteral("Fichier"));
    fc->setObjectName(QStringLiteral("fc"));
    auto action = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu ? menu->addAction(text) : menuBar()->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    m_modif = action(fc, "modif", QStringLiteral("Modifier"));
    m_supp = action(fc, "supp", QStringLiteral("Supprimer"));
    m_memoj = action(fc, "memoj", QStringLiteral("Mémoriser "));
    fc->addSeparator()->setObjectName(QStringLiteral("xl"));
    m_nouv = action(fc, "nouv", QStringLiteral("Nouveau dossier"));
    fc->addSeparator()->setObjectName(QStringLiteral("xk"));
    m_quitte = action(fc, "quitte", QStringLiteral("Quitter"));
    m_insere = action(nullptr, "insere", QStringLiteral("Inserer une mise"));
    QMenu* aidee = menuBar()->addMenu(QStringLiteral("?"));
    aidee->setObjectName(QStringLiteral("aidee"));
    m_aide = action(aidee, "aide", QStringLiteral("Aide sur fichier comptes"));
    m_aideg = action(aidee, "aideg", QStringLiteral("Aide générale"));

    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    m_combo = new QComboBox(central);
    m_combo->setObjectName(QStringLiteral("Combo1"));
    m_combo->setMinimumWidth(twips(this, 3600));
    m_combo->installEventFilter(this);
    // The name box is hidden while a sheet is being edited; the controls stay in place.
    QSizePolicy keep = m_combo->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_combo->setSizePolicy(keep);
    m_label1 = new QLabel(QStringLiteral("Modifier la  dénomination"), central);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_text1 = new QLineEdit(central);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setMaxLength(14); // label 8, a space, code 5: the loaded form of a line
    m_text1->installEventFilter(this);
    refuseLongPastes(m_text1);
    m_list = new QListWidget(central);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(QFont(QStringLiteral("Courier New"), 10));
    m_list->setToolTip(QStringLiteral("Cliquez 2 fois pour afficher le jeu dans la grille"));
    for (const QString& t : StakeCatalogue::texts())
        m_list->addItem(t);
    m_list->setMinimumWidth(twips(this, 2600));

    m_grid = new SheetGridWidget(this);
    m_grid->setParent(central);
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setColumnCount(4);
    m_grid->setHorizontalHeaderLabels(
        {QStringLiteral(" ENJEU "), QStringLiteral("VALEUR"), QString(), QString()});
    m_grid->verticalHeader()->hide();
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // Columns 2 and 3 (count and amount) are one pixel wide: hidden, yet the arrow keys
    // still reach them.
    m_grid->horizontalHeader()->setMinimumSectionSize(1);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->setColumnWidth(0, twips(this, 2000));
    m_grid->setColumnWidth(1, twips(this, 960));
    m_grid->setColumnWidth(2, 1);
    m_grid->setColumnWidth(3, 1);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setFixedWidth(twips(this, 2400) + twips(this, 960) + 2 +
                          m_grid->verticalScrollBar()->sizeHint().width());

    layout->addWidget(m_combo, 0, 0, 1, 2);
    layout->addWidget(m_label1, 1, 1);
    layout->addWidget(m_text1, 2, 1);
    layout->addWidget(m_grid, 3, 1, Qt::AlignTop);
    layout->addWidget(m_list, 1, 0, 4, 1);
    layout->setRowStretch(4, 1);
    setCentralWidget(central);

    connect(m_combo, &QComboBox::activated, this, [this](int index) {
        if (m_syncing)
            return;
        m_editor->selectSlot(index);
        refresh();
    });
    connect(m_text1, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_editor->labelBoxEdited(t);
        refresh();
    });
    // A double-click or Enter on a stake type takes it into the sheet.
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_editor->catalogueDoubleClick(m_list->row(item));
        refresh();
    });
    auto on = [this](QAction* a, auto&& f) {
        connect(a, &QAction::triggered, this, [this, f] {
            f();
            refresh();
        });
    };
    on(m_modif, [this] { m_editor->rename(); });
    on(m_supp, [this] { m_editor->deleteSheet(); });
    on(m_memoj, [this] { m_editor->save(); });
    on(m_nouv, [this] { m_editor->newSheet(); });
    on(m_insere, [this] { m_editor->insertLine(); });
    on(m_aide, [this] { m_editor->showAccountsHelp(); });
    connect(m_aideg, &QAction::triggered, this, [] { showHelp(7); });
    connect(m_quitte, &QAction::triggered, this, [this] { quit(); });

    m_editor->load();
    refresh();
    resize(sizeHint().width(), std::max(sizeHint().height(), twips(this, 9000)));
}

enjeu::~enjeu() = default;

void enjeu::quit() { windows().unload(this); }

bool enjeu::settlePendingWork() {
    const bool settled = m_editor->settleUnsavedLines();
    refresh();
    return settled;
}

void enjeu::closeEvent(QCloseEvent* e) {
    // The close box does what "Quitter" does; while the sheet has unsaved edits the
    // user memorises first.
    if (!m_editor->mayClose()) {
        e->ignore();
        return;
    }
    e->accept();
    QMetaObject::invokeMethod(this, [this] { windows().unload(this); }, Qt::QueuedConnection);
}

void enjeu::refresh() {
    m_syncing = true;
    const StakeSheetEditor& ed = *m_editor;
    setWindowTitle(ed.caption());
    m_supp->setText(ed.deleteCaption());
    m_modif->setText(ed.renameCaption());
    m_memoj->setText(ed.saveCaption());
    m_supp->setVisible(ed.deleteVisible());
    m_memoj->setVisible(ed.saveVisible());
    m_quitte->setEnabled(ed.quitEnabled());
    m_combo->setVisible(ed.nameBoxVisible());

    const QStringList& names = ed.names();
    bool same = m_combo->count() == names.size();
    for (int i = 0; same && i < names.size(); ++i)
        same = m_combo->itemText(i) == names[i];
    if (!same) {
        m_combo->clear();
        m_combo->addItems(names);
    }
    m_combo->setCurrentIndex(ed.currentSlot() < names.size() ? ed.currentSlot() : -1);

    const int lineRows = ed.rows() - 1;
    m_grid->setRowCount(lineRows);
    for (int r = 0; r < lineRows; ++r)
        for (int c = 0; c < 4; ++c) {
            QTableWidgetItem* item = m_grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                if (c == 0) {
                    item->setFlags(Qt::ItemIsEnabled);
                    item->setBackground(palette().button());
                    item->setFont(QFont(QStringLiteral("Courier New"), 9));
                }
                m_grid->setItem(r, c, item);
            }
            const QString text = ed.cell(r + 1, c);
            if (item->text() != text)
                item->setText(text);
        }
    const int rowHeight = m_grid->horizontalHeader()->sizeHint().height();
    m_grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    // Height rule: (rows + c) header heights, at most the screen height less 1300 twips.
    int height = (ed.rows() + ed.heightExtra()) * rowHeight;
    const int screenHeight = screen() ? screen()->availableGeometry().height() : 768;
    if (height + twips(this, 1300) > screenHeight)
        height = screenHeight - twips(this, 1300);
    // The grid starts below the menu and the sheet's boxes, and the catalogue's last row
    // lies under it: a long sheet gives up rows so that the window, title bar included,
    // stays on the screen.
    if (auto* boxes = qobject_cast<QGridLayout*>(centralWidget()->layout()); boxes && layout()) {
        layout()->activate();
        boxes->activate();
        const int room = screenHeight - style()->pixelMetric(QStyle::PM_TitleBarHeight) -
                         m_grid->mapTo(this, QPoint(0, 0)).y() - boxes->verticalSpacing() -
                         boxes->contentsMargins().bottom();
        height = std::min(height, std::max(room, 5 * rowHeight));
    }
    m_grid->setFixedHeight(height);
    m_grid->setCurrentCell(ed.currentRow() - 1, ed.currentColumn());
    if (ed.topRow() != m_shownTop) {
        m_shownTop = ed.topRow();
        m_grid->verticalScrollBar()->setValue(ed.topRow() - 1);
    }
    if (QTableWidgetItem* current = m_grid->item(ed.currentRow() - 1, ed.currentColumn()))
        m_grid->scrollToItem(current);
    if (m_text1->text() != ed.labelBoxText())
        m_text1->setText(ed.labelBoxText());
    m_syncing = false;
    applyFocus();
}

void enjeu::applyFocus() {
    switch (m_editor->takeFocus()) {
    case StakeSheetEditor::Focus::Grid: m_grid->setFocus(); break;
    case StakeSheetEditor::Focus::Catalogue: m_list->setFocus(); break;
    case StakeSheetEditor::Focus::LabelBox: m_text1->setFocus(); break;
    case StakeSheetEditor::Focus::None: break;
    }
}

void enjeu::gridPressed(int row, int column) {
    m_editor->click(row, column);
    refresh();
}

void enjeu::gridDoubleClicked(int row) {
    m_editor->doubleClick(row);
    refresh();
}

void enjeu::gridKey(QKeyEvent* e) {
    StakeSheetEditor& ed = *m_editor;
    const int row = ed.currentRow(), col = ed.currentColumn();
    switch (e->key()) {
    case Qt::Key_Up: ed.moveTo(std::max(1, row - 1), col); break;
    case Qt::Key_Down: ed.moveTo(std::min(ed.rows() - 1, row + 1), col); break;
    case Qt::Key_Left: ed.moveTo(row, std::max(1, col - 1)); break;
    case Qt::Key_Right: ed.moveTo(row, std::min(3, col + 1)); break;
    case Qt::Key_PageUp: ed.moveTo(std::max(1, row - 10), col); break;
    case Qt::Key_PageDown: ed.moveTo(std::min(ed.rows() - 1, row + 10), col); break;
    case Qt::Key_Escape:
        ed.keyDown(27);
        break;
    case Qt::Key_Delete:
        ed.keyDown(46);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ed.keyDown(13);
        ed.keyPress(13);
        break;
    case Qt::Key_Backspace:
        ed.keyDown(8);
        ed.keyPress(8);
        break;
    default: {
        const QString text = e->text();
        ed.keyDown(0); // any other key: the label box shows the current line
        for (QChar c : text)
            ed.keyPress(c.unicode());
        break;
    }
    }
    refresh();
}

bool enjeu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_combo && !key->text().isEmpty() && key->key() != Qt::Key_Tab &&
        key->key() != Qt::Key_Backtab) {
        // Any character typed in the name box asks a name for the slot shown.
        m_editor->nameCurrentSlot();
        refresh();
        return true;
    }
    if (watched == m_text1) {
        if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Delete) {
            m_editor->labelBoxKeyDown(key->key() == Qt::Key_Escape ? 27 : 46);
            refresh();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_editor->labelBoxEnter();
            refresh();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vt
