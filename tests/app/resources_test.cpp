// The built installer carries every resource the program loads, with the
// ids, languages and sizes the window's layout depends on, one manifest that
// asks for administrator rights, and both plug-in builds.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

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

// Reads a DLGTEMPLATE's variable-length fields.
struct TemplateReader {
  const BYTE* p;
  WORD Word() {
    WORD w;
    std::memcpy(&w, p, 2);
    p += 2;
    return w;
  }
  DWORD Dword() {
    DWORD d;
    std::memcpy(&d, p, 4);
    p += 4;
    return d;
  }
  // A name-or-ordinal field: the ordinal, or 0 with text filled.
  WORD NameOrOrdinal(std::wstring* text) {
    WORD first = Word();
    if (first == 0xFFFF) return Word();
    text->clear();
    for (WORD c = first; c; c = Word()) text->push_back(static_cast<wchar_t>(c));
    return 0;
  }
  void AlignDword(const BYTE* base) {
    while ((p - base) % 4) ++p;
  }
};

TEST_F(InstallerResources, MainDialogTemplate) {
  DWORD size = 0;
  const BYTE* bytes = Bytes(RT_DIALOG, "MAIN", &size);
  ASSERT_NE(nullptr, bytes) << "dialog MAIN missing in language 1033";
  TemplateReader r{bytes};
  const DWORD style = r.Dword();
  EXPECT_EQ(static_cast<DWORD>(WS_POPUP | DS_CENTER | DS_SETFONT), style) << std::hex << "style seen " << style;
  EXPECT_EQ(0u, r.Dword()) << "no extended style";
  const WORD items = r.Word();
  ASSERT_EQ(2, items) << "controls";
  const short x = static_cast<short>(r.Word()), y = static_cast<short>(r.Word());
  const short cx = static_cast<short>(r.Word()), cy = static_cast<short>(r.Word());
  EXPECT_EQ(0, x);
  EXPECT_EQ(0, y);
  EXPECT_EQ(400, cx) << "width in dialog units";
  EXPECT_EQ(300, cy) << "height in dialog units";
  std::wstring text;
  EXPECT_EQ(0, r.NameOrOrdinal(&text));
  EXPECT_EQ(L"", text) << "no menu";
  EXPECT_EQ(0, r.NameOrOrdinal(&text));
  EXPECT_EQ(L"", text) << "the standard dialog class";
  EXPECT_EQ(0, r.NameOrOrdinal(&text));
  EXPECT_EQ(L"", text) << "no caption";
  EXPECT_EQ(8, r.Word()) << "font size";
  r.NameOrOrdinal(&text);
  EXPECT_EQ(L"MS Sans Serif", text);

  const struct {
    WORD id;
    WORD classAtom;
    const wchar_t* className;
    DWORD style;
    short x, y, cx, cy;
  } expected[] = {
      {1033, 0x0085, L"combobox", WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 35, 72, 204, 214},
      {1034, 0x0080, L"button", WS_CHILD | BS_PUSHBUTTON, 0, 0, 6, 6},
  };
  for (const auto& e : expected) {
    r.AlignDword(bytes);
    const DWORD itemStyle = r.Dword();
    r.Dword();  // extended style
    const short ix = static_cast<short>(r.Word()), iy = static_cast<short>(r.Word());
    const short icx = static_cast<short>(r.Word()), icy = static_cast<short>(r.Word());
    const WORD id = r.Word();
    EXPECT_EQ(e.id, id);
    EXPECT_EQ(e.style, itemStyle) << std::hex << "style of control " << std::dec << e.id << ", seen " << std::hex
                                  << itemStyle;
    EXPECT_EQ(e.x, ix) << "control " << e.id;
    EXPECT_EQ(e.y, iy) << "control " << e.id;
    EXPECT_EQ(e.cx, icx) << "control " << e.id;
    EXPECT_EQ(e.cy, icy) << "control " << e.id;
    // The class is the predefined atom or its name.
    const WORD atom = r.NameOrOrdinal(&text);
    if (atom) {
      EXPECT_EQ(e.classAtom, atom) << "class of control " << e.id;
    } else {
      EXPECT_EQ(0, lstrcmpiW(e.className, text.c_str())) << "class of control " << e.id << " seen by name";
    }
    r.NameOrOrdinal(&text);
    EXPECT_EQ(L"", text) << "text of control " << e.id;
    const WORD extra = r.Word();
    r.p += extra;
  }
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
