#include "Picture.h"

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

Picture LoadBitmapResource(HMODULE module, int id) {
  Picture picture;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
  if (!found) return picture;
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (!bytes || size < sizeof(BITMAPINFOHEADER)) return picture;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);
  if (header.biBitCount != 24 || header.biCompression != BI_RGB) return picture;
  const int width = header.biWidth;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  const int stride = (width * 3 + 3) & ~3;
  if (header.biSize + static_cast<DWORD>(stride) * height > size) return picture;
  const BYTE* rows = bytes + header.biSize;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const BYTE* row = rows + static_cast<std::size_t>(header.biHeight < 0 ? y : height - 1 - y) * stride;
    for (int x = 0; x < width; ++x)
      picture.pixels[static_cast<std::size_t>(y) * width + x] =
          (static_cast<std::uint32_t>(row[x * 3 + 2]) << 16) | (row[x * 3 + 1] << 8) | row[x * 3];
  }
  return picture;
}

std::string Hex(std::uint32_t colour) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(colour));
  return text;
}
