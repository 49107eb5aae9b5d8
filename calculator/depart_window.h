#pragma once
// Tarvio's main window: the date and loft steppers, the Paris closing, opening and dead
// time, the loft's own closing and opening, and the distance to the site at the top of
// the list of distgen.
#include "calculator_model.h"

#include <QListWidget>
#include <QMainWindow>

#include <array>
#include <memory>

class QLabel;
class QFocusFrame;
class QScrollBar;
class QGroupBox;

namespace vt::tarvio {

class depart : public QMainWindow {
    Q_OBJECT
public:
    depart();
    ~depart() override;

    const CalculatorModel& model() const { return *m_model; }
    // Reads distgen again into the list and the results (the site editor has saved it).
    void reloadSites();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void loadSites();
    void dateChanged();
    void coordinateChanged(int coordinate, int part, int value);
    void listScrolled();
    void lineMoved(int row);
    bool isStepper(const QWidget* w) const;
    bool stepperHasFocus() const;
    void refreshLabels();
    void GPS_Click();
    void vers_Click();
    void quitte_Click();
    void Frame1_Click();

    std::unique_ptr<CalculatorModel> m_model;
    QListWidget* m_list = nullptr;
    // True while a moved line is being brought to the top of the list.
    bool m_bringingLineUp = false;
    QLabel *m_label5, *m_label6, *m_label7, *m_label8, *m_label10, *m_label11, *m_label12;
    std::array<QLabel*, 3> m_display{};  // Label13, Label14, Label15
    std::array<QLabel*, 3> m_packed{};   // Label16, Label17, Label18
    std::array<QScrollBar*, 3> m_dateBars{};
    // [coordinate: latitude, east, west][part 1 to 4]
    std::array<std::array<QScrollBar*, 4>, 3> m_coordinateBars{};
    std::array<std::array<int, 4>, 3> m_lastValues{};
    QGroupBox* m_frame1 = nullptr;
    QFocusFrame* m_stepperMark = nullptr; // around the stepper that has the focus
    QMetaObject::Connection m_focusWatch;
};

} // namespace vt::tarvio
