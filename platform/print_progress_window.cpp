#include "platform/print_progress_window.h"

#include "platform/clock.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

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
    if (!m_start.isValid())
        m_start = now();
    m_done = done;
    m_total = total;
    if (m_stopped) {
        m_cut = true;
        return false;
    }
    const qint64 elapsed = m_start.msecsTo(now());
    const bool showing = !isVisible() && elapsed >= ShowAfterMs;
    if (showing)
        show();
    if (isVisible()) {
        Label1->setText(QStringLiteral("%1 %2 sur %3").arg(done).arg(m_units).arg(total));
        Label2->setText(QStringLiteral("En cours : %1").arg(what));
        ProgressBar1->setMaximum(std::max(total, 1));
        ProgressBar1->setValue(done);
    }
    if (showing || m_lastEvents < 0 || elapsed - m_lastEvents >= EventsEveryMs) {
        m_lastEvents = elapsed;
        // While the window is not shown the user cannot act yet: the windows are only
        // painted. Once it shows, it is modal: only "Annuler" answers.
        QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents
                                                    : QEventLoop::ExcludeUserInputEvents);
    }
    m_cut = m_stopped;
    return !m_stopped;
}

QString PrintProgressWindow::stoppedText() const {
    if (!m_cut)
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

} // namespace vt
