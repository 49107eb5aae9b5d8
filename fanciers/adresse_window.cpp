#include "adresse_window.h"

#include "gnoms_window.h"


#include "common/errors.h"
#include "common/damage.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/box_keys.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace vt {

namespace {

struct BoxSpec {
    FancierBox box;
    const char* name;
    const char* labelName;
    const char* caption;
    int width; // 0 for a coordinate
};

// In the order Enter walks through them.
const BoxSpec boxSpecs[FancierBoxCount] = {
    {FancierBox::Name, "Text1", "Label1", "  NOM et Prénom ", 23},
    {FancierBox::Address, "Texte2", "Etiquette2", " ADRESSE ", 30},
    {FancierBox::Complement, "Texte3", "Etiquette3", " COMPLEMENT d'ADRESSE ", 20},
    {FancierBox::Town, "Texte4", "Etiquette4", " VILLE ", 28},
    {FancierBox::PostCode, "Texte5", "Etiquette7", " CODE POSTAL ", 7},
    {FancierBox::Telephone, "Texte6", "Etiquette8", " TELEPHONE ", 17},
    {FancierBox::Latitude, "Text3", "Etiquette6", " LATITUDE ", 0},
    {FancierBox::East, "Text4", "Label6", " LONGITUDE EST ", 0},
    {FancierBox::West, "Text5", "Label7", " LONGITUDE OUEST ", 0},
    {FancierBox::Licence, "Texte1", "Etiquette10", "  NUMERO de LICENCE ", 7},
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

adresse::adresse() {
    setObjectName(QStringLiteral("adresse"));
    setWindowTitle(QStringLiteral("ADRESSE"));
    setWindowFlag(Qt::Window);

    auto* grid = new QGridLayout(this);
    Etiquette1 = makeLabel(this, QStringLiteral("Etiquette1"),
                           QStringLiteral(" VEUILLEZ ENTRER TOUTES LES DONNEES "));
    Etiquette9 = makeLabel(this, QStringLiteral("Etiquette9"), QString());
    grid->addWidget(Etiquette1, 0, 0, 1, 2);
    grid->addWidget(Etiquette9, 1, 0, 1, 2);
    int row = 2;
    for (const BoxSpec& spec : boxSpecs) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(spec.name));
        if (spec.width > 0) {
            edit->setMaxLength(spec.width);
            // Wide enough to read a full field in capitals without scrolling it.
            edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(spec.width, u'N')) +
                                  16);
        }
        m_boxes[static_cast<int>(spec.box)] = edit;
        grid->addWidget(makeLabel(this, QString::fromLatin1(spec.labelName),
                                  QString::fromUtf8(spec.caption)),
                        row, 0);
        grid->addWidget(edit, row, 1);
        ++row;
    }
    Label3 = makeLabel(this, QStringLiteral("Label3"), QString());
    Label4 = makeLabel(this, QStringLiteral("Label4"), QString());
    grid->addWidget(Label3, row, 0);
    grid->addWidget(Label4, row, 1);
    ++row;
    Commande1 = new QPushButton(QStringLiteral("ENREGISTRER"), this);
    Commande1->setObjectName(QStringLiteral("Commande1"));
    Commande3 = new QPushButton(QStringLiteral("QUITTER"), this);
    Commande3->setObjectName(QStringLiteral("Commande3"));
    grid->addWidget(Commande1, row, 0);
    grid->addWidget(Commande3, row, 1);
    connect(Commande1, &QPushButton::clicked, this, &adresse::Commande1_Click);
    connect(Commande3, &QPushButton::clicked, this, &adresse::Commande3_Click);

    // Enter moves on through the boxes; a text that cannot be stored keeps the focus.
    for (int i = 0; i < FancierBoxCount; ++i) {
        const FancierBox b = boxSpecs[i].box;
        QLineEdit* edit = box(b);
        switch (b) {
        case FancierBox::Name:
            installBoxKeys(edit, box(FancierBox::Address), [this] {
                if (!boxTextAccepted(FancierBox::Name))
                    return false;
                Etiquette9->setText(QStringLiteral("de ") + box(FancierBox::Name)->text());
                return true;
            });
            break;
        case FancierBox::Latitude:
            installBoxKeys(edit, box(FancierBox::East),
                           [this] { return coordinateAccepted(FancierBox::Latitude); });
            break;
        case FancierBox::East:
            installBoxKeys(edit, nullptr,
                           [this] { return longitudeEnter(FancierBox::East, FancierBox::West); });
            break;
        case FancierBox::West:
            installBoxKeys(edit, nullptr,
                           [this] { return longitudeEnter(FancierBox::West, FancierBox::East); });
            break;
        case FancierBox::Licence:
            installBoxKeys(edit, Commande1, [this] { return boxTextAccepted(FancierBox::Licence); });
            break;
        default:
            installBoxKeys(edit, box(boxSpecs[i + 1].box), [this, b] { return boxTextAccepted(b); });
            break;
        }
    }

    markSeasonWindow(this); // a year change closes the editor as "QUITTER" does
    try {
        const Session& s = session();
        // A season file cut in the middle of a record is named before a new fancier's
        // record is written over its cut end.
        DamageNotice damage(dialogs());
        checkWholeRecords(RecordFileOf<FancierRecord>(s.FancierFilePath));
        damage.tell();
        m_edited = openFancier(s.CurrentFancierNo, s.UrgentMail);
    } catch (const Error& e) {
        m_loadFailed = true;
        dialogs().inform(e.message(), windowTitle(), MsgIcon::Critical);
        return;
    }
    Etiquette9->setText(QStringLiteral("de ") + m_edited.nameAtLoad);
    Label3->setText(m_edited.clubName);
    Label4->setText(QString::number(m_edited.clubNo));
    for (int i = 0; i < FancierBoxCount; ++i)
        m_boxes[i]->setText(m_edited.form.text[i]);
    box(FancierBox::Name)->setFocus();
    box(FancierBox::Name)->selectAll();
}

