#include "app/HelpPage.h"

#include "app/DesktopShell.h"
#include "app/MakerSite.h"
#include "common/SystemApi.h"

namespace {

constexpr wchar_t kHelpUrlWide[] = L"http://www.mirefold.com/installqw.htm";

// The wide address must name the same page as the link's.
constexpr bool SameAddress(const char* narrow, const wchar_t* wide) {
  for (;; ++narrow, ++wide) {
    if (static_cast<wchar_t>(static_cast<unsigned char>(*narrow)) != *wide) return false;
    if (*narrow == '\0') return true;
  }
}
static_assert(SameAddress(kHelpUrl, kHelpUrlWide), "help page address");

}  // namespace

void ShowHelpPage(HWND window) {
  // The desktop shell opens it in its own process, as the user who signed
  // in. Only where there is no such shell is it opened from here.
  if (OpenThroughDesktopShell(kHelpUrlWide, SW_SHOWMAXIMIZED)) return;
  if (const ShellApi* shell = ShellFunctions()) shell->ShellExecuteA(window, "open", kHelpUrl, nullptr, nullptr, SW_SHOWMAXIMIZED);
}
