// The prints of the fanciers window: names lists, envelopes, address labels, the
// distance sheets and the distance list of one release site. Each handler reads the
// list, asks its questions, calls the print rules on the program's printer and says,
// in a message over this window, where the document went and how many pages it holds.
// The prints of the selection show how far they are when they take a while.
#include "gnoms_window.h"

#include "distance_list.h"
#include "distance_sheets.h"
#include "envelopes.h"
#include "fancier_prints.h"
#include "labels.h"
#include "names_list.h"

#include "common/errors.h"
#include "common/session.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/print_progress_window.h"
#include "platform/printing.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>

namespace vt {

void gnoms::wirePrints() {
    Image1->setPixmap(QPixmap::fromImage(fanciersPicture()));
    connect(List3, &QListWidget::itemClicked, this, &gnoms::List3_Click);
    const QList<QPair<const char*, void (gnoms::*)()>> items = {
        {"lst", &gnoms::lst_Click},         {"etiqu", &gnoms::etiqu_Click},
        {"socdist", &gnoms::socdist_Click}, {"amdist", &gnoms::amdist_Click},
        {"chdist", &gnoms::chdist_Click},   {"lst1", &gnoms::lst1_Click},
    };
    for (const auto& [name, handler] : items)
        connect(m_actions.value(QString::fromLatin1(name)), &QAction::triggered, this, handler);
    const struct {
        const char* name;
        EnvelopeSize size;
        bool urgent;
    } envelopes[] = {{"envel1", EnvelopeSize::Size220x110, true},
                     {"envel2", EnvelopeSize::Size230x160, true},
                     {"envel1n", EnvelopeSize::Size220x110, false},
                     {"envel2n", EnvelopeSize::Size230x160, false}};
    for (const auto& e : envelopes)
        connect(
            m_actions.value(QString::fromLatin1(e.name)), &QAction::triggered, this,
            [this, size = e.size, urgent = e.urgent] { printEnvelopesOfSelection(size, urgent); });
}

// Runs one print job: a file that cannot be read shows its message and nothing is
// printed; where the document went, or why it could not be printed, is shown in a message.
void gnoms::runPrint(const std::function<PrintOutcome()>& job) {
    try {
        tellWherePrinted(job(), windowTitle());
    } catch (const Error& e) {
        dialogs().inform(e.message(), windowTitle(), MsgIcon::Critical);
    }
}

void gnoms::printNamesListOf(int club) {
    runPrint([&] { return printNamesList(lines(), club, printer()); });
}

void gnoms::lst_Click() {
    printNamesListOf(0);
}

void gnoms::printEnvelopesOfSelection(EnvelopeSize size, bool urgent) {
    const QStringList chosen = selectedLines();
    printWithProgress(this, QStringLiteral("enveloppes"), QStringLiteral("imprimées"),
                      [&](PrintProgress& progress) {
                          return printEnvelopes(readListedFanciers(chosen), size, urgent,
                                                session().SenderAddress, printer(), progress);
                      });
    List1->clearSelection(); // every printed item is deselected
}

void gnoms::etiqu_Click() {
    if (dialogs().message(labelsPrompt()) != MsgAnswer::Yes)
        return;
    const QStringList chosen = selectedLines();
    printWithProgress(this, QStringLiteral("étiquettes"), QStringLiteral("imprimées"),
                      [&](PrintProgress& progress) {
                          return printLabels(readListedFanciers(chosen), printer(), progress);
                      });
}

void gnoms::printDistanceSheetsOf(const QStringList& chosen) {
    QList<int> recordNos;
    for (const QString& line : chosen)
        recordNos.append(recordNoOfLine(line));
    List1->hide();
    List2->hide();
    const bool booklet = dialogs().message(sheetLayoutQuestion()) == MsgAnswer::Yes;
    DistanceSheetRun run;
    DamageNotice damage(dialogs());
    {
        PrintProgressWindow progress(this, QStringLiteral("feuilles"));
        run = printDistanceSheets(recordNos, booklet ? SheetLayout::Booklet : SheetLayout::List,
                                  printer(), progress);
    }
    damage.tell();
    // The closing message says where the sheets went.
    dialogs().message(distanceSheetsMessage(run));
    List1->show();
    update();
    show();
}

void gnoms::socdist_Click() {
    if (List1->count() == 0)
        return;
    printDistanceSheetsOf(lines());
}

void gnoms::amdist_Click() {
    const QStringList chosen = selectedLines();
    List1->clearSelection(); // each selection is cleared as it is read
    if (chosen.isEmpty())
        return;
    printDistanceSheetsOf(chosen);
}

void gnoms::chdist_Click() {
    if (List3->count() == 0) {
        // Read once: a second choice shows the same sites.
        try {
            DamageNotice damage(dialogs());
            m_choiceSites = readGeneralSitesInFileOrder();
            damage.tell();
        } catch (const Error& e) {
            dialogs().inform(e.message(), windowTitle(), MsgIcon::Critical);
            return;
        }
        for (const ReleaseSiteRecord& site : m_choiceSites)
            List3->addItem(siteChoiceItem(site));
    }
    List3->show();
}

void gnoms::List3_Click() {
    const int row = List3->currentRow();
    if (row < 0 || row >= m_choiceSites.size())
        return;
    m_chosenSite = m_choiceSites.at(row);
    QAction* print = m_actions.value(QStringLiteral("lst1"));
    print->setText(siteListCaption(List3->item(row)->text()));
    print->setVisible(true);
    List3->hide();
}

void gnoms::lst1_Click() {
    if (!m_chosenSite)
        return;
    // The club of the heading: the chosen club while the list shows one club, else the
    // first club.
    const Session& s = session();
    const int club = m_mode == ListMode::OneClub && m_chosenClub >= 1 && m_chosenClub <= s.ClubCount
                         ? m_chosenClub
                         : 1;
    const QString caption = m_actions.value(QStringLiteral("lst1"))->text();
    runPrint([&] {
        return printSiteDistanceList(*m_chosenSite, caption, lines(), s.ClubNames.value(club),
                                     printer());
    });
}

} // namespace vt