FancierForm adresse::currentForm() const {
    FancierForm f;
    for (int i = 0; i < FancierBoxCount; ++i)
        f.text[i] = m_boxes[i]->text();
    return f;
}

bool adresse::isModified() const { return !m_loadFailed && !(currentForm() == m_edited.form); }

void adresse::moveTo(FancierBox b) {
    box(b)->setFocus();
    box(b)->selectAll();
}

bool adresse::boxTextAccepted(FancierBox b) {
    const QString bad = firstNonCp1252(box(b)->text());
    if (bad.isEmpty())
        return true;
    dialogs().inform(QStringLiteral("La zone %1 contient le caractère « %2 », qui ne peut pas "
                                    "être enregistré.")
                         .arg(fancierBoxCaption(b), bad),
                     windowTitle(), MsgIcon::Exclamation);
    return false;
}

bool adresse::coordinateAccepted(FancierBox b) {
    const QString refusal = fancierCoordinateRefusal(b, box(b)->text());
    if (refusal.isEmpty())
        return true;
    dialogs().inform(refusal, windowTitle(), MsgIcon::Exclamation);
    return false;
}

// A loft keeps one longitude: a value typed in one box empties the other and the focus
// goes to the licence; with none, Enter goes to the other longitude box.
bool adresse::longitudeEnter(FancierBox self, FancierBox other) {
    // A value the save would refuse keeps the focus before it empties the other box.
    if (!coordinateAccepted(self))
        return false;
    if (parseTyped(box(self)->text()).value == 0) {
        moveTo(other);
    } else {
        box(other)->clear();
        moveTo(FancierBox::Licence);
    }
    return true;
}

bool adresse::offerToSave() {
    if (!isModified())
        return true;
    const bool yes = dialogs().askYesNo(
        QStringLiteral("Les données de %1 ont été modifiées. Les enregistrer ?")
            .arg(m_edited.nameAtLoad),
        windowTitle(), MsgAnswer::Yes);
    return !yes || save();
}

bool adresse::save() {
    if (m_loadFailed)
        return false;
    const FancierSave out = saveFancier(m_edited, currentForm(), dialogs());
    switch (out.outcome) {
    case FancierSave::Refused:
        moveTo(out.focus);
        return false;
    case FancierSave::Failed:
        return false;
    case FancierSave::Saved:
        putFancierListLine(out.listLine);
        break;
    case FancierSave::Deleted:
        removeFancierListLine(m_edited.recordNo);
        break;
    }
    // Saved: the boxes now hold what the files hold.
    m_edited.form = currentForm();
    return true;
}

void adresse::Commande1_Click() {
    if (save())
        close();
}

void adresse::Commande3_Click() { close(); }

void adresse::hideEvent(QHideEvent* event) {
    // Unloading hides the editor before deleting it later: from now on the record claimed
    // for a new fancier may be claimed again.
    if (!event->spontaneous())
        m_edited.claim.release();
    QWidget::hideEvent(event);
}

void adresse::closeEvent(QCloseEvent* event) {
    // Leaving without saving, as "QUITTER" does; the window is unloaded once its own
    // handlers have returned.
    event->accept();
    QPointer<adresse> self(this);
    QTimer::singleShot(0, [self] {
        if (self)
            windows().unload(self.data());
    });
}

} // namespace vt
