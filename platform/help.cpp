#include "platform/help.h"

#include "platform/help_window.h"

#include <QFile>
#include <QPointer>

static void loadHelpResources() { Q_INIT_RESOURCE(help); }

namespace vt {

namespace {
constexpr int GeneralTopic = 8;
int g_lastTopic = 0;
QPointer<HelpWindow> g_window;
} // namespace

QString helpTitle(int topic) {
    switch (topic) {
    case 1: return QStringLiteral("La fenêtre principale");
    case 2: return QStringLiteral("Récapitulatifs, saisie et choix des concours");
    case 3: return QStringLiteral("La société");
    case 4: return QStringLiteral("Lieux de lâcher : fichier GENERAL");
    case 5: return QStringLiteral("Lieux de lâcher : fichier LOCAL");
    case 6: return QStringLiteral("Calendriers et amateurs");
    case 7: return QStringLiteral("Les feuilles d'enjeux");
    case 8: return QStringLiteral("Généralités");
    case 9: return QStringLiteral("Mémorisation d'un concours sur fichier");
    default: return QString();
    }
}

QString helpPage(int topic) {
    if (helpTitle(topic).isEmpty())
        return QString();
    loadHelpResources();
    QFile file(QStringLiteral(":/help/topic%1.html").arg(topic));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

int lastHelpTopic() { return g_lastTopic; }

void showHelp(int topic) {
    g_lastTopic = topic;
    if (!g_window) {
        g_window = new HelpWindow;
        g_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_window->showTopic(helpPage(topic).isEmpty() ? GeneralTopic : topic);
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
}

} // namespace vt
