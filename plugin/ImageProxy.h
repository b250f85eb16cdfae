#pragma once
// The dialog's preview of the user's own image: a reduced copy (the proxy)
// the host samples for us through advanceState at an integral input rate,
// relieved with the dialog's settings and turned into 8-bit RGB to draw.
// Hosts that offer no advanceState get the built-in picture instead.
#include <cstdint>
#include <vector>

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
  std::vector<uint8_t> samples;  // 8-bit samples or native-endian 16-bit ones
};

// The smallest integral rate at which a width x height rectangle fits in a
// box of boxWidth x boxHeight pixels; at least 1.
int ProxyRate(int width, int height, int boxWidth, int boxHeight);

// Asks the host's sampler for the filter rectangle at the rate that fits
// the preview box and copies it into *proxy. False, *proxy left empty, when
// the host offers no sampling, refuses, or hands over a buffer that cannot
// hold the proxy.
bool FetchProxy(const HostImage& image, const Sampler& sampler, int boxWidth, int boxHeight, ImageProxy* proxy);

// The settings as they look at the proxy's scale: the height shrinks with
// the rate (never below 1 pixel).
ReliefSettings AtProxyScale(const ReliefSettings& settings, int rate);

// The proxy relieved with `settings` (at the proxy's scale) and shown as
// interleaved 8-bit RGB, width x height. Empty when the settings are not
// valid. Grey, RGB and CMYK (inks multiplied) show their colours; Lab shows
// its lightness as grey.
std::vector<uint8_t> RenderProxy(const ImageProxy& proxy, const ReliefSettings& settings);

// Samples of a mode as 8-bit RGB, as RenderProxy shows them.
std::vector<uint8_t> ProxyToRgb(const ImageProxy& proxy);

}  // namespace relief
