#include "AboutBox.h"

#include <windows.h>

namespace relief {

const char kAboutText[] =
    "iRelief 1.0\n"
    "Relief filter: turns flat areas grey and raises the edges of the picture.\n\n"
    "Mirefold\n"
    "www.mirefold.com";
const char kAboutCaption[] = "About iRelief";

int16_t ShowAbout(intptr_t owner) {
  MessageBoxA(reinterpret_cast<HWND>(owner), kAboutText, kAboutCaption, MB_OK | MB_ICONINFORMATION);
  return 0;
}

}  // namespace relief
