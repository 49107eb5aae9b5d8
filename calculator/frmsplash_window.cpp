#include "frmsplash_window.h"

#include "depart_window.h"
#include "plein_window.h"
#include "tarvio_texts.h"

#include "platform/window_keys.h"
#include "platform/window_registry.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace vt::tarvio {

QPixmap tarvioLogo() {
    // A setting sun on the horizon, the moment the neutralisation begins.
    QPixmap pixmap(96, 96);
    pixmap.fill(QColor(20, 40, 90));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 170, 60));
    p.drawEllipse(QPointF(48, 60), 26, 26);
    p.fillRect(0, 60, 96, 36, QColor(30, 70, 40));
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(10, 60, 86, 60);
    return pixmap;
}

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

frmSplash::frmSplash() {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowTitle(programTitle());
    QFont arial(QStringLiteral("Arial"));
    setFont(arial);

    // 1. Where the general release-site file lies.
    recordGeneralSitesPath();

    auto* root = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::Box);
    root->addWidget(frame);
    auto* inner = new QVBoxLayout(frame);
    auto* top = new QHBoxLayout;
    m_image1 = label(frame, QStringLiteral("Image1"));
    m_image1->setPixmap(tarvioLogo().scaled(160, 160));
    m_image1->setCursor(Qt::PointingHandCursor);
    m_image1->installEventFilter(this);
    m_imgLogo = label(frame, QStringLiteral("imgLogo"));
    m_imgLogo->setPixmap(tarvioLogo());
    top->addWidget(m_image1);
    auto* texts = new QVBoxLayout;
    texts->addWidget(label(frame, QStringLiteral("lblCompanyProduct"),
                           QStringLiteral("Logiciel de gestion des")));
    QLabel* product = label(frame, QStringLiteral("lblProductName"));
    QFont big = arial;
    big.setPointSize(28);
    big.setBold(true);
    product->setFont(big);
    texts->addWidget(product);
    texts->addWidget(label(frame, QStringLiteral("lblPlatform"), QStringLiteral("Plate-forme")));
    QLabel* version = label(frame, QStringLiteral("lblVersion"));
    texts->addWidget(version);
    texts->addStretch();
    top->addLayout(texts);
    top->addWidget(m_imgLogo, 0, Qt::AlignTop);
    inner->addLayout(top);
    QLabel* warning = label(frame, QStringLiteral("lblWarning"));
    warning->setWordWrap(true);
    inner->addWidget(warning);
    QLabel* company = label(frame, QStringLiteral("lblCompany"));
    inner->addWidget(company);
    m_label1 = label(frame, QStringLiteral("Label1"), QStringLiteral("SUITE"));
    QFont suite = arial;
    suite.setPointSize(14);
    suite.setBold(true);
    m_label1->setFont(suite);
    m_label1->setCursor(Qt::PointingHandCursor);
    m_label1->installEventFilter(this);
    inner->addWidget(m_label1, 0, Qt::AlignRight);
    // From the keyboard: Tab reaches "SUITE", Enter or Space presses it; Esc goes on too,
    // since the start-up window has nothing else to leave to.
    pressWithKeys(m_label1, [this] { openMainWindow(); });
    pressOnEscape(this, [this] { openMainWindow(); });
    resize(560, 320);

    // 2. Centred on the screen, with the background behind.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        QRect g = geometry();
        if (s.height() > g.height())
            g.moveTop((s.height() - g.height()) / 2);
        if (s.width() > g.width())
            g.moveLeft((s.width() - g.width()) / 2);
        setGeometry(g);
    }
    windows().show<plein>();

    version->setText(splashVersionText());
    product->setText(programTitle());
    warning->setText(splashWarningText());
    // Shown after the background, and asked to be the active window: a window manager
    // puts a new window that does not take the focus under the one that has it, which
    // would leave the user with nothing but the background and its clock.
    show();
    raise();
    activateWindow();
    company->setText(companyName());
}

QPixmap frmSplash::logo() const { return m_imgLogo->pixmap(); }

bool frmSplash::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_image1 || watched == m_label1) &&
        event->type() == QEvent::MouseButtonRelease) {
        openMainWindow();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSplash::openMainWindow() {
    windows().show<depart>();
    windows().unload<frmSplash>();
    windows().unload<plein>();
}

} // namespace vt::tarvio
