#pragma once
// The window of a long print run: how many documents are printed out of the total, the
// one being printed, and "Annuler", which stops the run after the current document. It
// shows only when the run lasts more than half a second; until then and while it shows,
// the other windows keep being painted. Modal while shown: nothing else can be started
// in the middle of a run.
#include "platform/print_progress.h"

#include <QDateTime>
#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vt {

class PrintProgressWindow : public QDialog, public PrintProgress {
public:
    // `units`: what the run counts, in the plural ("feuilles", "enveloppes"); `printed`:
    // the word that agrees with it ("imprimées", "imprimés").
    PrintProgressWindow(QWidget* parent, const QString& units,
                        const QString& printed = QStringLiteral("imprimées"));

    bool next(int done, int total, const QString& what) override;

    // True when the user stopped the run before its end; then printed() documents went
    // out of total(). A stop asked during the last document stops nothing.
    bool stopped() const { return m_cut; }
    int printed() const { return m_done; }
    int total() const { return m_total; }
    // "Impression arrêtée : 7 feuilles imprimées sur 200" (empty when not stopped).
    QString stoppedText() const;

    // How long a run goes before the window shows.
    static constexpr int ShowAfterMs = 500;

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void stop();

    QString m_units, m_printed;
    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    QPushButton* Annuler;
    QDateTime m_start; // the first document of the run, on the program's clock
    qint64 m_lastEvents = -1;
    bool m_stopped = false; // the user asked to stop
    bool m_cut = false;     // a document was not printed because of it
    int m_done = 0, m_total = 0;
};

} // namespace vt
