#pragma once
// The program's help: one French page per topic (1 to 9), shown in a help window.
#include <QString>

namespace vt {

void showHelp(int topic);
// The last topic asked for (tests check which topic a window opens).
int lastHelpTopic();
// The HTML text of a topic, empty when there is none.
QString helpPage(int topic);

} // namespace vt
