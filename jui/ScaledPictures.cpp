#include "jui/ScaledPictures.h"

#include <cstdint>

#include "jui/BitmapCache.h"
#include "jui/BlankBitmap.h"
#include "jui/GdiScope.h"
#include "jui/PackedPicture.h"
#include "jui/Resample.h"
#include "jui/ScaleRules.h"

namespace {

constexpr int kChannels = 3;
const char kPackedType[] = "JPK";

// The cache key of a picture made for dpi: the top bit, the dots per inch
// and the picture's id (the 100 % pictures' keys never have the top bit).
unsigned ScaledKey(unsigned designId, int dpi) {
  return 0x80000000u | (static_cast<unsigned>(dpi) & 0x7FFF) << 16 | (designId & 0xFFFF);
}

// Pixels in a 24-bit DIB's order, rows from the top, owned.
struct Pixels {
  int width = 0;
  int height = 0;
  std::uint8_t* bytes = nullptr;
  Pixels() = default;
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;
  ~Pixels() { delete[] bytes; }
  std::size_t Stride() const { return (static_cast<std::size_t>(width) * kChannels + 3) & ~std::size_t(3); }
  bool Allocate(int w, int h) {
    delete[] bytes;
    width = w;
    height = h;
    bytes = new std::uint8_t[Stride() * h];
    return bytes != nullptr;
  }
  void Take(Pixels& other) {
    delete[] bytes;
    bytes = other.bytes;
    width = other.width;
    height = other.height;
    other.bytes = nullptr;
  }
};

bool ResourceBytes(HINSTANCE instance, unsigned id, const char* type, const std::uint8_t** data, DWORD* size) {
  HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(id), type);
  HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
  *data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
  *size = found ? SizeofResource(instance, found) : 0;
  return *data != nullptr;
}

// The size of the 100 % picture, from its bitmap resource's header.
bool DesignSize(HINSTANCE instance, unsigned designId, int* width, int* height) {
  const std::uint8_t* data = nullptr;
  DWORD size = 0;
  if (!ResourceBytes(instance, designId, MAKEINTRESOURCEA(2), &data, &size) || size < sizeof(BITMAPINFOHEADER))
    return false;
  BITMAPINFOHEADER header;
  CopyMemory(&header, data, sizeof header);
  *width = header.biWidth;
  *height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  return *width > 0 && *height > 0;
}

// The 100 % picture's pixels, decoded by the system from its resource.
bool DesignPixels(HINSTANCE instance, unsigned designId, HDC dc, Pixels* out) {
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(instance, MAKEINTRESOURCEA(designId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bitmap) return false;
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  bool ok = info.bmWidth > 0 && info.bmHeight > 0 && out->Allocate(info.bmWidth, info.bmHeight);
  if (ok) {
    BITMAPINFO request = TopDownRgbFormat(info.bmWidth, info.bmHeight);
    ok = GetDIBits(dc, bitmap, 0, info.bmHeight, out->bytes, &request, DIB_RGB_COLORS) == info.bmHeight;
  }
  DeleteObject(bitmap);
  return ok;
}

// The picture of set setDpi: the 100 % bitmap, or a packed picture decoded
// over the set it is stored over.
bool SetPixels(HINSTANCE instance, unsigned designId, int setDpi, HDC dc, Pixels* out, int depth = 0) {
  if (setDpi == kDesignDpi) return DesignPixels(instance, designId, dc, out);
  const std::uint8_t* data = nullptr;
  DWORD size = 0;
  PackedPictureInfo info;
  if (depth > kPictureSetCount || !ResourceBytes(instance, PictureSetResourceId(designId, setDpi), kPackedType, &data, &size) ||
      !ReadPackedPictureHeader(data, size, &info) || info.dpi != setDpi || info.baseDpi >= setDpi)
    return false;
  Pixels base;
  if (!SetPixels(instance, designId, info.baseDpi, dc, &base, depth + 1) || base.width != info.baseWidth ||
      base.height != info.baseHeight || !out->Allocate(info.width, info.height))
    return false;
  const std::size_t scratchSize = PackedPictureScratch(info);
  std::uint8_t* scratch = new std::uint8_t[scratchSize];
  const bool ok =
      DecodePackedPicture(data, size, base.bytes, base.Stride(), out->bytes, out->Stride(), scratch, scratchSize);
  delete[] scratch;
  return ok;
}

// The picture at dpi: its set's, reduced (or, beyond the largest set,
// enlarged) to the size the scale gives.
bool ScaledPixels(HINSTANCE instance, unsigned designId, int dpi, HDC dc, Pixels* out) {
  int designWidth = 0;
  int designHeight = 0;
  if (!DesignSize(instance, designId, &designWidth, &designHeight)) return false;
  int width = 0;
  int height = 0;
  ScaledPictureSize(designWidth, designHeight, dpi, &width, &height);
  Pixels set;
  if (!SetPixels(instance, designId, PictureSetFor(dpi), dc, &set) &&
      !SetPixels(instance, designId, kDesignDpi, dc, &set))
    return false;
  if (set.width == width && set.height == height) {
    out->Take(set);
    return true;
  }
  if (!out->Allocate(width, height)) return false;
  // Pure white is see-through in the pictures drawn over others; the
  // background has none, so it is never told apart.
  const std::size_t scratchCount = ResampleScratch(set.height, width);
  float* scratch = new float[scratchCount];
  const bool ok = ResamplePicture(set.bytes, set.Stride(), set.width, set.height, out->bytes, out->Stride(), width,
                                  height, true, scratch, scratchCount);
  delete[] scratch;
  return ok;
}

}  // namespace

int LoadPictureAtDpi(unsigned int designId, int dpi, JBitmap* record, HINSTANCE instance, HDC dc) {
  if (dpi <= 0 || dpi == kDesignDpi) return LoadCachedBitmap(designId, record, instance, dc);
  const unsigned key = ScaledKey(designId, dpi);
  if (TakeCachedBitmap(key, record)) return 0;

  WindowDC screen(nullptr, dc == nullptr);
  if (!dc) dc = screen.dc();
  Pixels pixels;
  if (!ScaledPixels(instance, designId, dpi, dc, &pixels)) return LoadCachedBitmap(designId, record, instance, dc);

  BITMAPINFO format = TopDownRgbFormat(pixels.width, pixels.height);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return LoadCachedBitmap(designId, record, instance, dc);
  }
  CopyMemory(bits, pixels.bytes, pixels.Stride() * pixels.height);
  record->bitmap = bitmap;
  record->memDC = CreateCompatibleDC(dc);
  SelectObject(record->memDC, bitmap);  // stays selected while the slot lives
  record->width = pixels.width;
  record->height = pixels.height;
  SetRect(&record->extent, 0, 0, record->width, record->height);
  KeepCachedBitmap(key, record);
  return 1;
}
