#pragma once
// Opening a document through the desktop shell's own process, so that the
// program that opens it (the browser, for a web address) runs as the
// signed-in user in the desktop's process tree, not with this elevated
// process's rights.
#include <windows.h>

// Asks the desktop shell to open document with the verb "open" and the show
// command show. False when there is no desktop shell to ask (none runs, or
// it does not offer its dispatch object); true once it has taken the request.
bool OpenThroughDesktopShell(const wchar_t* document, int show);
