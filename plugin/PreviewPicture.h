#pragma once
// The dialog's own preview, for hosts that offer no proxy of the image: a
// small built-in picture (a sky-to-sand gradient with a disc, a bar and a
// few thin lines, so every angle finds edges) relieved with the settings.
#include <cstdint>
#include <vector>

#include "ReliefSettings.h"

namespace relief {

constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 150;

// The picture itself, interleaved 8-bit RGB, row after row.
std::vector<uint8_t> PreviewPicture();

// The picture relieved with `settings`, interleaved RGB like the picture.
// Empty when the settings are not valid.
std::vector<uint8_t> RenderPreview(const std::vector<uint8_t>& picture, const ReliefSettings& settings);

// Interleaved RGB as 32-bit blue-green-red-unused pixels, top row first,
// ready for a device-independent bitmap.
std::vector<uint8_t> ToBgrx(const std::vector<uint8_t>& rgb);

}  // namespace relief
