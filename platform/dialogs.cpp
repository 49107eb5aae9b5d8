#include "platform/dialogs.h"

#include "platform/scripted_dialogs.h"

namespace vt {

namespace {

// What dialogs() gives before a program or a test installs its own: every question
// fails loudly, so that a test that forgot its script cannot pass by accident.
class UninstalledDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest& request) override {
        fail(QStringLiteral("message \"%1\" (%2)").arg(request.text, request.title));
    }
    QString input(const InputRequest& request) override {
        fail(QStringLiteral("input \"%1\" (%2)").arg(request.prompt, request.title));
    }
    QString chooseFolder(const QString& title, const QString&) override {
        fail(QStringLiteral("folder chooser \"%1\"").arg(title));
    }
    bool printerSetup() override { fail(QStringLiteral("printer set-up")); }

private:
    [[noreturn]] static void fail(const QString& what) {
        throw UnexpectedDialog(
            QStringLiteral("No dialogs installed; asked: %1").arg(what).toStdString());
    }
};

std::unique_ptr<Dialogs>& current() {
    static std::unique_ptr<Dialogs> d = std::make_unique<UninstalledDialogs>();
    return d;
}

} // namespace

void Dialogs::inform(const QString& text, const QString& title, MsgIcon icon) {
    MessageRequest r;
    r.text = text;
    r.title = title;
    r.buttons = MsgButtons::Ok;
    r.icon = icon;
    r.defaultButton = MsgAnswer::Ok;
    message(r);
}

bool Dialogs::askYesNo(const QString& text, const QString& title, MsgAnswer defaultButton,
                       MsgIcon icon) {
    MessageRequest r;
    r.text = text;
    r.title = title;
    r.buttons = MsgButtons::YesNo;
    r.icon = icon;
    r.defaultButton = defaultButton;
    return message(r) == MsgAnswer::Yes;
}

bool Dialogs::askToSave(const QString& text, const QString& title,
                        const std::function<bool()>& save) {
    MessageRequest r;
    r.text = text;
    r.title = title;
    r.buttons = MsgButtons::YesNoCancel;
    r.icon = MsgIcon::Question;
    r.defaultButton = MsgAnswer::Yes;
    switch (message(r)) {
    case MsgAnswer::Yes:
        return save();
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

Dialogs& dialogs() { return *current(); }

std::unique_ptr<Dialogs> setDialogs(std::unique_ptr<Dialogs> d) {
    if (!d)
        d = std::make_unique<UninstalledDialogs>();
    std::swap(d, current());
    return d;
}

} // namespace vt
