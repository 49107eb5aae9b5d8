#include "entries/jeuamat_window.h"

#include "common/errors.h"
#include "common/session.h"
#include "common/text.h"
#include "entries/entry_sheet.h"
#include "entries/recapam_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/box_keys.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/window_registry.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace vt {

EntrySheetLinks& entrySheetLinks() {
    static EntrySheetLinks links;
    return links;
}

// One race grid on screen. Items are never edited by Qt: every key goes to the race grid's
// rules, and the cells show what they give back.
class RaceGridView : public QTableWidget {
public:
    RaceGridView(jeuamat* sheet, QWidget* parent) : QTableWidget(parent), m_sheet(sheet) {
        setColumnCount(3);
        // The heading row (VALEUR, NOMBRE) is shown as the grid's header, so that it stays
        // in view as the rows scroll; its row of cells is hidden.
        horizontalHeader()->setSectionsClickable(false);
        horizontalHeader()->setHighlightSections(false);
        verticalHeader()->hide();
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        // The current cell is shown by its background, so that a count being typed keeps
        // its red text visible.
        setSelectionMode(QAbstractItemView::NoSelection);
        setTabKeyNavigation(false);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const int row = qMax(1, currentRow());
        switch (event->key()) {
        case Qt::Key_Up:
            m_sheet->gridMoved(qMax(1, row - 1));
            return;
        case Qt::Key_Down:
            m_sheet->gridMoved(qMin(rowCount() - 1, row + 1));
            return;
        case Qt::Key_PageUp:
            m_sheet->gridMoved(qMax(1, row - 10));
            return;
        case Qt::Key_PageDown:
            m_sheet->gridMoved(qMin(rowCount() - 1, row + 10));
            return;
        case Qt::Key_Backspace:
            m_sheet->gridKey(GridKey::Backspace);
            return;
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            m_sheet->gridKey(GridKey::Clear);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_sheet->gridKey(GridKey::Enter);
            return;
        default:
            break;
        }
        if (text == QStringLiteral("+"))
            m_sheet->gridKey(GridKey::NextRace);
        else if (text.size() == 1 && text[0] >= u'0' && text[0] <= u'9')
            m_sheet->gridKey(GridKey::Digit, text[0]);
        // every other key is ignored
    }

private:
    jeuamat* m_sheet;
};

