#include "depart_window.h"

#include "basedist_window.h"
#include "frmabout_window.h"
#include "plein_window.h"
#include "tarvio_texts.h"

#include "common/errors.h"
#include "fanciers/site_list.h"
#include "common/numbers.h"
#include "common/text.h"
#include "platform/clock.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusFrame>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vt::tarvio {

namespace {

constexpr int BarMaximum = 32767;
constexpr int DayMiddle = 365, MonthMiddle = 12, YearMiddle = 10;
constexpr int CoordinateMiddle = 1000;

QFont fixedFont() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

QLabel* label(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QScrollBar* stepper(QWidget* parent, const QString& name, int value) {
    auto* bar = new QScrollBar(Qt::Vertical, parent);
    bar->setObjectName(name);
    bar->setRange(0, BarMaximum);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    bar->setValue(value);
    bar->setFixedSize(18, 34);
    // Tab reaches each stepper, whose arrow keys then step it; a click on an arrow leaves
    // the focus where it was.
    bar->setFocusPolicy(Qt::TabFocus);
    return bar;
}

} // namespace

depart::depart() {
    setObjectName(QStringLiteral("depart"));
    setWindowTitle(
        QStringLiteral("Gestion des lieux de lâcher et des heures de coucher et lever du soleil"));
    buildControls();
    // A stepper draws nothing when it has the focus: a ring around the one reached with Tab
    // shows which one the arrow keys step.
    m_stepperMark = new QFocusFrame(this);
    m_stepperMark->setObjectName(QStringLiteral("stepperFocusMark"));
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        m_stepperMark->setWidget(isStepper(now) ? now : nullptr);
    });
    loadSites();
    refreshLabels();
}

// The focus moves while the controls are destroyed: the ring no longer follows it.
depart::~depart() { disconnect(m_focusWatch); }

