#pragma once
// Questions asked of the user. Rules ask through this interface: the Qt version shows
// French message and input boxes; the scripted version answers tests and records
// every question so that a test checks the exact text, icon and default button.
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace vt {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageRequest {
    QString text;
    QString title;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    MsgAnswer defaultButton = MsgAnswer::Ok; // for Yes/No questions: Yes or No
};

struct InputRequest {
    QString prompt;
    QString title;
    QString defaultAnswer;
    // The most characters the answer may have (0: no limit), for an answer stored in a
    // fixed-width field.
    int maxLength = 0;
    // The refusal of a paste longer than maxLength (empty: the boxes' own, which gives the
    // width), for an answer whose refusal the caller words itself.
    QString tooLongMessage = QString();
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer message(const MessageRequest& request) = 0;
    // Cancel gives an empty answer, as the program expects.
    virtual QString input(const InputRequest& request) = 0;
    // A folder chosen by the user, or an empty text when he gives up.
    virtual QString chooseFolder(const QString& title, const QString& startFolder) = 0;
    // The printer set-up dialog; false when the user gives up.
    virtual bool printerSetup() = 0;

    // Shortcuts for the common shapes.
    void inform(const QString& text, const QString& title = QString(),
                MsgIcon icon = MsgIcon::Information);
    // A Yes/No question; true for Yes.
    bool askYesNo(const QString& text, const QString& title, MsgAnswer defaultButton,
                  MsgIcon icon = MsgIcon::Question);
    // The question before typed work would be lost (Oui, Non, Annuler; default Oui): Oui
    // runs `save` and gives its result, Non gives true (the work is dropped), Annuler
    // gives false (the work is kept and what was under way stops).
    bool askToSave(const QString& text, const QString& title, const std::function<bool()>& save);
};

// The program's one Dialogs (the Qt one in the programs, a scripted one in tests).
Dialogs& dialogs();
// Replaces it; returns the previous one.
std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> d);

} // namespace vt
