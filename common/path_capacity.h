#pragma once
// Paths travel in fixed buffers of this many characters, terminator
// included: the folder drop-down's entries, the chooser's working buffer and
// InstallFolder, which receives the chosen entry.

constexpr int kPathCapacity = 400;
