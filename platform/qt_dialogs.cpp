#include "platform/qt_dialogs.h"

#include "platform/box_keys.h"

#include "platform/printing.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include <algorithm>

namespace vt {

namespace {

QString titleOr(const QString& title) {
    // A box without a title of its own shows the program's name.
    return title.isEmpty() ? QApplication::applicationName() : title;
}

// A box opens over the window whose typed work it asks about, else over the active one.
// The window manager makes a raised window the active one only a moment later.
QWidget* activeParent() {
    if (QWidget* asked = windowBeingAsked(); asked && asked->isVisible())
        return asked;
    return QApplication::activeWindow();
}

} // namespace

bool isProgramsFirstWindow(const QWidget* box) {
    const QWidgetList shown = QApplication::topLevelWidgets();
    return std::none_of(shown.begin(), shown.end(),
                        [box](const QWidget* w) { return w != box && w->isVisible(); });
}

void comeForwardWhenFirst(QWidget* box) {
    // A box shown before any window of its program (the second Vorel's refusal, a start
    // that fails) has no window of its own to open above, and a window manager may leave
    // it under the window that has the focus, another program's: once shown, it asks to
    // be raised and activated. A box over one of the program's windows is left as it is.
    if (!isProgramsFirstWindow(box))
        return;
    QTimer::singleShot(0, box, [box] {
        box->raise();
        box->activateWindow();
    });
}

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    MsgAnswer answer;
};

QList<ButtonSpec> buttonsFor(MsgButtons b) {
    switch (b) {
    case MsgButtons::Ok: return {{QMessageBox::Ok, MsgAnswer::Ok}};
    case MsgButtons::OkCancel:
        return {{QMessageBox::Ok, MsgAnswer::Ok}, {QMessageBox::Cancel, MsgAnswer::Cancel}};
    case MsgButtons::YesNo:
        return {{QMessageBox::Yes, MsgAnswer::Yes}, {QMessageBox::No, MsgAnswer::No}};
    case MsgButtons::YesNoCancel:
        return {{QMessageBox::Yes, MsgAnswer::Yes},
                {QMessageBox::No, MsgAnswer::No},
                {QMessageBox::Cancel, MsgAnswer::Cancel}};
    case MsgButtons::RetryCancel:
        return {{QMessageBox::Retry, MsgAnswer::Retry}, {QMessageBox::Cancel, MsgAnswer::Cancel}};
    }
    return {{QMessageBox::Ok, MsgAnswer::Ok}};
}

QMessageBox::Icon iconFor(MsgIcon i) {
    switch (i) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MsgAnswer QtDialogs::message(const MessageRequest& request) {
    QMessageBox box(activeParent());
    box.setObjectName(QStringLiteral("message"));
    box.setWindowTitle(titleOr(request.title));
    box.setText(request.text);
    box.setIcon(iconFor(request.icon));
    const QList<ButtonSpec> specs = buttonsFor(request.buttons);
    QMessageBox::StandardButtons all;
    for (const auto& s : specs)
        all |= s.button;
    box.setStandardButtons(all);
    QMessageBox::StandardButton defaultButton = specs.first().button;
    for (const auto& s : specs) {
        if (s.answer == request.defaultButton)
            defaultButton = s.button;
    }
    box.setDefaultButton(defaultButton);
    // Esc gives Cancel where there is one, No on a Yes/No question, else the only button.
    QMessageBox::StandardButton escape = specs.last().button;
    for (const auto& s : specs) {
        if (s.answer == MsgAnswer::Cancel)
            escape = s.button;
    }
    box.setEscapeButton(escape);
    comeForwardWhenFirst(&box);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& s : specs) {
        if (s.button == clicked)
            return s.answer;
    }
    for (const auto& s : specs) {
        if (s.button == escape)
            return s.answer;
    }
    return specs.last().answer;
}

QString QtDialogs::input(const InputRequest& request) {
    QInputDialog box(activeParent());
    box.setObjectName(QStringLiteral("saisie"));
    box.setWindowTitle(titleOr(request.title));
    box.setLabelText(request.prompt);
    box.setInputMode(QInputDialog::TextInput);
    box.setTextValue(request.defaultAnswer);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annuler"));
    // The question often stands in the title alone ("MONTANT des FRAIS pour ..."): the
    // box is wide enough for its title bar to show it whole, with room for its buttons.
    // The box sizes itself to its contents, so its text box carries the width.
    if (auto* edit = box.findChild<QLineEdit*>()) {
        edit->setMinimumWidth(QFontMetrics(box.font()).horizontalAdvance(box.windowTitle()) + 150);
        if (request.maxLength > 0) {
            edit->setMaxLength(request.maxLength);
            refuseLongPastes(edit, request.tooLongMessage);
        }
    }
    comeForwardWhenFirst(&box);
    if (box.exec() != QDialog::Accepted)
        return QString();
    return box.textValue();
}

QString QtDialogs::chooseFolder(const QString& title, const QString& startFolder) {
    return QFileDialog::getExistingDirectory(activeParent(), titleOr(title), startFolder,
                                             QFileDialog::ShowDirsOnly |
                                                 QFileDialog::DontUseNativeDialog);
}

bool QtDialogs::printerSetup() { return showPrinterSetup(activeParent()); }

bool installFrenchTranslations() {
    static QTranslator* translator = nullptr;
    if (translator)
        return true;
    auto* t = new QTranslator(qApp);
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QStringLiteral("/usr/share/qt6/translations")};
    for (const QString& folder : folders) {
        if (t->load(QStringLiteral("qtbase_fr"), folder)) {
            QCoreApplication::installTranslator(t);
            translator = t;
            return true;
        }
    }
    delete t;
    return false;
}

void installQtDialogs() {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    installFrenchTranslations();
    setDialogs(std::make_unique<QtDialogs>());
}

} // namespace vt
