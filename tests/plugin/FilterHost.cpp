#include "tests/plugin/FilterHost.h"

#include <cstring>
#include <algorithm>
#include <memory>

#include "plugin/PiplReader.h"

using namespace relief;

namespace {

#ifdef _WIN64
const char kEntryKey[] = "8664";
#else
const char kEntryKey[] = "wx86";
#endif

BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
  *reinterpret_cast<LPCSTR*>(found) = name;
  return FALSE;
}

// The run in progress, for the callbacks, which get no context.
RunOutcome* current = nullptr;
int currentAbortAt = 0;

unsigned char TestAbort() {
  ++current->abortChecks;
  return currentAbortAt > 0 && current->abortChecks >= currentAbortAt;
}

void ReportProgress(int32_t done, int32_t total) { current->progress.emplace_back(done, total); }

constexpr uint8_t kPad = 0xA5;
constexpr int kTail = 16;

// Handles as the host makes them: a block with its size in front.
struct HostHandle {
  int32_t size;
  int locks;
  uint8_t* bytes;
};
int liveHandles = 0;

void* NewHandle(int32_t size) {
  if (size < 0) return nullptr;
  ++liveHandles;
  return new HostHandle{size, 0, new uint8_t[size > 0 ? size : 1]()};
}
void DisposeHandle(void* h) {
  if (!h) return;
  --liveHandles;
  delete[] static_cast<HostHandle*>(h)->bytes;
  delete static_cast<HostHandle*>(h);
}
int32_t HandleSize(void* h) { return h ? static_cast<HostHandle*>(h)->size : 0; }
int16_t SetHandleSize(void* h, int32_t size) {
  auto* handle = static_cast<HostHandle*>(h);
  if (!handle || size < 0 || handle->locks) return -108;
  auto* bytes = new uint8_t[size > 0 ? size : 1]();
  std::memcpy(bytes, handle->bytes, std::size_t(std::min(size, handle->size)));
  delete[] handle->bytes;
  handle->bytes = bytes;
  handle->size = size;
  return 0;
}
void* LockHandle(void* h, unsigned char) {
  if (!h) return nullptr;
  ++static_cast<HostHandle*>(h)->locks;
  return static_cast<HostHandle*>(h)->bytes;
}
void UnlockHandle(void* h) {
  if (h) --static_cast<HostHandle*>(h)->locks;
}
HandleProcsView handleProcs{1, 8, NewHandle, DisposeHandle, HandleSize, SetHandleSize, LockHandle, UnlockHandle};

// Scripting descriptors as the host keeps them: lists of items.
struct Descriptor {
  std::vector<ScriptItem> items;
};
struct Reader {
  Descriptor* from;
  std::size_t next;
  std::size_t current;
};
void* OpenRead(void* descriptor, uint32_t*) { return new Reader{static_cast<Descriptor*>(descriptor), 0, 0}; }
int16_t CloseRead(void* reader) {
  delete static_cast<Reader*>(reader);
  return 0;
}
unsigned char GetKey(void* reader, uint32_t* key, uint32_t* type, int32_t* flags) {
  auto* r = static_cast<Reader*>(reader);
  if (r->next >= r->from->items.size()) return 0;
  r->current = r->next++;
  *key = r->from->items[r->current].key;
  *type = r->from->items[r->current].boolean ? FourCC("bool") : FourCC("long");
  *flags = 0;
  return 1;
}
int16_t GetInteger(void* reader, int32_t* value) {
  auto* r = static_cast<Reader*>(reader);
  if (r->from->items[r->current].boolean) return -1715;  // wrong type
  *value = r->from->items[r->current].value;
  return 0;
}
int16_t GetBoolean(void* reader, unsigned char* value) {
  auto* r = static_cast<Reader*>(reader);
  if (!r->from->items[r->current].boolean) return -1715;
  *value = r->from->items[r->current].value != 0;
  return 0;
}
void* OpenWrite() { return new Descriptor; }
int16_t CloseWrite(void* writer, void** descriptor) {
  *descriptor = writer;
  return 0;
}
int16_t PutInteger(void* writer, uint32_t key, int32_t value) {
  static_cast<Descriptor*>(writer)->items.push_back(ScriptItem{key, value, false});
  return 0;
}
int16_t PutBoolean(void* writer, uint32_t key, unsigned char value) {
  static_cast<Descriptor*>(writer)->items.push_back(ScriptItem{key, value, true});
  return 0;
}
ReadDescriptorProcsView readProcs{0, 16, OpenRead, CloseRead, GetKey, GetInteger, nullptr, nullptr, GetBoolean};
WriteDescriptorProcsView writeProcs{0, 16, OpenWrite, CloseWrite, PutInteger, nullptr, nullptr, PutBoolean};

