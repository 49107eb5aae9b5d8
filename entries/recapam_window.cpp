#include "entries/recapam_window.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/session.h"
#include "common/sorting.h"
#include "entries/entry_save.h"
#include "entries/jeuamat_window.h"
#include "entries/recap_grid.h"
#include "entries/recap_prints.h"
#include "entries/recap_store.h"
#include "platform/frozen_column.h"
#include "platform/clock.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/print_progress_window.h"
#include "platform/printing.h"
#include "platform/window_registry.h"

#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vt {

namespace {

QAction* menuItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

recapam::recapam() {
    setObjectName(QStringLiteral("recapam"));
    setWindowTitle(QStringLiteral("CHOIX DES AMATEURS"));
    // Its fanciers and races are those of the open season: a year change closes it.
    markSeasonWindow(this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    Etiquette1 = new QLabel(
        QStringLiteral(" Pour ACCEDER aux engagements CLIQUEZ 2 FOIS sur l'Amateur "), central);
    Etiquette1->setObjectName(QStringLiteral("Etiquette1"));
    QFont bold = Etiquette1->font();
    bold.setBold(true);
    Etiquette1->setFont(bold);
    Liste1 = new QListWidget(central);
    Liste1->setObjectName(QStringLiteral("Liste1"));
    Liste1->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont fixed(QStringLiteral("Courier New"), 12);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setBold(true);
    Liste1->setFont(fixed);
    Liste1->setStyleSheet(
        QStringLiteral("QListWidget { color: #000080; background-color: #FFFFE0; }"));
    layout->addWidget(Etiquette1);
    Grid1 = new QTableWidget(central);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->verticalHeader()->setVisible(false);
    Grid1->setFont(QFont(QStringLiteral("Courier New"), 10));
    Grid1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    // The fanciers' names stay in view as the races' columns scroll sideways.
    freezeFirstColumn(Grid1);
    Grid1->hide();
    layout->addWidget(Grid1, 1);
    layout->addWidget(Liste1, 1);
    layout->addStretch(0); // under a short grid, while the list is hidden
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_clockPanel = new QLabel(StatusBar1);
    m_clockPanel->setObjectName(QStringLiteral("StatusBar1_panel1"));
    StatusBar1->addWidget(m_clockPanel, 1);
    setStatusBar(StatusBar1);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &recapam::refreshClock);

    ff = menuBar()->addMenu(QStringLiteral("Fichier"));
    ff->setObjectName(QStringLiteral("ff"));
    memo = menuItem(ff, "memo", QStringLiteral("Mémoriser la Récap"));
    s1 = separator(ff, "s1");
    lister = menuItem(ff, "lister", QStringLiteral("Imprimer la Récap"));
    listmts = menuItem(ff, "listmts", QStringLiteral("Imprimer les totaux par concours"));
    listdet = menuItem(ff, "listdet", QStringLiteral("Imprimer le détail par amateur et concours"));
    ss = separator(ff, "ss");
    confimpr = menuItem(ff, "confimpr", QStringLiteral("Configurer l'Imprimante"));
    nouv = menuBar()->addAction(QStringLiteral("Nouvel Amateur"));
    nouv->setObjectName(QStringLiteral("nouv"));
    quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    quitte->setObjectName(QStringLiteral("quitte"));
    ecran = menuBar()->addAction(QStringLiteral("Visuel"));
    ecran->setObjectName(QStringLiteral("ecran"));
    eff = menuBar()->addAction(QStringLiteral("Effacer grille"));
    eff->setObjectName(QStringLiteral("eff"));
    eff->setVisible(false);
    aide = menuBar()->addAction(QStringLiteral("?"));
    aide->setObjectName(QStringLiteral("aide"));
    connect(ecran, &QAction::triggered, this, &recapam::showNextRecapGrid);
    connect(eff, &QAction::triggered, this, &recapam::hideRecapGrid);
    connect(memo, &QAction::triggered, this, [] { storeRaceRecaps(dialogs(), session()); });
    // Each print shows how far it is when it lasts, and says, over this window, where it
    // went and how many pages it holds (after how many it was stopped).
    connect(lister, &QAction::triggered, this, [this] {
        printWithProgress(this, QStringLiteral("récapitulatifs"), QStringLiteral("imprimés"),
                          [](PrintProgress& progress) {
                              return printClubRecaps(dialogs(), printer(), session(), setMainStatus,
                                                     progress);
                          });
    });
    connect(listmts, &QAction::triggered, this, [this] {
        printWithProgress(this, QStringLiteral("amateurs"), QStringLiteral("imprimés"),
                          [this](PrintProgress& progress) {
                              return printRaceTotals(dialogs(), printer(), session(),
                                                     listedFanciers(lines()), progress);
                          });
    });
    connect(listdet, &QAction::triggered, this, [this] {
        printWithProgress(this, QStringLiteral("concours"), QStringLiteral("imprimés"),
                          [this](PrintProgress& progress) {
                              return printFancierDetail(dialogs(), printer(), session(),
                                                        listedFanciers(lines()), progress);
                          });
    });

    connect(confimpr, &QAction::triggered, this, [] { dialogs().printerSetup(); });
    connect(nouv, &QAction::triggered, this, [this] { openEntrySheet(0); });
    connect(quitte, &QAction::triggered, this, [this] { windows().unload(this); });
    connect(aide, &QAction::triggered, this, [] { showHelp(2); });
    // A double-click or Enter on a fancier's line opens his entry sheet.
    connect(Liste1, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        openEntrySheet(item->data(Qt::UserRole).toInt());
    });

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(qMin(area.width(), 900), qMax(300, area.height() - 33));
    }
    fillList();
    refreshClock();
    Timer1->start();
}

