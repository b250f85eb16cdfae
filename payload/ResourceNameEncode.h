#pragma once
// The inverse of DecodeResourceName: the resource name under which a payload
// file must be stored so that the installer writes it under the given name.

enum class NameProblem {
  None,
  Empty,
  ForbiddenCharacter,  // < > : " / \ | ? *
  NotPrintableAscii,   // a control character or one above 0x7E
  TrailingSpaceOrDot,  // Windows drops it from the file name
  ReservedDeviceName,  // CON, NUL, COM1 ... with or without an extension
  TooLong,             // the resource name would need 400 characters or more
  NoNameInOrder,       // no resource name for it sorts after the one given
  NoEncoding,          // no resource name decodes to exactly this name
};

struct NameEncoding {
  NameProblem problem;
  int position;  // of the offending character, or -1
  int length;    // of the resource name; for TooLong the length it would need (at least 400)
};

// A short English text for the problem ("" for None).
const char* DescribeNameProblem(NameProblem problem);

// Writes into out (cap characters, terminator included) the shortest
// upper-case resource name that DecodeResourceName turns back into exactly
// fileName. When after is given, the name must sort after it as the resource
// directory sorts names (character codes, a prefix first): the shortest such
// name, the first in that order among equally short ones. On any problem out
// holds "" and nothing longer than cap is ever written. fileName is read up
// to its terminator or kResourceNameCapacity characters, whichever is first.
NameEncoding EncodeResourceName(const char* fileName, char* out, int cap, const char* after = nullptr);
