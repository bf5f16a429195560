#pragma once

#include "content/contentlink.h"

class Browser;
class MainWindow;

namespace content {

// Shows a handout, guide or help entry in browser behind the wait notice "请稍等.正在打开...". A
// web address needs a connection only when onlineRequired (handouts and guide; help pages are
// opened regardless). A local page that is missing, and a web address while offline, are
// reported with a message and the browser keeps its page. Returns true when it navigated.
bool showEntry(MainWindow *main, Browser *browser, const Link &link, bool onlineRequired);

// The message for an entry of a content table that no longer exists.
void reportMissingEntry(MainWindow *main);

} // namespace content
