#include "tests/support/Picture.h"

#include <cstdio>
#include <cstring>

bool Picture::SaveBmp(const std::string& path) const {
  const int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as most viewers expect
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biSizeImage = static_cast<DWORD>(stride * height);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1;
  std::vector<unsigned char> row(stride, 0);
  for (int y = height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = At(x, y);
      row[x * 3 + 0] = static_cast<unsigned char>(c);
      row[x * 3 + 1] = static_cast<unsigned char>(c >> 8);
      row[x * 3 + 2] = static_cast<unsigned char>(c >> 16);
    }
    ok = std::fwrite(row.data(), 1, row.size(), out) == row.size();
  }
  return std::fclose(out) == 0 && ok;
}

Picture ReadBmpFile(const std::string& path) {
  Picture picture;
  FILE* in = std::fopen(path.c_str(), "rb");
  if (!in) return picture;
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  std::size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  std::fclose(in);
  BITMAPFILEHEADER file;
  BITMAPINFOHEADER info;
  if (bytes.size() < sizeof file + sizeof info) return picture;
  std::memcpy(&file, bytes.data(), sizeof file);
  std::memcpy(&info, bytes.data() + sizeof file, sizeof info);
  if (file.bfType != 0x4D42 || info.biBitCount != 24 || info.biCompression != BI_RGB || info.biWidth <= 0) return picture;
  const int width = info.biWidth;
  const int height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3);
  if (file.bfOffBits + stride * height > bytes.size()) return picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const int row = info.biHeight < 0 ? y : height - 1 - y;
    const unsigned char* p = bytes.data() + file.bfOffBits + stride * row;
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<std::size_t>(y) * width + x] =
          (static_cast<std::uint32_t>(p[x * 3 + 2]) << 16) | (p[x * 3 + 1] << 8) | p[x * 3];
  }
  return picture;
}

Picture CaptureClient(HWND window) {
  Picture picture;
  RECT client;
  if (!GetClientRect(window, &client)) return picture;
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  picture.width = client.right;
  picture.height = client.bottom;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    std::uint32_t* p = static_cast<std::uint32_t*>(bits);
    for (int i = 0; i < picture.width * picture.height; ++i) p[i] = kSentinel;
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    picture.pixels.assign(p, p + picture.width * picture.height);
    for (auto& c : picture.pixels) c &= 0xFFFFFF;
    SelectObject(memory, previous);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (picture.pixels.empty()) picture.width = picture.height = 0;
  return picture;
}

namespace {

// Reads the pixel rows of a DIB resource (header, colour table, bits) into
// picture: 24-bit, or 8- and 4-bit palettes, uncompressed or run-length
// encoded. Returns false on anything it cannot read completely; every pixel
// of a run-length picture must be set by a run.
bool DecodeDib(const BYTE* bytes, DWORD size, Picture* picture) {
  BITMAPINFOHEADER header;
  if (size < sizeof header) return false;
  std::memcpy(&header, bytes, sizeof header);
  const int bits = header.biBitCount;
  const int width = header.biWidth;
  const bool bottomUp = header.biHeight > 0;
  const int height = bottomUp ? header.biHeight : -header.biHeight;
  if (header.biSize != sizeof header || width <= 0 || height <= 0 || width > 4096 || height > 4096) return false;
  const bool rle = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
  if (!(header.biCompression == BI_RGB && (bits == 24 || bits == 8 || bits == 4)) &&
      !(header.biCompression == BI_RLE8 && bits == 8) && !(header.biCompression == BI_RLE4 && bits == 4))
    return false;
  const DWORD colours = bits == 24 ? 0 : (header.biClrUsed ? header.biClrUsed : 1u << bits);
  if (colours > (1u << bits) || header.biSize + colours * 4 > size) return false;
  const BYTE* table = bytes + header.biSize;
  const BYTE* data = table + colours * 4;
  const DWORD dataSize = size - header.biSize - colours * 4;
  auto entry = [&](unsigned index, std::uint32_t* out) {
    if (index >= colours) return false;
    const BYTE* q = table + index * 4;
    *out = (static_cast<std::uint32_t>(q[2]) << 16) | (q[1] << 8) | q[0];
    return true;
  };
  picture->width = width;
  picture->height = height;
  picture->pixels.assign(static_cast<std::size_t>(width) * height, kSentinel);
  auto put = [&](int x, int row, std::uint32_t c) {  // row counts in storage order
    const int y = bottomUp ? height - 1 - row : row;
    if (x < 0 || x >= width || row < 0 || row >= height) return false;
    picture->pixels[static_cast<std::size_t>(y) * width + x] = c;
    return true;
  };
  if (!rle) {
    const DWORD stride = ((static_cast<DWORD>(width) * bits + 31) / 32) * 4;
    if (stride * height > dataSize) return false;
    for (int row = 0; row < height; ++row) {
      const BYTE* r = data + stride * row;
      for (int x = 0; x < width; ++x) {
        std::uint32_t c = 0;
        if (bits == 24)
          c = (static_cast<std::uint32_t>(r[x * 3 + 2]) << 16) | (r[x * 3 + 1] << 8) | r[x * 3];
        else if (!entry(bits == 8 ? r[x] : (x % 2 ? r[x / 2] & 15 : r[x / 2] >> 4), &c))
          return false;
        put(x, row, c);
      }
    }
    return true;
  }
  if (!bottomUp) return false;  // compressed pictures are bottom-up only
  const bool four = bits == 4;
  DWORD i = 0;
  int x = 0, row = 0;
  for (;;) {
    if (i + 2 > dataSize) return false;
    const BYTE count = data[i], value = data[i + 1];
    i += 2;
    if (count) {
      for (int k = 0; k < count; ++k) {
        std::uint32_t c;
        if (!entry(four ? (k % 2 ? value & 15 : value >> 4) : value, &c) || !put(x++, row, c)) return false;
      }
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      return false;  // a delta leaves pixels undefined
    } else {
      const DWORD length = four ? (value + 1u) / 2 : value;
      if (i + length > dataSize) return false;
      for (int k = 0; k < value; ++k) {
        std::uint32_t c;
        const BYTE b = data[i + (four ? k / 2 : k)];
        if (!entry(four ? (k % 2 ? b & 15 : b >> 4) : b, &c) || !put(x++, row, c)) return false;
      }
      i += length + (length & 1);
    }
  }
  for (const auto c : picture->pixels)
    if (c == kSentinel) return false;
  return true;
}

}  // namespace

Picture LoadBitmapResource(HMODULE module, int id) {
  Picture picture;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
  if (!found) return picture;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (!bytes || !DecodeDib(bytes, size, &picture)) return Picture();
  return picture;
}
