#include "societe_window.h"

#include "club.h"
#include "depart_window.h"
#include "program.h"

#include "common/errors.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/box_keys.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/window_registry.h"

#include <QAction>
#include <QCloseEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

using namespace vt;

namespace {

const QString FormCaption = QStringLiteral("gestion des sociétés");

QFont boxFont(double points) {
    QFont f;
    f.setPointSizeF(points);
    f.setBold(true);
    return f;
}

} // namespace

societe::societe() {
    setObjectName(QStringLiteral("societe"));
    setWindowTitle(FormCaption);
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    layout->addWidget(
        warning("Label3", QStringLiteral(" Vous ne pouvez pas utiliser le logiciel sans le NOM de la société")));
    m_txt1 = box("txt1", QStringLiteral(
                             "NOM DE LA SOCIETE (POUR OTER UNE SOCIETE EFFACEZ TOUS LES CARACTERES)"));
    layout->addWidget(m_txt1);
    layout->addWidget(warning("Label1", QStringLiteral("CODE SOCIETE OBLIGATOIRE")));
    m_Txt2 = box("Txt2", QStringLiteral("Numéro de la SOCIETE"));
    layout->addWidget(m_Txt2);
    layout->addWidget(warning("Label2", QStringLiteral("Numéro du groupement")));
    m_Text1 = box("Text1", QStringLiteral("Numéro du groupement"));
    m_Text1->setMaximumWidth(100);
    layout->addWidget(m_Text1, 0, Qt::AlignHCenter);

    auto* rows = new QFormLayout;
    rows->setLabelAlignment(Qt::AlignRight);
    m_Text2 = box("Text2");
    m_Text3 = box("Text3");
    m_Text4 = box("Text4");
    m_Text5 = box("Text5");
    m_Text5->setMaximumWidth(100);
    m_Text6 = box("Text6");
    rows->addRow(caption("Label4", QStringLiteral("Nom du correspondant")), m_Text2);
    rows->addRow(caption("Label5", QStringLiteral("Adresse")), m_Text3);
    rows->addRow(caption("Label6", QStringLiteral("Complément d'adresse")), m_Text4);
    rows->addRow(caption("Label7", QStringLiteral("Code postal")), m_Text5);
    rows->addRow(caption("Label8", QStringLiteral("Localité")), m_Text6);
    layout->addLayout(rows);
    layout->addStretch(1);
    // Each text box takes at most the width of its field in the club file.
    for (const auto& [b, width] : {std::pair{m_txt1, 23},
                                   {m_Txt2, 5},
                                   {m_Text2, 25},
                                   {m_Text3, 25},
                                   {m_Text4, 25},
                                   {m_Text5, 5},
                                   {m_Text6, 30}})
        b->setMaxLength(width);

    m_quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    m_quitte->setObjectName(QStringLiteral("quitte"));
    connect(m_quitte, &QAction::triggered, this, [this] { leave(); });
    m_aide = menuBar()->addAction(QStringLiteral("?"));
    m_aide->setObjectName(QStringLiteral("aide"));
    connect(m_aide, &QAction::triggered, this, [] { showHelp(3); });

    // The Enter ring: name, code, group number, then the address from top to bottom.
    const QList<QLineEdit*> ring = {m_txt1,  m_Txt2,  m_Text1, m_Text2,
                                    m_Text3, m_Text4, m_Text5, m_Text6};
    for (int i = 0; i < ring.size(); ++i) {
        QLineEdit* next = ring[(i + 1) % ring.size()];
        QLineEdit* self = ring[i];
        installBoxKeys(self, next, [this, self] {
            m_modified = true;
            return self != m_Text1 || groupNumberAccepted();
        });
        setTabOrder(self, next);
    }

    // Load: record 1 of the club file (an empty file gives empty boxes).
    try {
        RecordFile(session().ClubFilePath, ClubRecord::Size).create();
        const ClubTexts t = clubTexts(RecordFileOf<ClubRecord>(session().ClubFilePath).read(1));
        m_Text2->setText(t.correspondent);
        m_Text3->setText(t.address);
        m_Text4->setText(t.complement);
        m_Text5->setText(t.postCode);
        m_Text6->setText(t.town);
        m_txt1->setText(t.name);
        m_Txt2->setText(t.code);
        m_Text1->setText(t.groupNumber);
    } catch (const Error& e) {
        dialogs().inform(e.message(), FormCaption, MsgIcon::Critical);
    }
    for (QLineEdit* b : ring)
        connect(b, &QLineEdit::textChanged, this, [this] { m_modified = true; });
    m_txt1->selectAll();
    m_txt1->setFocus();
    resize(680, 460);
}

