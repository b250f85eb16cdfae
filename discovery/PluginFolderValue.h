#pragma once
// Which registry strings the discovery takes for a host's plug-in folder.

// Decides on one string value met by the walk, in place: data loses its
// leading non-letters and must then start with a drive letter and a colon;
// keyPath is lower-cased and must contain hostWord (an empty word is in every
// path); then the value is taken when keyPath contains "plug", or else when
// its name, lower-cased in place, contains "plug", "directory1", "directory2"
// or "directory3". name is left as it was when keyPath alone decides.
bool IsPluginFolderValue(char* keyPath, char* name, char* data, const char* hostWord);
