#pragma once
// The one form in which a verified folder enters the candidate list.
#include <cstddef>

#include "../common/path_capacity.h"

// The drop-down shows each candidate with the maker's folder appended (a
// record's AppendMakerFolder), in a kPathCapacity buffer that also becomes
// the install folder.
constexpr char kMakerFolderSuffix[] = "Mirefold\\";

// Normalises a verified folder in place: lower-cases its ASCII letters, cuts
// it back to the host's folder when the first "mire" follows a backslash
// (C:\Host\Plug-ins\mirefold\ -> C:\Host\Plug-ins\), makes sure it ends in a
// backslash and title-cases it. Returns false, with the buffer in an
// unspecified but terminated state, when the result, with kMakerFolderSuffix
// appended, would not fit kPathCapacity or the buffer's capacity.
bool NormaliseCandidate(char* path, std::size_t capacity);
