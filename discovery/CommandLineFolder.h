#pragma once
// An application's folder from its path or command line.

// Reduces the text to its folder in place: cuts after the last backslash,
// then drops leading non-letters, so "C:\Apps\Ed\ed.exe" "%1" becomes
// C:\Apps\Ed\ . False when what is left does not start with a drive letter
// and a colon.
bool FolderFromCommandLine(char* text);
