// The built installer carries every resource the program loads, with the
// ids, languages and sizes the window's layout depends on, one manifest that
// asks for administrator rights, and both plug-in builds. The installer and
// both plug-in files carry the product's version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);  // 1033

class InstallerResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExA(INSTALLER_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module_) << "could not open " << INSTALLER_EXE << ", error " << GetLastError();
  }
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
  }

  // The bytes of one resource in US English, or null.
  static const BYTE* Bytes(LPCSTR type, LPCSTR name, DWORD* size) {
    HRSRC found = FindResourceExA(module_, type, name, kEnglishUs);
    if (!found) return nullptr;
    *size = SizeofResource(module_, found);
    HGLOBAL loaded = LoadResource(module_, found);
    return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  }

  static int CountNames(LPCSTR type) {
    int count = 0;
    EnumResourceNamesA(module_, type, CountOne, reinterpret_cast<LONG_PTR>(&count));
    return count;
  }

  static BOOL CALLBACK CountOne(HMODULE, LPCSTR, LPSTR, LONG_PTR counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
  }

  static HMODULE module_;
};

HMODULE InstallerResources::module_;

TEST_F(InstallerResources, BitmapsHaveTheirIdsAndSizes) {
  const struct {
    int id;
    LONG width;
    LONG height;
    const char* role;
  } bitmaps[] = {
      {128, 52, 13, "check-box strip"},  {203, 58, 19, "exit button"},      {213, 600, 298, "completion picture"},
      {219, 60, 19, "Install button"},    {220, 60, 19, "Finish button"},    {222, 600, 320, "background"},
      {224, 20, 19, "32-bit indicator"},  {225, 20, 19, "64-bit indicator"},
  };
  for (const auto& b : bitmaps) {
    DWORD size = 0;
    const BYTE* bytes = Bytes(RT_BITMAP, MAKEINTRESOURCEA(b.id), &size);
    ASSERT_NE(nullptr, bytes) << "bitmap " << b.id << " (" << b.role << ") missing in language 1033";
    ASSERT_GE(size, sizeof(BITMAPINFOHEADER)) << "bitmap " << b.id;
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    EXPECT_EQ(b.width, header.biWidth) << "width of bitmap " << b.id << " (" << b.role << ")";
    EXPECT_EQ(b.height, header.biHeight < 0 ? -header.biHeight : header.biHeight)
        << "height of bitmap " << b.id << " (" << b.role << ")";
  }
  EXPECT_EQ(8, CountNames(RT_BITMAP)) << "no other bitmaps";
}

TEST_F(InstallerResources, CursorAndIcon) {
  DWORD size = 0;
  EXPECT_NE(nullptr, Bytes(RT_GROUP_CURSOR, MAKEINTRESOURCEA(120), &size)) << "link cursor 120";
  EXPECT_NE(nullptr, Bytes(RT_GROUP_ICON, "MAINICON", &size)) << "program icon MAINICON";
}

