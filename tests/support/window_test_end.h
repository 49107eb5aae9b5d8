#pragma once
// What a test of the program's windows leaves for the next one: no window loaded and none
// waiting for deletion; the clock, the end of the program and the entry sheet's links back
// to the program's own; the scripted dialogs and the club folder gone. An answer scripted
// and never asked for fails the test, once everything is put back, so that the next test
// starts clean whatever this one left.
#include "entries/jeuamat_window.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/program.h"
#include "tests/support/club_fixture.h"
#include "tests/support/pending_events.h"

#include <QTest>

#include <memory>

namespace vt::testing {

inline void endWindowTest(std::unique_ptr<ScriptedDialogsScope>& dialogs,
                          std::unique_ptr<ClubFixture>& club) {
    windows().unloadAll();
    processPending();
    const int unasked = (**dialogs).pendingAnswers();
    dialogs.reset();
    entrySheetLinks() = {};
    setEndProgramForTests({});
    setClockForTests({});
    club.reset();
    QVERIFY2(unasked == 0,
             qPrintable(QStringLiteral("%1 scripted answer(s) never asked for").arg(unasked)));
}

} // namespace vt::testing
