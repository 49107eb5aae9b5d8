#pragma once
// The help window: one topic page at a time, with the list of topics beside it.
#include <QWidget>

class QListWidget;
class QTextBrowser;

namespace vt {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(int topic);
    int topic() const { return m_topic; }

private:
    QListWidget* m_topics;
    QTextBrowser* m_page;
    int m_topic = 0;
};

} // namespace vt
