#pragma once
// A registry written to hurt, shared by the discovery tests and the
// end-to-end tests:
// keys 30 levels deep, names of 255 characters and more, data of 255 to 300
// bytes, strings without terminator, other value types named like folder
// values, bytes 0x80 to 0xFF, empty data, with good folders among them.
#include <string>
#include <vector>

// Writes the keys under HKEY_CURRENT_USER\Software\Mirefold and makes the
// folders below root (ending in a backslash). Returns the folders the
// discovery must find, in order, in the form the drop-down shows them
// without the maker's folder.
std::vector<std::string> LoadHostileRegistry(const std::string& root);