QLineEdit* societe::box(const char* name, const QString& toolTip) {
    auto* b = new QLineEdit(centralWidget());
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(boxFont(9.75));
    if (!toolTip.isEmpty())
        b->setToolTip(toolTip);
    return b;
}

QLabel* societe::warning(const char* name, const QString& text) {
    auto* l = new QLabel(text, centralWidget());
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(boxFont(12));
    l->setAlignment(Qt::AlignCenter);
    l->setWordWrap(true);
    l->setAutoFillBackground(true);
    l->setStyleSheet(QStringLiteral("color: #FFFFFF; background-color: #FF0000;"));
    return l;
}

QLabel* societe::caption(const char* name, const QString& text) {
    auto* l = new QLabel(text, centralWidget());
    l->setObjectName(QString::fromLatin1(name));
    l->setFont(boxFont(9.75));
    return l;
}

bool societe::groupNumberAccepted() {
    if (groupNumberFromText(m_Text1->text()))
        return true;
    dialogs().inform(groupNumberRefusedMessage(), FormCaption, MsgIcon::Exclamation);
    m_Text1->setFocus();
    m_Text1->selectAll();
    return false;
}

bool societe::leave() {
    if (m_leaving)
        return true;
    if (isBlank(m_txt1->text())) {
        endProgram();
        return true;
    }
    if (isBlank(m_Txt2->text())) {
        dialogs().inform(QStringLiteral("Le code société est obligatoire\r"), FormCaption,
                         MsgIcon::Information);
        m_Txt2->setFocus();
        return false;
    }
    if (!groupNumberAccepted())
        return false;
    ClubTexts t;
    t.name = m_txt1->text();
    t.code = m_Txt2->text();
    t.groupNumber = m_Text1->text();
    t.correspondent = m_Text2->text();
    t.address = m_Text3->text();
    t.complement = m_Text4->text();
    t.postCode = m_Text5->text();
    t.town = m_Text6->text();
    // A character the club file cannot hold is refused before the question, in its box.
    if (const auto refusal = clubTextRefusal(t)) {
        dialogs().inform(refusal->message, FormCaption, MsgIcon::Exclamation);
        QLineEdit* const boxes[] = {m_txt1, m_Txt2, m_Text2, m_Text3, m_Text4, m_Text5, m_Text6};
        QLineEdit* b = boxes[static_cast<int>(refusal->box)];
        b->setFocus();
        b->selectAll();
        return false;
    }
    if (m_modified &&
        dialogs().askYesNo(QStringLiteral("      LA LISTE DES SOCIETES A ETE MODIFIEE\r"
                                          "DESIREZ-VOUS MEMORISER LES MODIFICATIONS "),
                           FormCaption, MsgAnswer::No)) {
        try {
            saveClub(session(), t);
        } catch (const Error& e) {
            dialogs().inform(e.message(), FormCaption, MsgIcon::Critical);
            return false;
        }
    }
    Session& s = session();
    s.ClubCaption = QStringLiteral(" La société de ") + s.ClubNames.value(1);
    depart& main = windows().window<depart>();
    main.memo();
    main.repaint();
    m_leaving = true;
    windows().show<depart>();
    windows().unload(this);
    return true;
}

// The close box does what "Quitter" does.
void societe::closeEvent(QCloseEvent* event) {
    if (m_leaving || leave())
        event->accept();
    else
        event->ignore();
}
