#pragma once
// What the release-site window tests share: a club folder with some sites, scripted
// dialogs, and the unloading of every window after each test.
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"
#include "tests/support/pending_events.h"

#include <memory>

namespace vt::testing {

class SiteWindowFixture {
public:
    void setUp(const QList<SiteSpec>& general, const QList<SiteSpec>& local) {
        club = std::make_unique<ClubFixture>();
        for (const SiteSpec& s : general)
            club->addGeneralSite(s);
        for (const SiteSpec& s : local)
            club->addLocalSite(s);
        club->configureSession();
        scope = std::make_unique<ScriptedDialogsScope>();
    }
    void tearDown() {
        windows().unloadAll();
        processPending();
        scope.reset();
        club.reset();
    }
    ScriptedDialogs& dialogs() { return **scope; }

private:
    std::unique_ptr<ClubFixture> club;
    std::unique_ptr<ScriptedDialogsScope> scope;
};

} // namespace vt::testing
