#include "platform/print_progress_window.h"

#include "common/errors.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printing.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vt {

namespace {
// Events are handled at most this often between documents (a document takes a few ms).
constexpr qint64 EventsEveryMs = 40;

template <class W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleDescription(QString::fromLatin1(name));
    return widget;
}
} // namespace

PrintProgressWindow::PrintProgressWindow(QWidget* parent, const QString& units,
                                         const QString& printed)
    : QDialog(parent), m_units(units), m_printed(printed) {
    named<QWidget>(this, "PrintProgressWindow");
    setWindowTitle(QStringLiteral("Impression en cours"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QVBoxLayout(this);
    Label1 = named(new QLabel(this), "Label1");
    Label2 = named(new QLabel(this), "Label2");
    Label2->setMinimumWidth(360);
    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1");
    Annuler = named(new QPushButton(QStringLiteral("Annuler"), this), "Annuler");
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Annuler, 0, Qt::AlignRight);
    connect(Annuler, &QPushButton::clicked, this, [this] { stop(); });
}

bool PrintProgressWindow::next(int done, int total, const QString& what) {
    m_done = done;
    m_total = total;
    m_fraction = 0;
    if (m_stopped) {
        m_documentLeftUnprinted = true;
        return false;
    }
    Label2->setText(QStringLiteral("En cours : %1").arg(what));
    keepWindowsPainted(true);
    m_documentLeftUnprinted = m_stopped;
    return !m_stopped;
}

void PrintProgressWindow::within(double fraction) {
    m_fraction = std::clamp(fraction, 0.0, 1.0);
    // Called often within a document: the clock is read only when events are due.
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < EventsEveryMs)
        return;
    keepWindowsPainted(false);
}

void PrintProgressWindow::keepWindowsPainted(bool itemBegins) {
    if (!m_start.isValid()) {
        m_start = now();
        m_sinceEvents.start();
    }
    const qint64 elapsed = m_start.msecsTo(now());
    // Before the first document the run has nothing to count yet: the windows are only
    // painted.
    const bool showing = !isVisible() && elapsed >= ShowAfterMs && m_total > 0;
    if (showing)
        show();
    if (isVisible()) {
        Label1->setText(QStringLiteral("%1 %2 sur %3").arg(m_done).arg(m_units).arg(m_total));
        if (m_stopped)
            Label2->setText(QStringLiteral("Arrêt après le document en cours"));
        // The bar moves within a document too: a hundredth of a document a step.
        ProgressBar1->setMaximum(std::max(m_total, 1) * 100);
        ProgressBar1->setValue(m_done * 100 + int(m_fraction * 100));
    }
    if (showing || m_lastEvents < 0 || !itemBegins || elapsed - m_lastEvents >= EventsEveryMs) {
        m_lastEvents = elapsed;
        // While the window is not shown the user cannot act yet: the windows are only
        // painted. Once it shows, it is modal: only "Annuler" answers.
        QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                                    : QEventLoop::ExcludeUserInputEvents);
        m_sinceEvents.restart();
    }
}

QString PrintProgressWindow::stoppedText() const {
    if (!m_documentLeftUnprinted)
        return QString();
    return QStringLiteral("Impression arrêtée : %1 %2 %3 sur %4")
        .arg(m_done)
        .arg(m_units, m_printed)
        .arg(m_total);
}

void PrintProgressWindow::stop() {
    m_stopped = true;
    Annuler->setEnabled(false);
    Label2->setText(QStringLiteral("Arrêt après le document en cours"));
}

void PrintProgressWindow::reject() {
    stop();
}

void PrintProgressWindow::closeEvent(QCloseEvent* event) {
    // The window goes when the run ends; closing it asks the run to stop.
    stop();
    event->ignore();
}

PrintOutcome printWithProgress(QWidget* window, const QString& units, const QString& printed,
                               const std::function<PrintOutcome(PrintProgress&)>& job,
                               TellPrinted tell,
                               const std::function<void(const QString&)>& status) {
    PrintOutcome outcome;
    QString stoppedText;
    try {
        PrintProgressWindow progress(window, units, printed);
        outcome = job(progress);
        if (progress.stopped() && !outcome.failed()) {
            outcome.status = PrintOutcome::Status::Stopped;
            stoppedText = progress.stoppedText();
        }
    } catch (const Error& e) {
        // A file that cannot be read: its message, and nothing printed.
        dialogs().inform(e.message(), window->windowTitle(), MsgIcon::Critical);
        return PrintOutcome::failure(e.message());
    }
    if (tell == TellPrinted::StatusWhenDone && status &&
        outcome.status == PrintOutcome::Status::Done) {
        if (!outcome.message.isEmpty())
            status(outcome.message);
    } else {
        tellWherePrinted(outcome, window->windowTitle(), stoppedText);
    }
    return outcome;
}

} // namespace vt