struct Scripting {
  DescriptorParametersView parameters{};
  Descriptor* given = nullptr;
  std::vector<ScriptItem>* kept = nullptr;

  void Offer(FilterRecordView* r, const RunOptions& options) {
    kept = options.script;
    if (!kept) return;
    if (!kept->empty()) given = new Descriptor{*kept};
    parameters = DescriptorParametersView{0, options.playInfo, 0, given, &writeProcs, &readProcs};
    r->descriptorParameters = &parameters;
  }
  ~Scripting() {
    if (!kept) return;
    auto* now = static_cast<Descriptor*>(parameters.descriptor);
    kept->clear();
    if (now) *kept = now->items;
    if (now != given) delete now;
    delete given;
  }
};

// displayPixels: notes what it is asked to draw and draws it.
DisplayedPixels displayed;
CRITICAL_SECTION* DisplayLock() {
  static CRITICAL_SECTION lock;
  static bool made = (InitializeCriticalSection(&lock), true);
  (void)made;
  return &lock;
}
int16_t DisplayPixels(const PixelMapView* map, const VRectView* part, int32_t row, int32_t column, void* context) {
  if (!map || !part || !map->baseAddr) return -1;
  const int w = part->right - part->left, h = part->bottom - part->top;
  const bool sound = map->version >= 1 && map->imageMode == kModeRgb && map->colBytes == 3 && map->planeBytes == 1 &&
                     map->rowBytes >= w * 3 && part->left >= map->bounds.left && part->right <= map->bounds.right &&
                     part->top >= map->bounds.top && part->bottom <= map->bounds.bottom && w > 0 && h > 0;
  uint32_t sum = 2166136261u;
  std::vector<uint8_t> bgrx(std::size_t(w > 0 ? w : 0) * (h > 0 ? h : 0) * 4);
  if (sound) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = static_cast<const uint8_t*>(map->baseAddr) + std::size_t(part->top + y) * map->rowBytes +
                           std::size_t(part->left + x) * 3;
        for (int c = 0; c < 3; ++c) {
          sum = (sum ^ p[c]) * 16777619u;
          bgrx[(std::size_t(y) * w + x) * 4 + 2 - c] = p[c];
        }
      }
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(static_cast<HDC>(context), column, row, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), bgrx.data(),
                      &info, DIB_RGB_COLORS);
  }
  EnterCriticalSection(DisplayLock());
  ++displayed.calls;
  displayed.width = w;
  displayed.height = h;
  displayed.sound = displayed.sound && sound;
  displayed.checksums.push_back(sum);
  LeaveCriticalSection(DisplayLock());
  return 0;
}

// The parameters handle from the bytes a test keeps, and back.
void* HandleFrom(const std::vector<uint8_t>* kept) {
  if (!kept || kept->empty()) return nullptr;
  void* h = NewHandle(int32_t(kept->size()));
  std::memcpy(static_cast<HostHandle*>(h)->bytes, kept->data(), kept->size());
  return h;
}
void KeepHandle(void* h, std::vector<uint8_t>* kept, RunOutcome* outcome) {
  if (h && static_cast<HostHandle*>(h)->locks) outcome->problems.push_back("the parameters handle is left locked");
  if (kept) {
    kept->clear();
    if (h) kept->assign(static_cast<HostHandle*>(h)->bytes, static_cast<HostHandle*>(h)->bytes + HandleSize(h));
  }
  DisposeHandle(h);
}

// One host buffer holding a rectangle of some planes of the image.
struct Buffer {
  HostRect rect{};
  int lo = 0, count = 0;
  int32_t rowBytes = 0;
  std::vector<uint8_t> bytes;