void recapam::fillList() {
    Liste1->clear();
    DamageNotice damage(dialogs());
    const RecapListLoad load = loadRecapList();
    damage.tell();
    for (int i = 0; i < load.lines.size(); ++i) {
        auto* item = new QListWidgetItem(load.lines[i], Liste1);
        item->setData(Qt::UserRole, load.records[i]);
    }
    if (!load.error.isEmpty())
        dialogs().inform(load.error, windowTitle(), MsgIcon::Exclamation);
}

QStringList recapam::lines() const {
    QStringList out;
    for (int i = 0; i < Liste1->count(); ++i)
        out << Liste1->item(i)->text();
    return out;
}

int recapam::recordNoAt(int row) const {
    const QListWidgetItem* item = Liste1->item(row);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void recapam::insertLine(const QString& line, int recordNo) {
    QStringList texts = lines();
    const int index = insertSorted(texts, line);
    auto* item = new QListWidgetItem(line);
    item->setData(Qt::UserRole, recordNo);
    Liste1->insertItem(index, item);
}

void recapam::replaceLine(int recordNo, const QString& line) {
    for (int i = 0; i < Liste1->count(); ++i) {
        if (recordNoAt(i) == recordNo) {
            delete Liste1->takeItem(i);
            break;
        }
    }
    if (!line.trimmed().isEmpty())
        insertLine(line, recordNo);
}

void recapam::openEntrySheet(int recordNo) {
    if (windows().isLoaded<jeuamat>() && !windows().window<jeuamat>().askToSaveTypedWork())
        return;
    // A sheet saved just now has closed already.
    if (windows().isLoaded<jeuamat>())
        windows().window<jeuamat>().quit();
    session().CurrentFancierNo = recordNo;
    windows().show<jeuamat>();
}

void recapam::stateChanged(StateChange change) {
    if (change != StateChange::Races)
        return;
    if (session().chosenRaces().isEmpty()) {
        windows().unload(this);
        return;
    }
    if (!Grid1->isHidden())
        hideRecapGrid();
    fillList();
}

QString recapam::clockPanelText() const { return m_clockPanel->text(); }

void recapam::refreshClock() { m_clockPanel->setText(clockText(now())); }

namespace {
// The slot of the race shown last; it lasts for the whole run, so a reopened recap
// window goes on with the next race.
int recapGridPosition = 0;

// The fancier's name on the left, the numbers on the right, headers as their cells.
Qt::Alignment recapGridAlignment(int column) {
    return (column == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
}
} // namespace

void recapam::showNextRecapGrid() {
    // The race is read first: a file that cannot be read is named in a message and the
    // window stays as it was; the next "Visuel" goes on with the race after it.
    recapGridPosition = nextRecapGridPosition(recapGridPosition, session());
    RecapGridView view;
    if (recapGridPosition > 0) {
        QList<int> records;
        for (const QString& line : lines())
            if (const auto r = recapLineRecord(line))
                records.append(*r);
        try {
            DamageNotice damage(dialogs());
            view = buildRecapGrid(session(), session().ChosenRaceCodes[recapGridPosition], records);
            damage.tell();
        } catch (const Error& e) {
            dialogs().inform(e.message(), windowTitle(), MsgIcon::Exclamation);
            return;
        }
    }

    // The grid takes the list's place until "Effacer grille".
    eff->setVisible(true);
    quitte->setVisible(false);
    Liste1->hide();
    Grid1->show();
    Grid1->clear();
    Grid1->setRowCount(0);
    Grid1->setColumnCount(3);
    if (recapGridPosition > 0) {
        setWindowTitle(view.caption);
        Grid1->setColumnCount(static_cast<int>(view.headers.size()));
        for (int c = 0; c < view.headers.size(); ++c) {
            auto* header = new QTableWidgetItem(view.headers[c]);
            header->setTextAlignment(recapGridAlignment(c));
            Grid1->setHorizontalHeaderItem(c, header);
        }
        Grid1->setRowCount(static_cast<int>(view.rows.size()) + 1);
        for (int r = 0; r < view.rows.size(); ++r)
            for (int c = 0; c < view.rows[r].size(); ++c) {
                auto* item = new QTableWidgetItem(view.rows[r][c]);
                item->setTextAlignment(recapGridAlignment(c));
                Grid1->setItem(r, c, item);
            }
    }
    Grid1->resizeColumnsToContents();
    // As tall as its fanciers and four rows more (headers, the empty row, a margin), or
    // the room the window has: the layout stops it at the window's edge.
    const int rows = static_cast<int>(view.rows.size()) + 4;
    Grid1->setMaximumHeight(rows * Grid1->verticalHeader()->defaultSectionSize() +
                            2 * Grid1->frameWidth());
}

void recapam::hideRecapGrid() {
    eff->setVisible(false);
    Grid1->hide();
    Liste1->show();
    quitte->setVisible(true);
    setWindowTitle(QStringLiteral("CHOIX des AMATEURS"));
}

} // namespace vt
