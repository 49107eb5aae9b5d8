#include "platform/scripted_dialogs.h"

namespace vt {

namespace {
const char* kindName(AskedQuestion::Kind k) {
    switch (k) {
    case AskedQuestion::Message: return "message box";
    case AskedQuestion::Input: return "input box";
    case AskedQuestion::Folder: return "folder chooser";
    case AskedQuestion::PrinterSetup: return "printer set-up";
    }
    return "dialog";
}
} // namespace

ScriptedDialogs& ScriptedDialogs::answer(MsgAnswer a) {
    m_script.append({AskedQuestion::Message, a, QString(), true});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerInput(const QString& s) {
    m_script.append({AskedQuestion::Input, MsgAnswer::Ok, s, true});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerFolder(const QString& folder) {
    m_script.append({AskedQuestion::Folder, MsgAnswer::Ok, folder, true});
    return *this;
}

ScriptedDialogs& ScriptedDialogs::answerPrinterSetup(bool ok) {
    m_script.append({AskedQuestion::PrinterSetup, MsgAnswer::Ok, QString(), ok});
    return *this;
}

ScriptedDialogs::Scripted ScriptedDialogs::take(AskedQuestion::Kind kind, const QString& what) {
    for (qsizetype i = 0; i < m_script.size(); ++i) {
        if (m_script[i].kind == kind)
            return m_script.takeAt(i);
    }
    throw UnexpectedDialog(QStringLiteral("Unexpected %1: %2")
                               .arg(QString::fromLatin1(kindName(kind)), what)
                               .toStdString());
}

MsgAnswer ScriptedDialogs::message(const MessageRequest& request) {
    AskedQuestion q;
    q.kind = AskedQuestion::Message;
    q.message = request;
    m_asked.append(q);
    const Scripted s = take(AskedQuestion::Message,
                            QStringLiteral("\"%1\" (title \"%2\")").arg(request.text, request.title));
    return s.msg;
}

QString ScriptedDialogs::input(const InputRequest& request) {
    AskedQuestion q;
    q.kind = AskedQuestion::Input;
    q.input = request;
    m_asked.append(q);
    return take(AskedQuestion::Input,
                QStringLiteral("\"%1\" (title \"%2\")").arg(request.prompt, request.title))
        .text;
}

QString ScriptedDialogs::chooseFolder(const QString& title, const QString& startFolder) {
    AskedQuestion q;
    q.kind = AskedQuestion::Folder;
    q.folderTitle = title;
    q.folderStart = startFolder;
    m_asked.append(q);
    return take(AskedQuestion::Folder, QStringLiteral("\"%1\"").arg(title)).text;
}

bool ScriptedDialogs::printerSetup() {
    AskedQuestion q;
    q.kind = AskedQuestion::PrinterSetup;
    m_asked.append(q);
    return take(AskedQuestion::PrinterSetup, QString()).ok;
}

int ScriptedDialogs::pendingAnswers() const { return int(m_script.size()); }

QList<MessageRequest> ScriptedDialogs::messages() const {
    QList<MessageRequest> out;
    for (const auto& q : m_asked) {
        if (q.kind == AskedQuestion::Message)
            out.append(q.message);
    }
    return out;
}

ScriptedDialogsScope::ScriptedDialogsScope() {
    auto d = std::make_unique<ScriptedDialogs>();
    m_dialogs = d.get();
    m_previous = setDialogs(std::move(d));
}

ScriptedDialogsScope::~ScriptedDialogsScope() { setDialogs(std::move(m_previous)); }

} // namespace vt
