#include "splash_window.h"

#include "depart_window.h"
#include "plein_window.h"
#include "program.h"
#include "societe_window.h"
#include "startup.h"

#include "common/errors.h"
#include "common/session.h"
#include "platform/dialogs.h"
#include "platform/window_keys.h"
#include "platform/window_registry.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

using namespace vt;

namespace vt {

QString splashVersionText() {
    return QStringLiteral("Version GPS ") + programVersion();
}

bool startVorel(const QString& startDir) {
    // One Vorel at a time on a data folder: a second one says who holds it and ends
    // before it reads or writes anything there.
    if (const QString refusal = holdDataFolder(startDir); !refusal.isEmpty()) {
        dialogs().inform(refusal, ProductName, MsgIcon::Critical);
        return false;
    }
    session().StartDir = startDir;
    frmSplash& splash = windows().window<frmSplash>();
    switch (splash.road()) {
    case frmSplash::Road::Club:
        windows().show<frmSplash>();
        return true;
    case frmSplash::Road::FirstRun:
        windows().show<societe>();
        windows().unload<plein>();
        windows().unload<frmSplash>();
        return true;
    case frmSplash::Road::Failed:
        break;
    }
    const QString message = splash.failure();
    windows().unloadAll();
    dialogs().inform(message, ProductName, MsgIcon::Critical);
    return false;
}

} // namespace vt

frmSplash::frmSplash() {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(ProductName);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(vorelLogo());
    m_image1->setAlignment(Qt::AlignCenter);
    m_image1->setCursor(Qt::PointingHandCursor);
    m_lblClubName = new QLabel(this);
    m_lblClubName->setObjectName(QStringLiteral("lblClubName"));
    m_lblClubName->setAlignment(Qt::AlignCenter);
    QFont big = m_lblClubName->font();
    big.setPointSize(16);
    big.setBold(true);
    m_lblClubName->setFont(big);
    m_lblVersion = new QLabel(splashVersionText(), this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblVersion->setAlignment(Qt::AlignCenter);
    m_label1 = new QLabel(QStringLiteral("SUITE"), this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setAlignment(Qt::AlignCenter);
    m_label1->setFont(big);
    m_label1->setCursor(Qt::PointingHandCursor);
    m_label1->setStyleSheet(QStringLiteral("color: #1f4e8c; border: 2px solid #1f4e8c; padding: 6px;"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_image1);
    layout->addWidget(m_lblClubName);
    layout->addWidget(m_lblVersion);
    layout->addWidget(m_label1, 0, Qt::AlignHCenter);
    setStyleSheet(QStringLiteral("frmSplash { background: white; border: 2px solid #1f4e8c; }"));
    setAttribute(Qt::WA_StyledBackground);
    resize(460, 320);

    onClick(m_image1, [this] { suite(); });
    onClick(m_label1, [this] { suite(); });
    // From the keyboard: Tab reaches "SUITE", Enter or Space presses it; Esc goes on too,
    // since the start-up window has nothing else to leave to.
    pressWithKeys(m_label1, [this] { suite(); });
    pressOnEscape(this, [this] { suite(); });

    // The start-up road.
    windows().show<plein>();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.width() > width() ? (r.width() - width()) / 2 : x(),
             r.height() > height() ? (r.height() - height()) / 2 : y());
    }
    try {
        m_road = startUp(session(), session().StartDir) ? Road::Club : Road::FirstRun;
        m_lblClubName->setText(session().ClubNames.value(1));
    } catch (const Error& e) {
        m_road = Road::Failed;
        m_failure = e.message();
    }
}

void frmSplash::suite() {
    windows().show<depart>();
    windows().unload(this);
    windows().unload<plein>();
}