namespace {

QLabel* caption(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* box(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

} // namespace

jeuamat::jeuamat() {
    setObjectName(QStringLiteral("jeuamat"));
    setWindowTitle(QStringLiteral("Engagements"));
    // The sheet saves into the open season's files: a year change closes it, as
    // "Quitter" does, so that it never writes into the season opened after it.
    markSeasonWindow(this);
    buildControls();
    installEventFilter(this);

    // What the opening finds damaged in the season's files is told once it has read them.
    DamageNotice damage(dialogs());
    const EntrySheetOpening o = openEntrySheet(session().CurrentFancierNo);
    if (!o.error.isEmpty())
        dialogs().inform(o.error, windowTitle(), MsgIcon::Exclamation);
    m_recordNo = o.recordNo;
    m_claim = o.claim;
    m_nameAtOpen = o.boxes.name;
    m_clubNo = o.clubNo;
    Text1->setText(o.boxes.name);
    Texte1->setText(o.boxes.licence);
    Texte2->setText(o.boxes.address);
    Texte3->setText(o.boxes.complement);
    Texte4->setText(o.boxes.town);
    Texte5->setText(o.boxes.postCode);
    Texte6->setText(o.boxes.telephone);
    Text4->setText(o.boxes.latitude);
    Text5->setText(o.boxes.east);
    Text6->setText(o.boxes.west);
    Label4->setText(QString::number(m_clubNo));
    Label3->setText(trim(session().ClubNames.value(m_clubNo)));
    List1->addItems(clubChoiceLines());

    try {
        if (m_recordNo > 0)
            m_grids.load(session().YearFolder, session().ChosenRaceCodes, m_recordNo);
    } catch (const Error& e) {
        dialogs().inform(e.message(), windowTitle(), MsgIcon::Exclamation);
    }
    damage.tell();
    buildRaceGrids();
}

void jeuamat::buildControls() {
    auto* central = new QWidget(this);
    auto* top = new QVBoxLayout(central);
    auto* form = new QGridLayout;
    Label1 = caption("Label1", QStringLiteral("  NOM et Prénom "), central);
    Etiquette10 = caption("Etiquette10", QStringLiteral(" N°  LICENCE "), central);
    Etiquette2 = caption("Etiquette2", QStringLiteral(" ADRESSE "), central);
    Etiquette3 = caption("Etiquette3", QStringLiteral(" COMPLEMENT "), central);
    Etiquette4 = caption("Etiquette4", QStringLiteral(" VILLE "), central);
    Etiquette7 = caption("Etiquette7", QStringLiteral(" CODE POSTAL "), central);
    Etiquette8 = caption("Etiquette8", QStringLiteral(" TELEPHONE "), central);
    Etiquette5 = caption("Etiquette5", QStringLiteral(" LATITUDE "), central);
    Label6 = caption("Label6", QStringLiteral(" LONGITUDE EST "), central);
    Label7 = caption("Label7", QStringLiteral(" LONGITUDE OUEST "), central);
    Text1 = box("Text1", central);
    Texte1 = box("Texte1", central);
    Texte2 = box("Texte2", central);
    Texte3 = box("Texte3", central);
    Texte4 = box("Texte4", central);
    Texte5 = box("Texte5", central);
    Texte6 = box("Texte6", central);
    Text4 = box("Text4", central);
    Text5 = box("Text5", central);
    Text6 = box("Text6", central);
    // Each identity box takes at most the width of its field in the fanciers file.
    for (const auto& [b, width] : {std::pair{Text1, 23},
                                   {Texte1, 7},
                                   {Texte2, 30},
                                   {Texte3, 20},
                                   {Texte4, 28},
                                   {Texte5, 7},
                                   {Texte6, 17}})
        b->setMaxLength(width);
    // The address complement (20 characters) is read whole in its narrow column.
    Texte3->setMinimumWidth(Texte3->fontMetrics().horizontalAdvance(QString(20, u'N')) + 16);
    Label3 = caption("Label3", QStringLiteral(" SOCIETE ?? Cliquez ICI "), central);
    Label3->setToolTip(QStringLiteral("Cliquez ici vous obtenir le tableau des sociétés"));
    Label3->setCursor(Qt::PointingHandCursor);
    Label3->installEventFilter(this);
    Label4 = caption("Label4", QString(), central);
    List1 = new QListWidget(central);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMaximumHeight(90);
    List1->hide();
    Label8 = caption("Label8", QStringLiteral("distance"), central);

    form->addWidget(Label1, 0, 0);
    form->addWidget(Text1, 0, 1, 1, 3);
    form->addWidget(Etiquette10, 0, 4);
    form->addWidget(Texte1, 0, 5);
    form->addWidget(Etiquette2, 1, 0);
    form->addWidget(Texte2, 1, 1, 1, 3);
    form->addWidget(Etiquette3, 1, 4);
    form->addWidget(Texte3, 1, 5);
    form->addWidget(Etiquette4, 2, 0);
    form->addWidget(Texte4, 2, 1, 1, 3);
    form->addWidget(Etiquette7, 2, 4);
    form->addWidget(Texte5, 2, 5);
    form->addWidget(Etiquette8, 3, 0);
    form->addWidget(Texte6, 3, 1, 1, 3);
    form->addWidget(Label3, 3, 4);
    form->addWidget(Label4, 3, 5);
    form->addWidget(Etiquette5, 4, 0);
    form->addWidget(Text4, 4, 1);
    form->addWidget(Label6, 4, 2);
    form->addWidget(Text5, 4, 3);
    form->addWidget(Label7, 4, 4);
    form->addWidget(Text6, 4, 5);
    top->addLayout(form);
    top->addWidget(List1);
    top->addWidget(Label8);

    auto* races = new QHBoxLayout;
    m_stack = new QStackedWidget(central);
    m_stack->setObjectName(QStringLiteral("ggrid1"));
    races->addWidget(m_stack, 3);
    auto* labels = new QVBoxLayout;
    for (int k = 1; k <= MaxChosenRaces; ++k) {
        QLabel* l = caption("Label9", QString(), central);
        l->setObjectName(QStringLiteral("Label9_%1").arg(k));
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        l->hide();
        labels->addWidget(l);
        Label9.append(l);
    }
    labels->addStretch(1);
    races->addLayout(labels, 2);
    top->addLayout(races, 1);
    Label10 = caption("Label10", QString(), central);
    QFont bold = Label10->font();
    bold.setBold(true);
    Label10->setFont(bold);
    top->addWidget(Label10);
    Strip = new QTabBar(central);
    Strip->setObjectName(QStringLiteral("Strip"));
    Strip->setExpanding(false);
    top->addWidget(Strip);
    Command1 = new QPushButton(QStringLiteral("Enregistrer"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    top->addWidget(Command1, 0, Qt::AlignLeft);
    setCentralWidget(central);

    enreg = menuBar()->addAction(QStringLiteral("Enregistrer"));
    enreg->setObjectName(QStringLiteral("enreg"));
    quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    quitte->setObjectName(QStringLiteral("quitte"));
    aide = menuBar()->addAction(QStringLiteral("?"));
    aide->setObjectName(QStringLiteral("aide"));
    connect(enreg, &QAction::triggered, this, [this] { save(); });
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    connect(quitte, &QAction::triggered, this, [this] { quit(); });
    connect(aide, &QAction::triggered, this, [] { showHelp(2); });
    connect(Strip, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_syncing && index >= 0)
            selectRace(index + 1);
    });
    connect(List1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { clubPicked(clubNoOfChoiceLine(item->text())); });

    for (QLineEdit* b : {Text1, Texte1, Texte2, Texte3, Texte4, Texte5, Texte6, Text4, Text5, Text6})
        connect(b, &QLineEdit::textEdited, this, [this] { m_typed = true; });

    installBoxKeys(Text1, Texte2, [this] {
        const QString refusal = nameRefusal(trim(Text1->text()));
        if (!refusal.isEmpty())
            dialogs().inform(refusal, windowTitle(), MsgIcon::Exclamation);
        return refusal.isEmpty();
    });
    installBoxKeys(Texte2, Texte3);
    installBoxKeys(Texte3, Texte4);
    installBoxKeys(Texte4, Texte5);
    installBoxKeys(Texte5, Texte6);
    installBoxKeys(Texte6, Text4);
    installBoxKeys(Text4, Text5, [this] { return coordinateEnter(Text4, QStringLiteral("LATITUDE")); });
    installBoxKeys(Text5, nullptr, [this] {
        longitudeEnter(Text5, Text6, QStringLiteral("LONGITUDE EST"));
        return true;
    });
    installBoxKeys(Text6, nullptr, [this] {
        longitudeEnter(Text6, Text5, QStringLiteral("LONGITUDE OUEST"));
        return true;
    });
    installBoxKeys(Texte1, nullptr, [this] {
        enterGridFromBoxes();
        return true;
    });
}

void jeuamat::buildRaceGrids() {
    const QFont fixed(QStringLiteral("Courier New"));
    for (int k = 1; k <= m_grids.count(); ++k) {
        auto* view = new RaceGridView(this, m_stack);
        view->setObjectName(QStringLiteral("ggrid1_%1").arg(k));
        view->setAccessibleDescription(view->objectName());
        view->setFont(fixed);
        connect(view, &QTableWidget::currentCellChanged, this,
                [this](int row, int, int, int) { gridMoved(row); });
        connect(view, &QTableWidget::cellClicked, this, [this] { List1->hide(); });
        m_stack->addWidget(view);
        ggrid1.append(view);
        m_syncing = true;
        Strip->addTab(QString::number(k));
        m_syncing = false;
        Label9[k - 1]->show();
        refreshGrid(k);
        view->resizeColumnsToContents();
    }
    Strip->setVisible(m_grids.count() > 0);
    fitGridsToRows();
    if (m_grids.count() > 0) {
        Label10->setText(m_grids.grid(1).caption());
        selectRace(1);
    } else {
        showLoftDistance();
    }
}

QTableWidget* jeuamat::grid(int tab) const {
    return tab >= 1 && tab <= ggrid1.size() ? ggrid1[tab - 1] : nullptr;
}

void jeuamat::refreshGrid(int tab) {
    const RaceGrid& g = m_grids.grid(tab);
    RaceGridView* view = ggrid1[tab - 1];
    const bool wasSyncing = m_syncing;
    m_syncing = true;
    view->setRowCount(g.rowCount());
    for (int r = 0; r < g.rowCount(); ++r) {
        for (int c = 0; c < 3; ++c) {
            QTableWidgetItem* item = view->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                              : Qt::AlignRight | Qt::AlignVCenter);
                if (r == 0) {
                    QFont f = item->font();
                    f.setBold(true);
                    item->setFont(f);
                    item->setFlags(Qt::ItemIsEnabled);
                }
                view->setItem(r, c, item);
            }
            item->setText(g.cell(r, c));
            item->setForeground(c == RaceGrid::NombreColumn && g.isPending(r) ? QBrush(Qt::red)
                                                                              : QBrush());
        }
    }
    for (int c = 0; c < 3 && g.rowCount() > 0; ++c) {
        QTableWidgetItem* heading = view->horizontalHeaderItem(c);
        if (!heading) {
            heading = new QTableWidgetItem;
            heading->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                             : Qt::AlignRight | Qt::AlignVCenter);
            QFont f = heading->font();
            f.setBold(true);
            heading->setFont(f);
            view->setHorizontalHeaderItem(c, heading);
        }
        heading->setText(g.cell(0, c));
    }
    view->setRowHidden(0, true);
    Label9[tab - 1]->setText(g.tabLabel());
    m_syncing = wasSyncing;
}

