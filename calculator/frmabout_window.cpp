#include "frmabout_window.h"

#include "frmsplash_window.h"
#include "plein_window.h"
#include "tarvio_texts.h"

#include "platform/dialogs.h"
#include "platform/system_info.h"
#include "platform/window_registry.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt::tarvio {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setWordWrap(true);
    return l;
}

} // namespace

frmAbout::frmAbout() {
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);

    // The logo is the start-up window's: taking it loads that window, whose load shows
    // it and the background for a moment; both are closed again at once.
    const QPixmap logo = windows().window<frmSplash>().logo();
    windows().unload<frmSplash>();
    windows().unload<plein>();

    setWindowTitle(aboutCaption());
    auto* root = new QHBoxLayout(this);
    QLabel* image = label(this, QStringLiteral("Image1"), QString());
    image->setPixmap(logo);
    root->addWidget(image, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    QLabel* title = label(this, QStringLiteral("lblTitle"), aboutTitle());
    QFont big = title->font();
    big.setPointSize(16);
    big.setBold(true);
    title->setFont(big);
    column->addWidget(title);
    column->addWidget(label(this, QStringLiteral("lblVersion"), aboutVersionText()));
    column->addWidget(label(this, QStringLiteral("lblDescription"), fileDescription()));
    column->addWidget(label(this, QStringLiteral("lblDisclaimer"), aboutDisclaimerText()));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    auto* sysInfo = new QPushButton(QStringLiteral("&Infos système..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    connect(sysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    buttons->addWidget(ok);
    buttons->addWidget(sysInfo);
    column->addLayout(buttons);
    root->addLayout(column);
    resize(480, 240);
}

void frmAbout::cmdOK_Click() {
    windows().unload<frmAbout>();
}

void frmAbout::reject() { cmdOK_Click(); }

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo(dialogs());
}

} // namespace vt::tarvio
