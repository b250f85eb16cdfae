#pragma once
// Which registry strings the discovery takes for a host's plug-in folder.
#include <cstddef>

// Decides on one string value met by the walk, in place: data loses its
// leading non-letters and must then start with a drive letter and a colon;
// keyPath is lower-cased and must contain hostWord (an empty word is in every
// path); then the value is taken when keyPath contains "plug", or else when
// its name, lower-cased in place, contains "plug", "directory1", "directory2"
// or "directory3". name is left as it was when keyPath alone decides.
bool IsPluginFolderValue(char* keyPath, char* name, char* data, const char* hostWord);

// Where a walk found a folder: hive name, key path and value name, each
// followed by two blanks. False (out unspecified but terminated) when it does
// not fit in capacity characters.
bool FormatFoundAt(char* out, std::size_t capacity, const char* hiveName, const char* keyPath, const char* name);

// Reduces an application's path or command line to its folder in place:
// cuts after the last backslash, then drops leading non-letters, so
// "C:\Apps\Ed\ed.exe" "%1" becomes C:\Apps\Ed\ . False when what is left does
// not start with a drive letter and a colon.
bool FolderFromCommandLine(char* text);
