#include "plein_window.h"

#include "depart_window.h"
#include "program.h"
#include "splash_window.h"

#include "common/dates.h"
#include "platform/clock.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

using namespace vt;

namespace {
QPixmap background(const QSize& size) {
    QPixmap pm(size.isEmpty() ? QSize(16, 16) : size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, pm.height());
    g.setColorAt(0, QColor(0x9c, 0xc3, 0xe6));
    g.setColorAt(1, QColor(0x1f, 0x4e, 0x8c));
    p.fillRect(pm.rect(), g);
    return pm;
}
} // namespace

plein::plein() {
    setObjectName(QStringLiteral("plein"));
    setWindowTitle(ProductName);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);

    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setScaledContents(true);
    m_image2->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_label2 = new QLabel(QStringLiteral("Vorel : traitement des mises en loge des pigeons"), this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    QFont big = m_label2->font();
    big.setPointSize(20);
    big.setBold(true);
    m_label2->setFont(big);
    m_label2->setStyleSheet(QStringLiteral("color: white;"));
    m_label2->adjustSize();
    m_label2->setAttribute(Qt::WA_TransparentForMouseEvents);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(style()->standardIcon(QStyle::SP_DialogCloseButton).pixmap(32, 32));
    m_image1->setCursor(Qt::PointingHandCursor);
    m_label1 = new QLabel(QStringLiteral("QUITTER"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont bold = m_label1->font();
    bold.setBold(true);
    bold.setPointSize(12);
    m_label1->setFont(bold);
    m_label1->setStyleSheet(QStringLiteral("color: white;"));
    m_label1->setCursor(Qt::PointingHandCursor);
    m_label1->adjustSize();

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("SBStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_statusBar->setStyleSheet(QStringLiteral("background: #e8e8e8;"));
    m_panel = new QLabel(m_statusBar);
    m_panel->setObjectName(QStringLiteral("Panel1"));
    m_statusBar->addWidget(m_panel, 1);

    onClick(m_image1, [] { endProgram(); });
    onClick(m_label1, [] { endProgram(); });

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &plein::tick);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    m_started.start();
    m_panel->setText(clockText(now()));
    m_timer->start();
}

QString plein::clockPanelText() const { return m_panel->text(); }

void plein::tick() {
    if (m_started.elapsed() >= 1000 && splashIsBehind())
        raiseSplash();
    m_panel->setText(clockText(now()));
}

bool plein::splashIsBehind() const {
    // The start-up window comes back in front when the background has the focus or the
    // start-up window is hidden, while Vorel is the program in use. It does not take the
    // screen and the keyboard back from another program every second (a second Vorel's
    // refusal, whatever the user types elsewhere): a program told it lost the focus may
    // still count as in use for a moment, with its start-up window as the active one.
    if (QGuiApplication::applicationState() != Qt::ApplicationActive ||
        !windows().isLoaded<frmSplash>())
        return false;
    return QApplication::activeWindow() == this || !windows().window<frmSplash>().isVisible();
}

void plein::raiseSplash() {
    if (!windows().isLoaded<frmSplash>())
        return;
    frmSplash& splash = windows().window<frmSplash>();
    splash.setVisible(true);
    splash.raise();
    splash.activateWindow();
}

void plein::mousePressEvent(QMouseEvent* event) {
    raiseSplash();
    QWidget::mousePressEvent(event);
}

void plein::resizeEvent(QResizeEvent* event) {
    m_image2->setGeometry(rect());
    m_image2->setPixmap(background(size()));
    m_label2->move((width() - m_label2->width()) / 2, (height() - m_label2->height()) / 2);
    const int barHeight = m_statusBar->sizeHint().height();
    m_statusBar->setGeometry(0, height() - barHeight, width(), barHeight);
    m_label1->move(width() - m_label1->width() - 20, height() - barHeight - m_label1->height() - 14);
    m_image1->move(m_label1->x() - 40, m_label1->y() + (m_label1->height() - 32) / 2);
    QWidget::resizeEvent(event);
}