// The icon group as the resource compiler stores it: GRPICONDIR with one
// GRPICONDIRENTRY (14 bytes, the image's RT_ICON id last) per image.
TEST_F(InstallerResources, IconHasEverySizeFrom16To256AndThe256OneIsPng) {
  DWORD size = 0;
  const BYTE* group = Bytes(RT_GROUP_ICON, "MAINICON", &size);
  ASSERT_NE(nullptr, group) << "program icon MAINICON";
  ASSERT_GE(size, 6u);
  WORD count;
  std::memcpy(&count, group + 4, 2);
  ASSERT_EQ(6u + 14u * count, size) << "group size for " << count << " images";
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    const BYTE* entry = group + 6 + 14 * i;
    const int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
    EXPECT_EQ(width, height) << "image " << i;
    WORD bits, id;
    DWORD bytes;
    std::memcpy(&bits, entry + 6, 2);
    std::memcpy(&bytes, entry + 8, 4);
    std::memcpy(&id, entry + 12, 2);
    EXPECT_EQ(32, bits) << "colour depth of the " << width << " px image";
    sizes.push_back(width);

    DWORD imageSize = 0;
    const BYTE* image = Bytes(RT_ICON, MAKEINTRESOURCEA(id), &imageSize);
    ASSERT_NE(nullptr, image) << "RT_ICON " << id << " (" << width << " px) missing in language 1033";
    EXPECT_EQ(bytes, imageSize) << "size of the " << width << " px image";
    static const BYTE kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const bool png = imageSize >= 24 && std::memcmp(image, kPng, 8) == 0;
    EXPECT_EQ(width == 256, png) << "the " << width << " px image is " << (png ? "" : "not ") << "a PNG";
    if (png) {
      // IHDR is the first chunk: width and height big-endian at 16 and 20.
      const BYTE* ihdr = image + 16;
      EXPECT_EQ(256u, (ihdr[0] << 24u) | (ihdr[1] << 16u) | (ihdr[2] << 8u) | ihdr[3]) << "PNG width";
      EXPECT_EQ(256u, (ihdr[4] << 24u) | (ihdr[5] << 16u) | (ihdr[6] << 8u) | ihdr[7]) << "PNG height";
    } else if (imageSize >= sizeof(BITMAPINFOHEADER)) {
      BITMAPINFOHEADER header;
      std::memcpy(&header, image, sizeof header);
      EXPECT_EQ(width, header.biWidth) << "DIB width";
      EXPECT_EQ(2 * width, header.biHeight) << "DIB height (colour and mask)";
    }
    // And the system makes an icon of it.
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), imageSize, TRUE, 0x00030000, width, width, 0);
    EXPECT_NE(nullptr, icon) << "the " << width << " px image does not load, error " << GetLastError();
    if (icon) DestroyIcon(icon);
  }
  EXPECT_EQ((std::vector<int>{16, 24, 32, 48, 256}), sizes) << "image sizes in the group";
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The template "MAIN" as the dialog manager makes it into a window: the
// style, text and size it gives the window, and the two controls with their
// classes, styles and places (dialog units converted by the window itself).
TEST_F(InstallerResources, MainDialogAsTheDialogManagerMakesIt) {
  DWORD size = 0;
  const BYTE* bytes = Bytes(RT_DIALOG, "MAIN", &size);
  ASSERT_NE(nullptr, bytes) << "dialog MAIN missing in language 1033";
  HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(bytes),
                                           nullptr, QuietDialog, 0);
  ASSERT_NE(nullptr, dialog) << "the template does not make a dialog, error " << GetLastError();

  const DWORD style = static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE));
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP), style & (WS_POPUP | WS_CHILD | WS_CAPTION | WS_BORDER | WS_THICKFRAME))
      << std::hex << "a caption-less popup, style seen " << style;
  EXPECT_EQ(0u, static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)) & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
  char text[64] = "";
  GetWindowTextA(dialog, text, sizeof text);
  EXPECT_STREQ("iRelief Setup", text) << "the window's text (a caption-less window still has one)";
  EXPECT_EQ(nullptr, GetMenu(dialog)) << "no menu";
  char dialogClass[16] = "";
  GetClassNameA(dialog, dialogClass, sizeof dialogClass);
  EXPECT_STREQ("#32770", dialogClass) << "the standard dialog class";
  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ("MS Sans Serif", font.lfFaceName) << "the template's font";
  RECT frame;
  RECT work;
  GetWindowRect(dialog, &frame);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((work.left + work.right) / 2, (frame.left + frame.right) / 2, 1) << "centred (DS_CENTER)";
  EXPECT_NEAR((work.top + work.bottom) / 2, (frame.top + frame.bottom) / 2, 1) << "centred (DS_CENTER)";
  auto pixels = [&](int x, int y, int cx, int cy) {
    RECT r = {x, y, x + cx, y + cy};
    MapDialogRect(dialog, &r);
    return r;
  };
  RECT client;
  GetClientRect(dialog, &client);
  const RECT whole = pixels(0, 0, 400, 300);
  EXPECT_EQ(whole.right, client.right) << "400 dialog units wide";
  EXPECT_EQ(whole.bottom, client.bottom) << "300 dialog units high";

  const struct {
    int id;
    const char* className;
    DWORD style;
    bool visible;
    RECT place;  // in dialog units: x, y, width, height
  } controls[] = {
      {1033, "ComboBox", WS_TABSTOP | CBS_DROPDOWNLIST, true, {35, 72, 204, 214}},
      {1034, "Button", BS_PUSHBUTTON, false, {0, 0, 6, 6}},
  };
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const auto& c : controls) {
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    ASSERT_NE(nullptr, child) << "fewer controls than two";
    EXPECT_EQ(c.id, GetDlgCtrlID(child)) << "the controls' order";
    char name[32] = "";
    GetClassNameA(child, name, sizeof name);
    EXPECT_EQ(0, lstrcmpiA(c.className, name)) << "class " << name;
    const DWORD itemStyle = static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE));
    const DWORD expected = WS_CHILD | c.style | (c.visible ? WS_VISIBLE : 0);
    EXPECT_EQ(expected, itemStyle) << std::hex << "style " << itemStyle << ", expected " << expected;
    char caption[8] = "x";
    GetWindowTextA(child, caption, sizeof caption);
    EXPECT_STREQ("", caption);
    RECT box;
    GetWindowRect(child, &box);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
    const RECT want = pixels(c.place.left, c.place.top, c.place.right, c.place.bottom);
    EXPECT_EQ(want.left, box.left);
    EXPECT_EQ(want.top, box.top);
    EXPECT_EQ(want.right - want.left, box.right - box.left) << "width";
    // A drop-down list's window is its closed field; the height is the list's.
    if (c.id != 1033) EXPECT_EQ(want.bottom - want.top, box.bottom - box.top) << "height";
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(nullptr, child) << "no third control";
  DestroyWindow(dialog);
}