void jeuamat::applyOutcome(const GridKeyOutcome& outcome) {
    const int tab = m_grids.currentTab();
    refreshGrid(tab);
    RaceGridView* view = ggrid1[tab - 1];
    m_syncing = true;
    view->setCurrentCell(outcome.currentRow, RaceGrid::NombreColumn);
    for (int r = 1; r < view->rowCount(); ++r)
        if (QTableWidgetItem* item = view->item(r, RaceGrid::NombreColumn))
            item->setBackground(r == outcome.currentRow ? QBrush(QColor(0xcc, 0xe8, 0xff))
                                                        : QBrush());
    // The cell that takes the next digits is always in view: ENGAGES with the grid at its
    // first row, any other row scrolled to when it is out of sight.
    if (outcome.currentRow <= 1)
        view->scrollToTop();
    else if (QTableWidgetItem* item = view->item(outcome.currentRow, RaceGrid::NombreColumn))
        view->scrollToItem(item, QAbstractItemView::EnsureVisible);
    m_syncing = false;
}

void jeuamat::gridKey(GridKey key, QChar digit) {
    if (m_grids.count() == 0)
        return;
    List1->hide();
    const int tab = m_grids.currentTab();
    const int row = qMax(1, ggrid1[tab - 1]->currentRow());
    const GridKeyOutcome o = m_grids.key(row, key, digit);
    // A count typed, shortened or cleared is typed work; moving or committing is not.
    if ((key == GridKey::Digit || key == GridKey::Backspace || key == GridKey::Clear) &&
        o.result != GridKeyOutcome::Ignored)
        m_typed = true;
    switch (o.result) {
    case GridKeyOutcome::OpenNextRace:
        refreshGrid(tab);
        selectRace(m_grids.currentTab());
        return;
    case GridKeyOutcome::Refused:
        applyOutcome(o);
        dialogs().inform(RaceGrid::refusalMessage(), windowTitle(), MsgIcon::Exclamation);
        return;
    default:
        applyOutcome(o);
    }
}

