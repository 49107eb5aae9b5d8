#pragma once
// The Dialogs that users see: French message and input boxes, the folder chooser and
// the printer set-up, over Qt Widgets.
#include "platform/dialogs.h"

class QWidget;

namespace vt {

class QtDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest& request) override;
    QString input(const InputRequest& request) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    bool printerSetup() override;
};

// True when no other window of the program is shown beside box.
bool isProgramsFirstWindow(const QWidget* box);
// Raises and activates box once it is shown, when it is the program's only window.
void comeForwardWhenFirst(QWidget* box);

// Loads Qt's French translations (buttons read "Oui", "Non", "Annuler") into the running
// application; true when they were found. Safe to call more than once.
bool installFrenchTranslations();
// What a program's main calls once its QApplication exists: the French translations and
// locale, and QtDialogs as dialogs().
void installQtDialogs();

} // namespace vt
