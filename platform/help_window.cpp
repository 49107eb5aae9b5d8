#include "platform/help_window.h"

#include "platform/help.h"
#include "platform/window_keys.h"
#include "platform/window_registry.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vt {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("aide"));
    setWindowTitle(QStringLiteral("Aide"));
    m_topics = new QListWidget(this);
    m_topics->setObjectName(QStringLiteral("sujets"));
    for (int t = 1; t <= HelpTopicCount; ++t) {
        auto* item = new QListWidgetItem(helpTitle(t), m_topics);
        item->setData(Qt::UserRole, t);
    }
    m_topics->setWordWrap(true);
    m_topics->setFixedWidth(280);
    m_page = new QTextBrowser(this);
    m_page->setObjectName(QStringLiteral("page"));
    m_page->setOpenLinks(false);
    auto* close = new QPushButton(QStringLiteral("Fermer"), this);
    close->setObjectName(QStringLiteral("fermer"));
    // Enter on the focused button closes the help, as the space bar does.
    close->setAutoDefault(true);

    auto* row = new QHBoxLayout;
    row->addWidget(m_topics);
    row->addWidget(m_page, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(760, 520);
    describeControls(this);

    connect(close, &QPushButton::clicked, this, &QWidget::close);
    pressOnEscape(this, [close] { close->click(); });
    connect(m_topics, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item && item->data(Qt::UserRole).toInt() != m_topic)
            showTopic(item->data(Qt::UserRole).toInt());
    });
    connect(m_page, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // Links between pages read "topic3.html".
        const QString name = url.fileName();
        if (name.startsWith(QLatin1String("topic")))
            showTopic(name.mid(5).section(QLatin1Char('.'), 0, 0).toInt());
    });
}

void HelpWindow::showTopic(int topic) {
    const QString html = helpPage(topic);
    if (html.isEmpty())
        return;
    m_topic = topic;
    m_page->setHtml(html);
    m_topics->setCurrentRow(topic - 1);
    setWindowTitle(QStringLiteral("Aide : %1").arg(helpTitle(topic)));
}

} // namespace vt
