#include "AboutBox.h"

#include <windows.h>

namespace relief {

const char kAboutText[] =
    "iRelief 1.0\n"
    "Relief filter: turns flat areas grey and raises the edges of the picture.\n\n"
    "Mirefold\n"
    "www.mirefold.com";
const char kAboutCaption[] = "About iRelief";

int16_t ShowAbout(const AboutRecordView* about) {
  HWND owner = nullptr;
  if (about && about->platformData) {
    owner = reinterpret_cast<HWND>(static_cast<const PlatformDataView*>(about->platformData)->hwnd);
  }
  MessageBoxA(owner, kAboutText, kAboutCaption, MB_OK | MB_ICONINFORMATION);
  return kResultOk;
}

}  // namespace relief