void jeuamat::gridMoved(int row) {
    if (m_syncing || m_grids.count() == 0 || row < 0)
        return;
    applyOutcome(m_grids.grid(m_grids.currentTab()).moveTo(row));
}

void jeuamat::selectRace(int tab) {
    if (m_grids.count() == 0)
        return;
    tab = qBound(1, tab, m_grids.count());
    const int previous = m_grids.currentTab();
    m_grids.selectTab(tab); // commits the edit of the open race
    refreshGrid(previous);
    m_syncing = true;
    Strip->setCurrentIndex(tab - 1);
    m_syncing = false;
    showRaceGrid(tab);
}

void jeuamat::showRaceGrid(int tab) {
    m_site = raceSite(m_grids.raceCode(tab));
    showLoftDistance();
    const QString label = Label9[tab - 1]->text();
    const qsizetype eq = label.indexOf(u'=');
    Label10->setText(eq < 0 ? label : label.left(eq));
    RaceGridView* view = ggrid1[tab - 1];
    m_stack->setCurrentWidget(view);
    applyOutcome(m_grids.grid(tab).moveTo(1));
    view->setFocus();
}

void jeuamat::showLoftDistance() {
    Text4->setText(coordinateText(Text4->text()));
    Text5->setText(coordinateText(Text5->text()));
    Text6->setText(coordinateText(Text6->text()));
    Label8->setText(m_grids.count() > 0
                        ? loftDistanceLine(Text4->text(), Text5->text(), Text6->text(), m_site)
                        : QString());
}

