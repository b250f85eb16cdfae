#pragma once
// The dialog's preview of the user's own image: a reduced copy (the proxy)
// the host samples for us through advanceState at an integral input rate,
// relieved with the dialog's settings and turned into 8-bit RGB to draw.
// Hosts that offer no advanceState get the built-in picture instead.
#include <cstdint>

#include "Bytes.h"
#include "HostRecord.h"
#include "ReliefSettings.h"

namespace relief {

// The proxy as the host handed it over, copied out of the host's buffer:
// interleaved samples of the colour planes and the transparency, if any.
struct ImageProxy {
  int width = 0;
  int height = 0;
  int rate = 1;         // one proxy pixel per rate x rate image pixels
  int imageMode = 0;
  int planes = 0;       // planes per pixel in `samples`
  bool transparency = false;
  Bytes samples;  // 8-bit samples or native-endian 16-bit ones
};

// The smallest integral rate at which a width x height rectangle fits in a
// box of boxWidth x boxHeight pixels; at least 1.
int ProxyRate(int width, int height, int boxWidth, int boxHeight);

enum class Fetch {
  kFetched,
  kNone,      // the host offers no sampling, refuses, or hands over too little
  kNoMemory,  // no memory for the copy
};

// Asks the host's sampler for the filter rectangle at the rate that fits
// the preview box and copies it into *proxy (left empty unless kFetched).
Fetch FetchProxy(const HostImage& image, const Sampler& sampler, int boxWidth, int boxHeight, ImageProxy* proxy);

// The settings as they look at the proxy's scale: the height shrinks with
// the rate (never below 1 pixel).
ReliefSettings AtProxyScale(const ReliefSettings& settings, int rate);

// The proxy relieved with `settings` (at the proxy's scale) and shown as
// interleaved 8-bit RGB, width x height, in *rgb. False when the settings
// are not valid or there is no memory. Grey, RGB and CMYK (inks multiplied)
// show their colours; Lab shows its lightness as grey.
bool RenderProxy(const ImageProxy& proxy, const ReliefSettings& settings, Bytes* rgb);

// Samples of a mode as 8-bit RGB, as RenderProxy shows them; false when the
// proxy holds too few samples or there is no memory.
bool ProxyToRgb(const ImageProxy& proxy, Bytes* rgb);

}  // namespace relief
