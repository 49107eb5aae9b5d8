#pragma once
// The address editor "ADRESSE": one fancier's identity and loft coordinates, written into
// both fanciers files at the record number it was opened on.
#include "fancier_editor.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class adresse : public QWidget {
    Q_OBJECT
public:
    // Opens the fancier of Session::CurrentFancierNo, or a new fancier below 1, whose
    // club is then Session::UrgentMail (the club chosen in the fanciers list).
    adresse();

    int recordNo() const { return m_edited.recordNo; }
    // True when the record could not be opened (the message was shown).
    bool loadFailed() const { return m_loadFailed; }
    // Any box changed since the load.
    bool isModified() const;
    // Before the editor is loaded with another fancier: asks whether to save changes.
    // False when the save was refused or failed (the editor then stays as it is).
    bool offerToSave();

    // "ENREGISTRER": true when the fancier was written (or deleted) and the list updated.
    bool save();

    QLineEdit* box(FancierBox b) const { return m_boxes[static_cast<int>(b)]; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    FancierForm currentForm() const;
    void moveTo(FancierBox b);
    bool boxTextAccepted(FancierBox b);
    bool coordinateAccepted(FancierBox b);
    bool longitudeEnter(FancierBox self, FancierBox other);
    void Commande1_Click();
    void Commande3_Click();

    EditedFancier m_edited;
    bool m_loadFailed = false;
    QLineEdit* m_boxes[FancierBoxCount] = {};
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Etiquette1 = nullptr;
    QLabel* Etiquette9 = nullptr;
    QPushButton* Commande1 = nullptr;
    QPushButton* Commande3 = nullptr;
};

} // namespace vt
