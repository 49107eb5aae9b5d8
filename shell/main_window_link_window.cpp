#include "main_window_link.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QWidget>

namespace vt {
namespace {

QWidget* mainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("depart"))
            return w;
    return nullptr;
}

} // namespace

void writeMainStatus(const QString& text) {
    QWidget* main = mainWindow();
    if (!main)
        return;
    if (auto* label = main->findChild<QLabel*>(QStringLiteral("Label1"))) {
        label->setText(text);
        label->setVisible(true);
        label->repaint();
    }
}

void setMainRaceMenusVisible(bool visible) {
    QWidget* main = mainWindow();
    if (!main)
        return;
    for (const char* name : {"rec", "edrecaps"})
        if (auto* action = main->findChild<QAction*>(QString::fromLatin1(name)))
            action->setVisible(visible);
}

void refreshMainWindow() {
    if (QWidget* main = mainWindow())
        main->update();
}

} // namespace vt