void depart::buildControls() {
    auto* menu = menuBar();
    QAction* gps = menu->addAction(QStringLiteral("Fichier des LIEUX"));
    gps->setObjectName(QStringLiteral("GPS"));
    connect(gps, &QAction::triggered, this, &depart::GPS_Click);
    QAction* quit = menu->addAction(QStringLiteral("Quitter"));
    quit->setObjectName(QStringLiteral("quitte"));
    connect(quit, &QAction::triggered, this, &depart::quitte_Click);
    QAction* about = menu->addAction(QStringLiteral("?"));
    about->setObjectName(QStringLiteral("vers"));
    connect(about, &QAction::triggered, this, &depart::vers_Click);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* root = new QVBoxLayout(central);

    // Sites and their column heads.
    auto* heads = label(central, QStringLiteral("Label1"),
                        padRight(QStringLiteral("LIEU DE LACHER"), 25) +
                            rightAlign(QStringLiteral("LATITUDE"), 10) +
                            rightAlign(QStringLiteral("EST"), 10) +
                            rightAlign(QStringLiteral("OUEST"), 10));
    heads->setFont(fixedFont());
    root->addWidget(heads);
    m_list = new QListWidget(central);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setFont(fixedFont());
    m_list->setToolTip(QStringLiteral("Pour accéder plus rapidement à un lieu de lâcher, tapez sa "
                                      "première lèttre sur le clavier."));
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->setMinimumHeight(160);
    // Wide enough for a whole list line (55 characters) and the scroll bar.
    m_list->setMinimumWidth(QFontMetrics(fixedFont()).horizontalAdvance(QString(58, u'M')) +
                            m_list->verticalScrollBar()->sizeHint().width());
    // The results follow the line at the top of the list. A line moved to (an arrow or page
    // key, a click, a typed first letter) is brought to the top, so that the highlight, the
    // top line and the results name the same site; a line near the end, which cannot reach
    // the top, still gives its results. The list itself never scrolls to a moved line.
    m_list->setAutoScroll(false);
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, &depart::listScrolled);
    connect(m_list, &QListWidget::currentRowChanged, this, &depart::lineMoved);
    root->addWidget(m_list);

    // Date.
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(label(central, QStringLiteral("Label9"), QStringLiteral(" DATE ")));
    m_label12 = label(central, QStringLiteral("Label12"));
    dateRow->addWidget(m_label12);
    const int middles[] = {DayMiddle, MonthMiddle, YearMiddle};
    for (int i = 0; i < 3; ++i) {
        m_dateBars[i] = stepper(central, QStringLiteral("VScroll_%1").arg(i + 1), middles[i]);
        connect(m_dateBars[i], &QScrollBar::valueChanged, this, &depart::dateChanged);
        dateRow->addWidget(m_dateBars[i]);
    }
    dateRow->addStretch();
    root->addLayout(dateRow);

    // Loft coordinates: one column per coordinate, four steppers each.
    auto* grid = new QGridLayout;
    const QString heads3[] = {QStringLiteral("Latitude"), QStringLiteral("Longitude EST"),
                              QStringLiteral("Longitude OUEST")};
    const QString headNames[] = {QStringLiteral("Label2"), QStringLiteral("Label3"),
                                 QStringLiteral("Label4")};
    for (int c = 0; c < 3; ++c) {
        grid->addWidget(label(central, headNames[c], heads3[c]), 0, c);
        auto* bars = new QHBoxLayout;
        for (int p = 0; p < 4; ++p) {
            QScrollBar* bar =
                stepper(central, QStringLiteral("VScroll%1_%2").arg(c + 1).arg(p + 1),
                        CoordinateMiddle);
            m_coordinateBars[c][p] = bar;
            m_lastValues[c][p] = CoordinateMiddle;
            connect(bar, &QScrollBar::valueChanged, this,
                    [this, c, p](int v) { coordinateChanged(c, p + 1, v); });
            bars->addWidget(bar);
        }
        bars->addStretch();
        grid->addLayout(bars, 1, c);
        m_display[c] = label(central, QStringLiteral("Label%1").arg(13 + c));
        m_packed[c] = label(central, QStringLiteral("Label%1").arg(16 + c));
        grid->addWidget(m_display[c], 2, c);
        grid->addWidget(m_packed[c], 3, c);
    }
    root->addLayout(grid);

    // Results.
    m_label10 = label(central, QStringLiteral("Label10"));
    m_label11 = label(central, QStringLiteral("Label11"));
    m_label5 = label(central, QStringLiteral("Label5"));
    m_label6 = label(central, QStringLiteral("Label6"));
    m_label7 = label(central, QStringLiteral("Label7"));
    m_label8 = label(central, QStringLiteral("Label8"));
    QFont bold = font();
    bold.setBold(true);
    for (QLabel* l : {m_label10, m_label11, m_label5, m_label6, m_label7, m_label8}) {
        l->setFont(bold);
        root->addWidget(l);
    }

    m_frame1 = new QGroupBox(QStringLiteral("Aide"), central);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    auto* frameLayout = new QVBoxLayout(m_frame1);
    auto* hint = new QLabel(QStringLiteral("Cliquez ici pour l'aide"), m_frame1);
    hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    frameLayout->addWidget(hint);
    m_frame1->installEventFilter(this);
    root->addWidget(m_frame1, 0, Qt::AlignHCenter);
}

void depart::loadSites() {
    m_model = std::make_unique<CalculatorModel>(vt::today(), QList<ReleaseSiteRecord>{});
    reloadSites();
}

void depart::reloadSites() {
    // A damaged site is named once for this reading; its coordinates read as 0.
    DamageNotice damage(dialogs());
    QList<ReleaseSiteRecord> sites;
    try {
        sites = readGeneralSitesInFileOrder(generalSitesPath());
    } catch (const Error& e) {
        dialogs().inform(e.message(), programTitle(), MsgIcon::Exclamation);
        return; // the list stays as it was read before
    }
    m_model->setSites(sites);
    const int shown = m_model->shownSite();
    m_list->clear();
    m_list->addItems(m_model->siteItems());
    if (m_list->count() > 0) {
        m_list->scrollToItem(m_list->item(shown), QAbstractItemView::PositionAtTop);
        m_list->setCurrentRow(shown);
        m_model->setShownSite(shown);
    }
    refreshLabels();
}

