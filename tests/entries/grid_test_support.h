#pragma once
// Small fixtures for the race-grid tests: stake lines from their 13-character texts,
// stake blocks, and key sequences typed into a grid.
#include "common/records.h"
#include "entries/race_grid.h"
#include "tests/support/qt_print.h"

#include <QList>
#include <QString>

#include <initializer_list>
#include <ostream>
#include <vector>


namespace vt::testing {

struct Line {
    const char* text; // label 8 + code 5
    float unit = 0;
    int16_t count = 0;
};

inline StakeTypeRecord stakeLine(const Line& l) {
    const QString t = QString::fromUtf8(l.text);
    StakeTypeRecord r;
    r.setStakeLabel(t.left(8));
    r.setStakeCode(t.mid(8));
    r.setUnitValue(l.unit);
    r.setCount(l.count);
    return r;
}

inline QList<StakeTypeRecord> stakeLines(const std::vector<Line>& lines) {
    QList<StakeTypeRecord> out;
    for (const Line& l : lines)
        out.append(stakeLine(l));
    return out;
}

// Element 0 (pigeons entered) first, then the counts of lines 1, 2, ...
inline StakeAmountBlock stakeBlock(std::initializer_list<float> values) {
    StakeAmountBlock b;
    int k = 0;
    for (float v : values)
        b.setStakeCount(k++, v);
    return b;
}

inline RaceGrid makeGrid(const std::vector<Line>& lines, std::initializer_list<float> block = {},
                         const char* caption = "X") {
    return RaceGrid::build(QString::fromUtf8(caption), stakeLines(lines), stakeBlock(block));
}

// Types keys on a row: digits, '\r' Enter, 'E' Esc (or Del), 'B' Backspace, '+' next race.
inline GridKeyOutcome typeKeys(RaceGrid& g, int row, const char* keys) {
    GridKeyOutcome last;
    for (const char* p = keys; *p; ++p) {
        switch (*p) {
        case '\r':
            last = g.key(row, GridKey::Enter);
            break;
        case 'E':
            last = g.key(row, GridKey::Clear);
            break;
        case 'B':
            last = g.key(row, GridKey::Backspace);
            break;
        case '+':
            last = g.key(row, GridKey::NextRace);
            break;
        default:
            last = g.key(row, GridKey::Digit, QChar(*p));
        }
    }
    return last;
}

// The NOMBRE texts of rows 1 to Rows - 2.
inline QStringList nombres(const RaceGrid& g) {
    QStringList out;
    for (int r = 1; r <= g.rowCount() - 2; ++r)
        out << g.cell(r, RaceGrid::NombreColumn);
    return out;
}

inline QStringList texts(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* s : list)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace vt::testing
