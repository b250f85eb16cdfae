#pragma once
// The settings dialog: angle, height, amount and result, with a preview
// that follows every change: of the user's image where the host handed a
// proxy of it over, of the built-in picture otherwise. Owned by the host's
// window. OK hands the settings back; Cancel leaves *settings as it was.
#include "HostRecord.h"
#include "ImageProxy.h"
#include "ReliefSettings.h"

namespace relief {

// Dialog and result texts, as the dialog shows them.
extern const wchar_t kResultGreyText[];
extern const wchar_t kResultColoursText[];

// kResultOk with *settings replaced, or kResultUserCancelled. `owner`: the
// host's window (0: none); `drawer`: the host's way of drawing pixels;
// `proxy`: the image to preview, or null for the built-in picture.
int16_t RunSettingsDialog(intptr_t owner, const PixelDrawer& drawer, ReliefSettings* settings,
                          const ImageProxy* proxy = nullptr);

}  // namespace relief