void depart::dateChanged() {
    m_model->setDateOffsets(m_dateBars[0]->value() - DayMiddle,
                            m_dateBars[1]->value() - MonthMiddle,
                            m_dateBars[2]->value() - YearMiddle);
    refreshLabels();
}

void depart::coordinateChanged(int coordinate, int part, int value) {
    const int steps = value - m_lastValues[coordinate][part - 1];
    m_lastValues[coordinate][part - 1] = value;
    if (coordinate == 0)
        m_model->stepLatitude(part, steps);
    else if (coordinate == 1)
        m_model->stepEast(part, steps);
    else
        m_model->stepWest(part, steps);
    refreshLabels();
}

void depart::listScrolled() {
    if (m_bringingLineUp)
        return;
    // A scroll selects the line at the top of the list.
    const QModelIndex top = m_list->indexAt(QPoint(1, 1));
    if (top.isValid())
        m_list->setCurrentRow(top.row());
}

void depart::lineMoved(int row) {
    if (!m_model || row < 0 || m_bringingLineUp)
        return;
    m_bringingLineUp = true;
    m_list->scrollToItem(m_list->item(row), QAbstractItemView::PositionAtTop);
    m_bringingLineUp = false;
    m_model->setShownSite(row);
    refreshLabels();
}

bool depart::isStepper(const QWidget* w) const {
    if (!w)
        return false;
    for (const QScrollBar* bar : m_dateBars)
        if (bar == w)
            return true;
    for (const auto& bars : m_coordinateBars)
        for (const QScrollBar* bar : bars)
            if (bar == w)
                return true;
    return false;
}

bool depart::stepperHasFocus() const { return isStepper(QApplication::focusWidget()); }

void depart::refreshLabels() {
    m_label12->setText(m_model->dateText());
    const ParisTimes& paris = m_model->paris();
    m_label10->setText(paris.closingLabel);
    m_label11->setText(paris.openingLabel);
    m_label5->setText(paris.deadTimeLabel);
    m_display[0]->setText(m_model->latitudeText());
    m_display[1]->setText(m_model->eastText());
    m_display[2]->setText(m_model->westText());
    m_packed[0]->setText(m_model->latitudePacked());
    m_packed[1]->setText(m_model->eastPacked());
    m_packed[2]->setText(m_model->westPacked());
    m_label6->setText(m_model->distanceLabel());
    m_label7->setText(m_model->loftTimes().closingLabel);
    m_label8->setText(m_model->loftTimes().openingLabel);
    // The list takes the focus back after each change, except from a stepper reached with
    // Tab, which keeps it so that its arrow keys go on stepping.
    if (isVisible() && !stepperHasFocus())
        m_list->setFocus();
}

bool depart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_frame1 && event->type() == QEvent::MouseButtonRelease) {
        Frame1_Click();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void depart::Frame1_Click() {
    dialogs().inform(mainWindowHelpText(), programTitle(), MsgIcon::None);
}

void depart::GPS_Click() {
    // While Vorel's site editor has the list, this one does not open: only one program
    // edits distgen at a time.
    QString refusal;
    const HeldLock gate = holdSiteList(generalSitesPath(), refusal);
    if (!gate.held()) {
        dialogs().inform(refusal, siteMessageTitle(), MsgIcon::Exclamation);
        return;
    }
    hide();
    windows().show<plein>();
    // A fresh editor reads distgen again.
    windows().unload<basedist>();
    windows().show<basedist>();
}

void depart::vers_Click() { windows().show<frmAbout>(); }

void depart::quitte_Click() { QCoreApplication::quit(); }

void depart::closeEvent(QCloseEvent* event) {
    event->accept();
    quitte_Click();
}

} // namespace vt::tarvio
