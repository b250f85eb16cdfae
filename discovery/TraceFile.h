#pragma once
// The optional diagnostic trace of every verified folder: "c:\inst581.txt",
// appended to only when it already exists. The program runs elevated and any
// user can create a file in C:\, so a file that is a link (a reparse point or
// a file with more than one hard link) is left alone.

constexpr char kTraceFilePath[] = "c:\\inst581.txt";

// Appends the pieces, one after the other, each line feed written as CR LF.
// Returns false, writing nothing, when the file does not exist, cannot be
// opened or is a link.
bool AppendToTraceFile(const char* const* pieces, int count);