  int sampleBytes = 1;

  void Fill(const TestImage& image, const HostRect& r, int firstPlane, int lastPlane, int padding) {
    rect = r;
    lo = firstPlane;
    count = lastPlane - firstPlane + 1;
    sampleBytes = image.sampleBytes;
    const int width = r.right - r.left;
    rowBytes = (width * count + padding) * sampleBytes;
    // Two bytes more in front, so that 16-bit samples can start on an even address.
    bytes.assign(std::size_t(rowBytes) * (r.bottom - r.top) + kTail + 2, kPad);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        for (int p = 0; p < count; ++p) Put(Index(x, y, p), image.At(x, y, lo + p));
  }
  uint8_t* Data() { return bytes.data() + Front(); }
  std::size_t Front() const { return (2 - reinterpret_cast<uintptr_t>(bytes.data()) % 2) % 2; }
  std::size_t Index(int x, int y, int p) const {
    return Front() + std::size_t(y - rect.top) * rowBytes + (std::size_t(x - rect.left) * count + p) * sampleBytes;
  }
  void Put(std::size_t at, uint16_t v) {
    if (sampleBytes == 2) {
      std::memcpy(&bytes[at], &v, 2);
    } else {
      bytes[at] = static_cast<uint8_t>(v);
    }
  }
  uint16_t Get(std::size_t at) const {
    uint16_t v = bytes[at];
    if (sampleBytes == 2) std::memcpy(&v, &bytes[at], 2);
    return v;
  }
  // Padding and tail bytes must still hold kPad.
  bool PaddingIntact() const {
    const std::size_t used = std::size_t(rect.right - rect.left) * count * sampleBytes;
    for (int row = 0; row < rect.bottom - rect.top; ++row)
      for (std::size_t i = used; i < std::size_t(rowBytes); ++i)
        if (bytes[Front() + row * std::size_t(rowBytes) + i] != kPad) return false;
    for (std::size_t i = Front() + std::size_t(rowBytes) * (rect.bottom - rect.top); i < bytes.size(); ++i)
      if (bytes[i] != kPad) return false;
    return true;
  }
  void Store(TestImage& image) const {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        for (int p = 0; p < count; ++p) image.At(x, y, lo + p) = Get(Index(x, y, p));
  }
};

bool IsEmpty(const HostRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Inside(const HostRect& inner, const HostRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The record with room behind it, as hosts pass a longer one.
struct RecordBlock {
  std::unique_ptr<uint64_t[]> storage{new uint64_t[512]()};
  FilterRecordView* record = reinterpret_cast<FilterRecordView*>(storage.get());
};

void Describe(FilterRecordView* r, const TestImage& image, const RunOptions& options) {
  r->serialNumber = 0;
  r->testAbort = TestAbort;
  r->reportProgress = ReportProgress;
  r->imageSize = HostPoint{int16_t(image.height), int16_t(image.width)};
  r->planes = int16_t(image.planes);
  r->filterRect = options.filter;
  r->maxSpace = options.maxSpace;
  r->autoMask = 1;
  r->hostSignature = FourCC("MFth");
  r->imageMode = options.mode;
  r->wholeSize = r->imageSize;
  r->handleProcs = options.offerHandles ? &handleProcs : nullptr;
  r->displayPixels = options.offerDisplay ? reinterpret_cast<void*>(DisplayPixels) : nullptr;
  static PlatformDataView platform{};
  platform.hwnd = reinterpret_cast<intptr_t>(options.hostWindow);
  r->platformData = &platform;
  r->parameters = options.offerHandles ? HandleFrom(options.parameters) : nullptr;
}

}  // namespace

DisplayedPixels TakeDisplayedPixels() {
  EnterCriticalSection(DisplayLock());
  DisplayedPixels seen = displayed;
  displayed = DisplayedPixels{};
  LeaveCriticalSection(DisplayLock());
  return seen;
}

bool PluginFile::Load(const char* path) {
  module = LoadLibraryA(path);
  if (!module) {
    problem = std::string("LoadLibrary failed for ") + path + ", error " + std::to_string(GetLastError());
    return false;
  }
  LPCSTR name = nullptr;
  EnumResourceNamesA(module, "PIPL", FirstName, reinterpret_cast<LONG_PTR>(&name));
  HRSRC found = name ? FindResourceA(module, name, "PIPL") : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) {
    problem = "no PIPL resource";
    return false;
  }
  const auto* begin = static_cast<const uint8_t*>(bytes);
  propertyList.assign(begin, begin + SizeofResource(module, found));
  PiplProperty where{};
  char text[64];
  if (!PiplFind(propertyList.data(), propertyList.size(), FourCC("8BIM"), FourCC(kEntryKey), &where) ||
      !PiplCText(where, text, sizeof text)) {
    problem = std::string("no entry point under '") + kEntryKey + "'";
    return false;
  }
  entryName = text;
  entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, text)));
  if (!entry) problem = "entry point " + entryName + " is not exported";
  return entry != nullptr;
}