bool jeuamat::coordinateEnter(QLineEdit* box, const QString& caption) {
    const QString refusal = coordinateRefusal(box->text(), caption, box == Text4);
    if (refusal.isEmpty())
        return true;
    dialogs().inform(refusal, windowTitle(), MsgIcon::Exclamation);
    focusBox(box);
    return false;
}

// The grids are as tall as the longest sheet's rows plus one, so that a short sheet shows
// whole; a longer sheet scrolls in a grid that leaves the whole window on the screen, its
// boxes, tabs and "Enregistrer" included. The window opens at that height; the grids give
// up rows to the club list while it shows, so the window does not grow past the screen.
void jeuamat::fitGridsToRows() {
    int wanted = 0;
    int fewRows = 0;
    for (const RaceGridView* view : ggrid1) {
        const int row = view->verticalHeader()->defaultSectionSize();
        wanted = std::max(wanted, (view->rowCount() + 1) * row + 2 * view->frameWidth());
        fewRows = std::max(fewRows, 5 * row + 2 * view->frameWidth());
    }
    m_stack->setMinimumHeight(0);
    const QScreen* s = screen();
    QLayout* top = centralWidget()->layout();
    QLayout* races = nullptr;
    for (int i = 0; top && i < top->count() && !races; ++i)
        if (QLayout* l = top->itemAt(i)->layout(); l && l->indexOf(m_stack) >= 0)
            races = l;
    if (!s || !races) {
        m_stack->setMinimumHeight(wanted);
        return;
    }
    top->invalidate();
    // Everything but the grids: the menu bar, the boxes, the labels under the grids, the
    // tabs and the button; then the window's title bar.
    const int others = sizeHint().height() - races->sizeHint().height();
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    wanted = std::max(0, std::min(wanted, s->availableGeometry().height() - titleBar - others));
    m_stack->setMinimumHeight(std::min(wanted, fewRows));
    resize(sizeHint().width(), others + std::max(wanted, races->sizeHint().height()));
}

void jeuamat::longitudeEnter(QLineEdit* box, QLineEdit* other, const QString& caption) {
    if (trim(box->text()).isEmpty()) {
        focusBox(other);
        return;
    }
    if (!coordinateEnter(box, caption))
        return;
    showLoftDistance();
    other->clear();
    focusBox(Texte1);
}

void jeuamat::enterGridFromBoxes() {
    if (m_grids.count() == 0) {
        Command1->setFocus();
        return;
    }
    const int tab = m_grids.currentTab();
    applyOutcome(m_grids.grid(tab).moveTo(1));
    RaceGridView* view = ggrid1[tab - 1];
    if (QTableWidgetItem* item = view->item(1, RaceGrid::NombreColumn))
        item->setForeground(QBrush(Qt::red));
    view->setFocus();
}

