#include "plein_window.h"

#include "basedist_window.h"
#include "frmsplash_window.h"
#include "tarvio_texts.h"

#include "common/dates.h"
#include "platform/clock.h"
#include "platform/window_registry.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace vt::tarvio {

namespace {

// Dusk over the loft: a sky from night blue to the glow of the horizon.
QPixmap backgroundPicture(const QSize& size) {
    QPixmap pixmap(size.isEmpty() ? QSize(800, 600) : size);
    QPainter p(&pixmap);
    QLinearGradient sky(0, 0, 0, pixmap.height());
    sky.setColorAt(0, QColor(12, 24, 64));
    sky.setColorAt(0.7, QColor(70, 90, 160));
    sky.setColorAt(1, QColor(240, 160, 80));
    p.fillRect(pixmap.rect(), sky);
    return pixmap;
}

} // namespace

plein::plein() {
    setObjectName(QStringLiteral("plein"));
    setWindowFlags(Qt::FramelessWindowHint);
    setWindowTitle(programTitle());

    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setScaledContents(true);
    m_image2->installEventFilter(this);

    m_label2 = new QLabel(backgroundInformationText(), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setStyleSheet(QStringLiteral("color: white; font-size: 16pt; font-weight: bold;"));
    m_label2->adjustSize();

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_panel1 = new QLabel(m_statusBar);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_statusBar->addWidget(m_panel1, 1);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &plein::Timer1_Timer);
    m_timer1->start();

    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    setGeometry(screen);
    Timer1_Timer();
}

void plein::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int barHeight = m_statusBar->sizeHint().height();
    m_image2->setGeometry(0, 0, width(), height() - barHeight);
    m_image2->setPixmap(backgroundPicture(m_image2->size()));
    m_statusBar->setGeometry(0, height() - barHeight, width(), barHeight);
    m_label2->move((width() - m_label2->width()) / 2, (height() - m_label2->height()) / 2);
}

QString plein::clockPanelText() const { return m_panel1->text(); }

void plein::Timer1_Timer() { m_panel1->setText(clockText(vt::now())); }

bool plein::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_image2 && event->type() == QEvent::MouseButtonRelease) {
        Image2_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void plein::Image2_Click() {
    if (windows().isLoaded<basedist>() && windows().window<basedist>().isVisible())
        windows().show<basedist>();
    else
        windows().show<frmSplash>();
}

} // namespace vt::tarvio
