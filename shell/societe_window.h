#pragma once
// The club form: the club's name, code, group number and the sender address of the
// envelopes. "Quitter" saves when asked and returns to the main window.
#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;

class societe : public QMainWindow {
    Q_OBJECT
public:
    societe();

    // "Quitter": false when the form stays open (a missing code, a refused value, a
    // failed save).
    bool leave();
    bool modified() const { return m_modified; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* box(const char* name, const QString& toolTip = QString());
    QLabel* warning(const char* name, const QString& text);
    QLabel* caption(const char* name, const QString& text);
    bool groupNumberAccepted();

    QLineEdit *m_txt1, *m_Txt2, *m_Text1, *m_Text2, *m_Text3, *m_Text4, *m_Text5, *m_Text6;
    QAction *m_quitte = nullptr, *m_aide = nullptr;
    bool m_modified = false;
    bool m_leaving = false;
};