PluginFile::~PluginFile() {
  if (module) FreeLibrary(module);
}

int16_t CallOnce(EntryPoint entry, int16_t selector, TestImage& image, const RunOptions& options) {
  RunOutcome outcome;
  current = &outcome;
  currentAbortAt = options.abortAtCheck;
  RecordBlock block;
  Describe(block.record, image, options);
  Scripting scripting;
  scripting.Offer(block.record, options);
  intptr_t data = 0;
  int16_t result = 0x7777;
  entry(selector, block.record, &data, &result);
  KeepHandle(options.offerHandles ? block.record->parameters : nullptr, options.parameters, &outcome);
  current = nullptr;
  return result;
}

RunOutcome RunFilter(EntryPoint entry, TestImage& image, const RunOptions& options) {
  RunOutcome outcome;
  current = &outcome;
  currentAbortAt = options.abortAtCheck;
  RecordBlock block;
  FilterRecordView* r = block.record;
  Describe(r, image, options);
  Scripting scripting;
  scripting.Offer(r, options);
  const HostRect whole{0, 0, int16_t(image.height), int16_t(image.width)};
  // Input always comes from the picture as it was before the filter, output
  // goes to `image`, which starts as a copy of it.
  const TestImage source = image;
  intptr_t data = 0;
  auto call = [&](int16_t selector) {
    int16_t result = 0x7777;
    entry(selector, r, &data, &result);
    if (result != kResultOk && outcome.failedSelector < 0) {
      outcome.failedSelector = selector;
      outcome.failedCode = result;
    }
    return result == kResultOk;
  };
  if ((!options.askParameters || call(kSelectParameters)) && call(kSelectPrepare) && call(kSelectStart)) {
    bool going = true;
    while (going && !(IsEmpty(r->inRect) && IsEmpty(r->outRect))) {
      if (++outcome.continueCalls > 100000) {
        outcome.problems.push_back("the filter never finished");
        break;
      }
      if (!Inside(r->inRect, whole) || !Inside(r->outRect, options.filter) || r->inLoPlane < 0 ||
          r->inHiPlane >= image.planes || r->outLoPlane < 0 || r->outHiPlane >= image.planes ||
          r->inLoPlane > r->inHiPlane || r->outLoPlane > r->outHiPlane) {
        outcome.problems.push_back("the filter asked for data outside the image, the selection or the planes");
        break;
      }
      Buffer in, out;
      in.Fill(source, r->inRect, r->inLoPlane, r->inHiPlane, options.rowPadding);
      out.Fill(image, r->outRect, r->outLoPlane, r->outHiPlane, options.rowPadding);
      const std::vector<uint8_t> inBefore = in.bytes;
      r->inData = in.Data();
      r->inRowBytes = in.rowBytes;
      r->outData = out.Data();
      r->outRowBytes = out.rowBytes;
      going = call(kSelectContinue);
      if (in.bytes != inBefore) outcome.problems.push_back("the filter wrote into its input buffer");
      if (!out.PaddingIntact()) outcome.problems.push_back("the filter wrote past the rows of its output buffer");
      if (going) out.Store(image);
    }
    if (going) call(kSelectFinish);
  }
  KeepHandle(options.offerHandles ? r->parameters : nullptr, options.parameters, &outcome);
  if (liveHandles != 0) outcome.problems.push_back("a handle was made and never given back to the host");
  current = nullptr;
  return outcome;
}