void jeuamat::focusBox(QLineEdit* box) {
    box->setFocus();
    box->selectAll();
}

void jeuamat::focusEntryBox(EntryBox which) {
    QLineEdit* const order[] = {nullptr, Text1,  Texte1, Texte2, Texte3, Texte4,
                                Texte5,  Texte6, Text4,  Text5,  Text6};
    if (QLineEdit* b = order[static_cast<int>(which)])
        focusBox(b);
}

EntryBoxes jeuamat::boxes() const {
    return {Text1->text(),  Texte1->text(), Texte2->text(), Texte3->text(), Texte4->text(),
            Texte5->text(), Texte6->text(), Text4->text(),  Text5->text(),  Text6->text()};
}

void jeuamat::clubPicked(int clubNo) {
    if (clubNo < 1 || clubNo > session().ClubCount)
        return;
    m_clubNo = clubNo;
    Label3->setText(trim(session().ClubNames.value(clubNo)));
    Label4->setText(QString::number(clubNo));
    List1->hide();
    try {
        if (m_recordNo > 0)
            storeClubNumber(m_recordNo, clubNo);
    } catch (const Error& e) {
        dialogs().inform(e.message(), windowTitle(), MsgIcon::Exclamation);
    }
    if (m_grids.count() > 0) {
        m_grids.rebuild(); // keeps the counts typed
        for (int k = 1; k <= m_grids.count(); ++k)
            refreshGrid(k);
        selectRace(1);
    }
}

bool jeuamat::save() {
    m_grids.commitAll();
    for (int k = 1; k <= m_grids.count(); ++k)
        refreshGrid(k);
    const EntrySaveResult r =
        saveEntrySheet({m_recordNo, m_clubNo, boxes(), m_nameAtOpen}, m_grids, dialogs());
    if (!r.saved) {
        focusEntryBox(r.focus);
        return false;
    }
    // The fancier's line leaves the open fanciers list; the address editor puts it back,
    // and the list's next load shows him again.
    removeFancierListLine(m_recordNo);
    if (windows().isLoaded<recapam>())
        windows().window<recapam>().replaceLine(m_recordNo, r.plan.recapLine);
    m_closing = true;
    windows().unload(this);
    return true;
}

bool jeuamat::askToSaveTypedWork() {
    if (!m_typed)
        return true;
    const QString name = trim(Text1->text());
    return dialogs().askToSave(
        QStringLiteral("Les engagements de %1 ne sont pas enregistrés.\n"
                       "Voulez-vous les enregistrer ?")
            .arg(name.isEmpty() ? QStringLiteral("ce nouvel amateur") : name),
        windowTitle(), [this] { return save(); });
}

void jeuamat::stateChanged(StateChange change) {
    if (change != StateChange::ProgramEnd)
        quit();
}

void jeuamat::quit() {
    if (entrySheetLinks().enableMainQuit)
        entrySheetLinks().enableMainQuit();
    m_closing = true;
    windows().unload(this);
}

void jeuamat::closeEvent(QCloseEvent* event) {
    if (!m_closing)
        quit();
    event->accept();
}

void jeuamat::hideEvent(QHideEvent* event) {
    // Unloading hides the sheet before deleting it later: from now on the record claimed
    // for a new fancier may be claimed again.
    if (!event->spontaneous())
        m_claim.release();
    QMainWindow::hideEvent(event);
}

void jeuamat::mousePressEvent(QMouseEvent* event) {
    List1->hide(); // a click on the window hides the club list
    QMainWindow::mousePressEvent(event);
}

bool jeuamat::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        // A title bar taller than foreseen, or a resize, never takes the window past the
        // screen's height: the grids give up the rows.
        if (const QScreen* s = screen()) {
            const int excess = frameGeometry().height() - s->availableGeometry().height();
            if (excess > 0 && height() - excess >= minimumSizeHint().height())
                resize(width(), height() - excess);
        }
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == Label3) {
            List1->show();
            List1->setFocus();
            return true;
        }
        const int i = static_cast<int>(Label9.indexOf(qobject_cast<QLabel*>(watched)));
        if (i >= 0) {
            selectRace(i + 1);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vt
