#pragma once
// The dialog's own preview, for hosts that offer no proxy of the image: a
// small built-in picture (a sky-to-sand gradient with a disc, a bar and a
// few thin lines, so every angle finds edges) relieved with the settings.
#include <cstdint>

#include "Bytes.h"
#include "ReliefSettings.h"

namespace relief {

constexpr int kPreviewWidth = 200;
constexpr int kPreviewHeight = 150;

// The picture itself, interleaved 8-bit RGB, row after row; false when there
// is no memory for it.
bool PreviewPicture(Bytes* rgb);

// The picture relieved with `settings`, interleaved RGB like the picture.
// False when the settings are not valid or there is no memory.
bool RenderPreview(const Bytes& picture, const ReliefSettings& settings, Bytes* relieved);

// Interleaved RGB as 32-bit blue-green-red-unused pixels, top row first,
// ready for a device-independent bitmap; false when there is no memory.
bool ToBgrx(const Bytes& rgb, Bytes* bgrx);

}  // namespace relief
