#pragma once
// The window of a long print run: how many documents are printed out of the total, the
// one being printed, and "Annuler", which stops the run after the current document. It
// shows only when the run lasts more than half a second; until then and while it shows,
// the other windows keep being painted. Modal while shown: nothing else can be started
// in the middle of a run.
#include "platform/print_progress.h"
#include "platform/print_surface.h"

#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>

#include <functional>

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
    void within(double fraction) override;

    // True when the user stopped the run before its end; then printed() documents went
    // out of total(). A stop asked during the last document stops nothing.
    bool stopped() const { return m_documentLeftUnprinted; }
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
    void keepWindowsPainted(bool itemBegins);

    QString m_units, m_printed;
    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* ProgressBar1;
    QPushButton* Annuler;
    QDateTime m_start; // the first document of the run, on the program's clock
    qint64 m_lastEvents = -1;
    QElapsedTimer m_sinceEvents;          // real time since events were last handled
    bool m_stopped = false;               // the user asked to stop
    bool m_documentLeftUnprinted = false; // a document was not printed because of it
    int m_done = 0, m_total = 0;
    double m_fraction = 0; // of the document being printed
};

// How a print run's end is told in the window it was started from.
enum class TellPrinted {
    Message,       // always a message
    StatusWhenDone // the status line when it went where it should; a message otherwise
};

// Runs a print job under a progress window counting `units` (shown when the job lasts),
// then says over `window`, titled with its title, where the print went, after how many
// documents it was stopped, or why it could not be printed. `status` shows a text in the
// status line, for TellPrinted::StatusWhenDone.
PrintOutcome printWithProgress(QWidget* window, const QString& units, const QString& printed,
                               const std::function<PrintOutcome(PrintProgress&)>& job,
                               TellPrinted tell = TellPrinted::Message,
                               const std::function<void(const QString&)>& status = {});

} // namespace vt