TEST_F(InstallerResources, OneManifestAskingForAdministratorRights) {
  EXPECT_EQ(1, CountNames(RT_MANIFEST)) << "exactly one manifest";
  DWORD size = 0;
  const BYTE* bytes = Bytes(RT_MANIFEST, MAKEINTRESOURCEA(1), &size);
  ASSERT_NE(nullptr, bytes) << "manifest 1 missing";
  const std::string manifest(reinterpret_cast<const char*>(bytes), size);
  EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\"")) << manifest;
  EXPECT_NE(std::string::npos, manifest.find("uiAccess=\"false\"")) << manifest;
}

// The manifest as the system reads it: an activation context made from the
// exe's manifest resource, asked for what the loader will use.
TEST_F(InstallerResources, ManifestDeclaresVersionSupportedSystemsControlsAndDpi) {
  DWORD size = 0;
  const BYTE* bytes = Bytes(RT_MANIFEST, MAKEINTRESOURCEA(1), &size);
  ASSERT_NE(nullptr, bytes) << "manifest 1 missing";
  const std::string manifest(reinterpret_cast<const char*>(bytes), size);
  EXPECT_NE(std::string::npos, manifest.find("name=\"Mirefold.iRelief.Setup\" version=\"" PRODUCT_VERSION "\""))
      << "own identity with the product version " PRODUCT_VERSION ":\n" << manifest;

  ACTCTXA request{};
  request.cbSize = sizeof request;
  request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  request.lpSource = INSTALLER_EXE;
  request.lpResourceName = MAKEINTRESOURCEA(1);
  HANDLE context = CreateActCtxA(&request);
  ASSERT_NE(INVALID_HANDLE_VALUE, context) << "the system refuses the manifest, error " << GetLastError();

  // DPI: per-monitor aware, version 2 first, by the new setting; per-monitor
  // ("true/pm") by the old one that Windows 8.1 reads.
  const struct {
    const wchar_t* space;
    const wchar_t* name;
    const wchar_t* expected;
  } settings[] = {
      {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
      {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness", L"PerMonitorV2, PerMonitor"},
  };
  for (const auto& setting : settings) {
    wchar_t value[64];
    std::wmemset(value, L'#', 64);
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, context, setting.space, setting.name, value, 64, &written))
        << "setting not declared, error " << GetLastError();
    EXPECT_STREQ(setting.expected, value);
  }

  // Compatibility: the ids of Vista, 7, 8, 8.1 and 10/11, found in the
  // system's answer (whose element layout differs between versions).
  static const GUID kSystems[] = {
      {0xe2011457, 0x1546, 0x43c5, {0xa5, 0xfe, 0x00, 0x8d, 0xee, 0xe3, 0xd3, 0xf0}},
      {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},
      {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},
      {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},
      {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},
  };
  const char* names[] = {"Vista", "7", "8", "8.1", "10/11"};
  std::vector<BYTE> compat(4096, 0xA5);
  SIZE_T needed = 0;
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, compat.data(),
                           compat.size(), &needed))
      << "error " << GetLastError();
  DWORD elements;
  std::memcpy(&elements, compat.data(), 4);
  EXPECT_EQ(5u, elements) << "compatibility elements";
  for (int i = 0; i < 5; ++i) {
    bool found = false;
    for (SIZE_T at = 4; at + sizeof(GUID) <= needed && !found; ++at)
      found = std::memcmp(compat.data() + at, &kSystems[i], sizeof(GUID)) == 0;
    EXPECT_TRUE(found) << "supportedOS of Windows " << names[i];
  }

  // The assemblies: this program's own, of the product version, then the
  // Common Controls 6 it depends on.
  std::vector<BYTE> details(8192);  // with the paths that follow the structure
  ASSERT_TRUE(QueryActCtxW(0, context, nullptr, ActivationContextDetailedInformation, details.data(),
                           details.size(), &needed))
      << "error " << GetLastError();
  const DWORD assemblies =
      reinterpret_cast<const ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(details.data())->ulAssemblyCount;
  EXPECT_EQ(2u, assemblies) << "assemblies: the program and the Common Controls";
  std::vector<std::wstring> identities;
  for (DWORD index = 1; index <= assemblies; ++index) {
    std::vector<BYTE> buffer(8192);
    if (!QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext, buffer.data(),
                      buffer.size(), &needed)) {
      ADD_FAILURE() << "assembly " << index << ", error " << GetLastError();
      continue;
    }
    const auto* assembly = reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    identities.emplace_back(assembly->lpAssemblyEncodedAssemblyIdentity
                                ? assembly->lpAssemblyEncodedAssemblyIdentity
                                : L"");
  }
  ASSERT_EQ(2u, identities.size());
  EXPECT_NE(std::wstring::npos, identities[0].find(L"Mirefold.iRelief.Setup")) << "own identity";
  EXPECT_NE(std::wstring::npos, identities[0].find(L"version=\"" PRODUCT_VERSION "\"")) << "own version";
  EXPECT_NE(std::wstring::npos, identities[1].find(L"Microsoft.Windows.Common-Controls")) << "dependency";
  EXPECT_NE(std::wstring::npos, identities[1].find(L"version=\"6.0.")) << "Common Controls 6";
  ReleaseActCtx(context);
}

