#pragma once
// Dialogs for tests: answers come from a script in order; every question is recorded.
// A question that the script does not expect fails the test (throws UnexpectedDialog,
// and is recorded so the test can show it).
#include "dialogs.h"

#include <QList>
#include <stdexcept>
#include <variant>

namespace vt {

class UnexpectedDialog : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct AskedQuestion {
    enum Kind { Message, Input, Folder, PrinterSetup } kind = Message;
    MessageRequest message; // for Message
    InputRequest input;     // for Input (prompt, title, default)
    QString folderTitle;    // for Folder
    QString folderStart;    // for Folder: the folder it opened on
};

class ScriptedDialogs : public Dialogs {
public:
    // Each expectation answers the next question of its kind, in order.
    ScriptedDialogs& answer(MsgAnswer a);           // next message box
    ScriptedDialogs& answerInput(const QString& s); // next input box
    ScriptedDialogs& answerFolder(const QString& folder);
    ScriptedDialogs& answerPrinterSetup(bool ok);

    MsgAnswer message(const MessageRequest& request) override;
    QString input(const InputRequest& request) override;
    QString chooseFolder(const QString& title, const QString& startFolder) override;
    bool printerSetup() override;

    const QList<AskedQuestion>& asked() const { return m_asked; }
    // Answers left unused (a test usually expects none).
    int pendingAnswers() const;
    // Messages only, for quick checks.
    QList<MessageRequest> messages() const;

private:
    struct Scripted {
        AskedQuestion::Kind kind;
        MsgAnswer msg = MsgAnswer::Ok;
        QString text;
        bool ok = true;
    };
    Scripted take(AskedQuestion::Kind kind, const QString& what);
    QList<Scripted> m_script;
    QList<AskedQuestion> m_asked;
};

// Installs a ScriptedDialogs for the scope of a test and restores the previous one.
class ScriptedDialogsScope {
public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ScriptedDialogs& operator*() { return *m_dialogs; }
    ScriptedDialogs* operator->() { return m_dialogs; }

private:
    ScriptedDialogs* m_dialogs;
    std::unique_ptr<Dialogs> m_previous;
};

} // namespace vt
