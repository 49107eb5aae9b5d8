#pragma once
// The program's help: one French page per topic (1 to 9), shown in a help window.
#include <QString>

namespace vt {

inline constexpr int HelpTopicCount = 9;

// Opens the help window at a topic (a topic without a page opens the general page).
void showHelp(int topic);
// The last topic asked for (tests check which topic a window opens); 0 before any.
int lastHelpTopic();
// The HTML text of a topic, empty when there is none.
QString helpPage(int topic);
// The title of a topic, empty when there is none.
QString helpTitle(int topic);

} // namespace vt
