#include "about_window.h"

#include "depart_window.h"
#include "program.h"

#include "common/session.h"
#include "platform/dialogs.h"
#include "platform/system_info.h"
#include "platform/window_keys.h"
#include "platform/window_registry.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace vt;

namespace vt {
QString aboutDisclaimer(const QString& clubCaption) {
    return QStringLiteral(
               "Avertissement : ce logiciel ne peut être utilisé que sous la responsabilité de ") +
           clubCaption;
}
} // namespace vt

namespace {
QFrame* separatorLine(QWidget* parent, const char* name) {
    auto* line = new QFrame(parent);
    line->setObjectName(QString::fromLatin1(name));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
} // namespace

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("À propos de ") + ProductName);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(windows().isLoaded<depart>() ? windows().window<depart>().logo()
                                                     : vorelLogo());
    m_lblTitle = new QLabel(ApplicationTitle, this);
    m_lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = m_lblTitle->font();
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    m_lblTitle->setFont(titleFont);
    m_lblVersion = new QLabel(versionText(), this);
    m_lblVersion->setObjectName(QStringLiteral("lblVersion"));
    m_lblDescription = new QLabel(
        ProgramComments + QStringLiteral("\n\n\n Concepteur : ") + DesignerName, this);
    m_lblDescription->setObjectName(QStringLiteral("lblDescription"));
    m_lblDescription->setWordWrap(true);
    m_lblDisclaimer = new QLabel(aboutDisclaimer(session().ClubCaption), this);
    m_lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    m_lblDisclaimer->setWordWrap(true);
    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdSysInfo = new QPushButton(QStringLiteral("&Infos système..."), this);
    m_cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_image1, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(m_lblTitle, 0, 1);
    grid->addWidget(m_lblVersion, 1, 1);
    grid->addWidget(m_lblDescription, 2, 1);
    grid->addWidget(separatorLine(this, "Line1_0"), 3, 0, 1, 2);
    grid->addWidget(separatorLine(this, "Line1_1"), 4, 0, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_lblDisclaimer, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdSysInfo);
    bottom->addLayout(buttons);
    grid->addLayout(bottom, 5, 0, 1, 2);

    connect(m_cmdOK, &QPushButton::clicked, this, [this] { windows().unload(this); });
    pressOnEscape(this, [this] { m_cmdOK->click(); });
    connect(m_cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    resize(640, 340);
}

void frmAbout::StartSysInfo() { vt::StartSysInfo(dialogs()); }
