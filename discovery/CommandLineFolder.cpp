#include "CommandLineFolder.h"

#include "PathRules.h"

bool FolderFromCommandLine(char* text) {
  CutAfterLastChar(text, '\\');
  StripToFirstLetter(text);
  return StartsWithDrive(text);
}