// The version resource of each built file, read through the system as
// Explorer reads it, and printed for the record.
TEST(VersionResources, InstallerAndBothPluginsCarryTheProductVersionAndTheirNames) {
  const struct {
    const wchar_t* path;
    const wchar_t* description;
    const wchar_t* originalName;
    const wchar_t* internalName;
    DWORD fileType;
  } files[] = {
      {L"" INSTALLER_EXE, L"iRelief Setup", L"iRelief-Setup.exe", L"iRelief-Setup", VFT_APP},
      {L"" PLUGIN32_PATH, L"iRelief filter plug-in for 32-bit hosts", L"iRelief.8bf", L"iRelief", VFT_DLL},
      {L"" PLUGIN64_PATH, L"iRelief filter plug-in for 64-bit hosts", L"iRelief(X64).8bf", L"iRelief(X64)", VFT_DLL},
  };
  unsigned expected[4] = {};
  ASSERT_EQ(4, std::sscanf(PRODUCT_VERSION, "%u.%u.%u.%u", &expected[0], &expected[1], &expected[2], &expected[3]));
  for (const auto& file : files) {
    SCOPED_TRACE(testing::Message() << "file " << std::wstring(file.path).c_str());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.path, &ignored);
    ASSERT_NE(0u, size) << "no version resource, error " << GetLastError();
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(file.path, 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(expected[1], expected[0]), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(expected[3], expected[2]), fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ(file.fileType, fixed->dwFileType);
    EXPECT_EQ(static_cast<DWORD>(VOS_NT_WINDOWS32), fixed->dwFileOS);
    EXPECT_EQ(0u, fixed->dwFileFlags) << "a release build";

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(4u, length) << "one translation";
    EXPECT_EQ(1033, translation[0]) << "language";
    EXPECT_EQ(1200, translation[1]) << "code page (Unicode)";

    const struct {
      const wchar_t* field;
      std::wstring expected;
    } strings[] = {
        {L"FileDescription", file.description},
        {L"CompanyName", L"Mirefold"},
        {L"ProductName", L"iRelief"},
        {L"FileVersion", L"" PRODUCT_VERSION},
        {L"ProductVersion", L"" PRODUCT_VERSION},
        {L"OriginalFilename", file.originalName},
        {L"InternalName", file.internalName},
        {L"LegalCopyright", L"Copyright \u00A9 " COPYRIGHT_YEAR L" Mirefold"},
    };
    std::printf("%ls\n", file.path);
    for (const auto& field : strings) {
      const std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + field.field;
      wchar_t* value = nullptr;
      std::wstring seen = L"(missing)";
      if (VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value)
        seen.assign(value, wcsnlen(value, length));
      char line[512];
      WideCharToMultiByte(CP_UTF8, 0, seen.c_str(), -1, line, sizeof line, nullptr, nullptr);
      std::printf("  %-17ls %s\n", field.field, line);
      EXPECT_EQ(field.expected, seen) << "field " << std::wstring(field.field).c_str();
    }
  }
}

TEST_F(InstallerResources, BothPluginBuildsAsPayload) {
  DWORD size = 0;
  EXPECT_NE(nullptr, Bytes(MAKEINTRESOURCEA(3000), ":I__RELIEF.8BF", &size)) << "32-bit build";
  EXPECT_GT(size, 1024u);
  EXPECT_NE(nullptr, Bytes(MAKEINTRESOURCEA(3001), ":I__RELIEF(X64).8BF", &size)) << "64-bit build";
  EXPECT_GT(size, 1024u);
  EXPECT_EQ(1, CountNames(MAKEINTRESOURCEA(3000)));
  EXPECT_EQ(1, CountNames(MAKEINTRESOURCEA(3001)));
}

}  // namespace
