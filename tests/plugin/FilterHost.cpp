#include "tests/plugin/FilterHost.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "plugin/PiplReader.h"
#include "tests/plugin/InterfaceOffsets.h"

using relief::FourCC;
using relief::PiplCText;
using relief::PiplFind;
using relief::PiplProperty;

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

// Bytes at documented offsets: the records, the tables and the pixel map.
struct Fields {
  uint8_t* base;
  template <class T>
  void Put(std::size_t at, T value) const {
    std::memcpy(base + at, &value, sizeof value);
  }
  template <class T>
  T Get(std::size_t at) const {
    T value;
    std::memcpy(&value, base + at, sizeof value);
    return value;
  }
  void PutPointer(std::size_t at, const void* p) const { Put<const void*>(at, p); }
  template <class F>
  void PutCall(std::size_t at, F* f) const {
    PutPointer(at, reinterpret_cast<const void*>(f));
  }
  void* GetPointer(std::size_t at) const { return Get<void*>(at); }
  void PutRect(std::size_t at, const TestRect& r) const {
    const int16_t v[4] = {int16_t(r.top), int16_t(r.left), int16_t(r.bottom), int16_t(r.right)};
    std::memcpy(base + at, v, sizeof v);
  }
  TestRect GetRect(std::size_t at) const {
    int16_t v[4];
    std::memcpy(v, base + at, sizeof v);
    return TestRect{v[0], v[1], v[2], v[3]};
  }
};

// A callback table: a version, a count, then the callbacks.
struct Table {
  std::vector<uint64_t> storage = std::vector<uint64_t>(32, 0);
  Fields fields{reinterpret_cast<uint8_t*>(storage.data())};
  Table(int16_t version, int16_t count) {
    fields.Put<int16_t>(offsets::kTableVersion, version);
    fields.Put<int16_t>(offsets::kTableCount, count);
  }
  template <class F>
  Table& Entry(int n, F* f) {
    fields.PutCall(offsets::TableEntry(n), f);
    return *this;
  }
  void* Address() { return storage.data(); }
};

// Memory the filter must not touch: a record (or any block) ending where
// a page the process may not read begins, its bytes first filled with poison.
constexpr uint8_t kPoison = 0xA5;
struct GuardedBlock {
  uint8_t* pages = nullptr;
  std::size_t span = 0;
  uint8_t* block = nullptr;
  explicit GuardedBlock(std::size_t size) {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    const std::size_t page = info.dwPageSize;
    const std::size_t used = (size + page - 1) / page * page;
    span = used + page;
    pages = static_cast<uint8_t*>(VirtualAlloc(nullptr, span, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    VirtualProtect(pages + used, page, PAGE_NOACCESS, &old);
    block = pages + used - size;
    std::memset(block, kPoison, size);
  }
  ~GuardedBlock() { VirtualFree(pages, 0, MEM_RELEASE); }
};

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
void RecoverSpace(int32_t) {}

Table& HandleTable() {
  static Table table = Table(1, 8)
                           .Entry(0, NewHandle)
                           .Entry(1, DisposeHandle)
                           .Entry(2, HandleSize)
                           .Entry(3, SetHandleSize)
                           .Entry(4, LockHandle)
                           .Entry(5, UnlockHandle)
                           .Entry(6, RecoverSpace)
                           .Entry(7, DisposeHandle);
  return table;
}

// Scripting descriptors as the host keeps them: lists of items.
struct Descriptor {
  std::vector<ScriptItem> items;
};
struct Reader {
  Descriptor* from;
  std::size_t next;
  std::size_t current;
};
bool endless = false;
void* OpenRead(void* descriptor, uint32_t*) { return new Reader{static_cast<Descriptor*>(descriptor), 0, 0}; }
int16_t CloseRead(void* reader) {
  delete static_cast<Reader*>(reader);
  return 0;
}
unsigned char GetKey(void* reader, uint32_t* key, uint32_t* type, int32_t* flags) {
  auto* r = static_cast<Reader*>(reader);
  if (r->from->items.empty()) return 0;
  if (r->next >= r->from->items.size()) {
    if (!endless) return 0;
    r->next = 0;  // a reader that never runs out: the same keys again and again
  }
  if (current) ++current->descriptorKeysGiven;
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
int16_t Unsupported() { return -1715; }

Table& ReadTable() {
  static Table table = [] {
    Table t(0, 18);
    t.Entry(0, OpenRead).Entry(1, CloseRead).Entry(2, GetKey).Entry(3, GetInteger).Entry(6, GetBoolean);
    for (int n : {4, 5, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}) t.Entry(n, Unsupported);
    return t;
  }();
  return table;
}
Table& WriteTable() {
  static Table table = [] {
    Table t(0, 16);
    t.Entry(0, OpenWrite).Entry(1, CloseWrite).Entry(2, PutInteger).Entry(5, PutBoolean);
    for (int n : {3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) t.Entry(n, Unsupported);
    return t;
  }();
  return table;
}

struct Scripting {
  std::vector<uint64_t> storage = std::vector<uint64_t>(8, 0);
  Fields parameters{reinterpret_cast<uint8_t*>(storage.data())};
  Descriptor* given = nullptr;
  std::vector<ScriptItem>* kept = nullptr;

  void Offer(const Fields& r, const RunOptions& options) {
    kept = options.script;
    endless = options.endlessScript;
    if (!kept) return;
    if (!kept->empty()) given = new Descriptor{*kept};
    parameters.Put<int16_t>(offsets::kDescriptorVersion, 0);
    parameters.Put<int16_t>(offsets::kDescriptorPlayInfo, options.playInfo);
    parameters.Put<int16_t>(offsets::kDescriptorRecordInfo, 0);
    parameters.PutPointer(offsets::kDescriptorHandle, given);
    parameters.PutPointer(offsets::kDescriptorWriteProcs, WriteTable().Address());
    parameters.PutPointer(offsets::kDescriptorReadProcs, ReadTable().Address());
    r.PutPointer(offsets::kDescriptorParameters, storage.data());
  }
  ~Scripting() {
    if (!kept) return;
    auto* now = static_cast<Descriptor*>(parameters.GetPointer(offsets::kDescriptorHandle));
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
int16_t DisplayPixels(const void* pixelMap, const int32_t* part, int32_t row, int32_t column, void* context) {
  if (!pixelMap || !part) return -1;
  const Fields map{static_cast<uint8_t*>(const_cast<void*>(pixelMap))};
  const auto* base = static_cast<const uint8_t*>(map.GetPointer(offsets::kMapBaseAddr));
  int32_t bounds[4];
  std::memcpy(bounds, static_cast<const uint8_t*>(pixelMap) + offsets::kMapBounds, sizeof bounds);
  const int32_t rowBytes = map.Get<int32_t>(offsets::kMapRowBytes);
  if (!base) return -1;
  // part and bounds: top, left, bottom, right.
  const int w = part[3] - part[1], h = part[2] - part[0];
  const bool sound = map.Get<int32_t>(offsets::kMapVersion) >= 1 && map.Get<int32_t>(offsets::kMapImageMode) == modes::kRgb &&
                     map.Get<int32_t>(offsets::kMapColBytes) == 3 && map.Get<int32_t>(offsets::kMapPlaneBytes) == 1 &&
                     rowBytes >= w * 3 && part[1] >= bounds[1] && part[3] <= bounds[3] && part[0] >= bounds[0] &&
                     part[2] <= bounds[2] && w > 0 && h > 0;
  uint32_t sum = 2166136261u;
  std::vector<uint8_t> bgrx(std::size_t(w > 0 ? w : 0) * (h > 0 ? h : 0) * 4);
  if (sound) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = base + std::size_t(part[0] + y) * rowBytes + std::size_t(part[1] + x) * 3;
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
  TestRect rect{};
  int lo = 0, count = 0;
  int32_t rowBytes = 0;
  std::vector<uint8_t> bytes;

  int sampleBytes = 1;

  // `rate`: r is in sampled coordinates, pixel (x, y) of it is (x*rate, y*rate) of the image.
  void Fill(const TestImage& image, const TestRect& r, int firstPlane, int lastPlane, int padding, int rate = 1) {
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
        for (int p = 0; p < count; ++p) Put(Index(x, y, p), image.At(x * rate, y * rate, lo + p));
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

// The plug-in's malloc, counted, failing on demand.
using Malloc = void* (*)(std::size_t);
Malloc realMalloc = nullptr;
volatile LONG allocations = 0;
LONG failFrom = 0;
void* CountingMalloc(std::size_t size) {
  const LONG n = InterlockedIncrement(&allocations);
  if (failFrom > 0 && n >= failFrom) return nullptr;
  return realMalloc(size);
}

// The import address slot through which `module` calls `dll`'s `name`.
void** ImportSlot(HMODULE module, const char* dll, const char* name) {
  auto* base = reinterpret_cast<uint8_t*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), name) == 0)
        return reinterpret_cast<void**>(&slots->u1.Function);
    }
  }
  return nullptr;
}

bool IsEmpty(const TestRect& r) { return r.right <= r.left || r.bottom <= r.top; }

bool Inside(const TestRect& inner, const TestRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// The record, flush against a page the filter may not read.
struct RecordBlock {
  GuardedBlock memory{offsets::kRecordSize};
  Fields record{memory.block};
};

// advanceState: hands the rectangle the filter asked for over at once, sampled
// at the input rate, from the picture as it was before the filter.
const TestImage* advanceSource = nullptr;
const Fields* advanceRecord = nullptr;
Buffer* advanceBuffer = nullptr;
std::vector<ProxyRequest> proxyRequests;

int16_t AdvanceState() {
  if (!advanceRecord || !advanceSource || !advanceBuffer) return -30100;
  const Fields& r = *advanceRecord;
  const TestRect in = r.GetRect(offsets::kInRect);
  const int32_t inputRate = r.Get<int32_t>(offsets::kInputRate);
  const int16_t lo = r.Get<int16_t>(offsets::kInLoPlane), hi = r.Get<int16_t>(offsets::kInHiPlane);
  proxyRequests.push_back(ProxyRequest{in, inputRate, lo, hi});
  const int rate = inputRate >> 16;
  if (rate < 1 || (inputRate & 0xFFFF) != 0 || IsEmpty(in) || in.left < 0 || in.top < 0 ||
      in.right * rate > advanceSource->width || in.bottom * rate > advanceSource->height || lo < 0 ||
      hi >= advanceSource->planes || lo > hi) {
    current->problems.push_back("advanceState was asked for data outside the image or the planes");
    return -30100;
  }
  advanceBuffer->Fill(*advanceSource, in, lo, hi, 5, rate);
  r.PutPointer(offsets::kInData, advanceBuffer->Data());
  r.Put<int32_t>(offsets::kInRowBytes, advanceBuffer->rowBytes);
  return 0;
}

// The fields a filter writes: its requests, the buffers' fields advanceState
// sets, the parameters handle and its buffer space. Every other byte of the
// record must be as the host left it.
void ExpectOnlyRequestsWritten(const std::vector<uint8_t>& before, const Fields& r, RunOutcome* outcome) {
  struct Span {
    std::size_t at, size;
  };
  const Span writable[] = {{offsets::kParameters, sizeof(void*)}, {offsets::kBufferSpace, 4}, {offsets::kInRect, 12},
                           {offsets::kOutRect, 12},  {offsets::kInData, sizeof(void*)}, {offsets::kInRowBytes, 4},
                           {offsets::kOutData, sizeof(void*)}, {offsets::kOutRowBytes, 4}, {offsets::kMaskRect, 8},
                           {offsets::kInputRate, 4}};
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] == r.base[i]) continue;
    bool allowed = false;
    for (const Span& w : writable) allowed = allowed || (i >= w.at && i < w.at + w.size);
    if (!allowed) {
      outcome->problems.push_back("the filter wrote the record at byte " + std::to_string(i));
      return;
    }
  }
}

void Describe(const Fields& r, const TestImage& image, const RunOptions& options) {
  // Everything else keeps the poison: the filter has no business reading it.
  r.PutCall(offsets::kAbortProc, TestAbort);
  r.PutCall(offsets::kProgressProc, ReportProgress);
  r.Put<int16_t>(offsets::kImageSize, int16_t(image.height));
  r.Put<int16_t>(offsets::kImageSize + 2, int16_t(image.width));
  r.Put<int16_t>(offsets::kPlanes, int16_t(image.planes));
  r.PutRect(offsets::kFilterRect, options.filter);
  r.Put<int32_t>(offsets::kMaxSpace, options.maxSpace);
  for (std::size_t at : {offsets::kInRect, offsets::kOutRect, offsets::kMaskRect}) r.PutRect(at, TestRect{0, 0, 0, 0});
  for (std::size_t at : {offsets::kInLoPlane, offsets::kInHiPlane, offsets::kOutLoPlane, offsets::kOutHiPlane})
    r.Put<int16_t>(at, 0);
  r.PutPointer(offsets::kInData, nullptr);
  r.PutPointer(offsets::kOutData, nullptr);
  r.Put<int32_t>(offsets::kInRowBytes, 0);
  r.Put<int32_t>(offsets::kOutRowBytes, 0);
  r.Put<int16_t>(offsets::kImageMode, options.mode);
  static std::vector<uint64_t> platform(1);
  Fields{reinterpret_cast<uint8_t*>(platform.data())}.PutPointer(offsets::kPlatformHwnd, options.hostWindow);
  r.PutPointer(offsets::kPlatformData, platform.data());
  r.PutPointer(offsets::kDisplayPixels, options.offerDisplay ? reinterpret_cast<void*>(DisplayPixels) : nullptr);
  r.PutPointer(offsets::kHandleProcs, options.offerHandles ? HandleTable().Address() : nullptr);
  r.PutPointer(offsets::kParameters, options.offerHandles ? HandleFrom(options.parameters) : nullptr);
  // What the planes past the colour planes are.
  const modes::Mode* mode = modes::Find(options.mode);
  const int colours = mode ? mode->planes : image.planes;
  const int extra = image.planes > colours ? image.planes - colours : 0;
  int16_t filterCase = 1, layer = 0, transparency = 0, nonLayer = int16_t(image.planes);
  if (extra > 0 && options.extraPlanes == ExtraPlanes::kLayerTransparency) {
    filterCase = 4;
    layer = int16_t(colours);
    transparency = 1;
    nonLayer = int16_t(extra - 1);
  } else if (options.extraPlanes == ExtraPlanes::kUncounted) {
    filterCase = 0;
    nonLayer = 0;
  }
  r.Put<int16_t>(offsets::kFilterCase, filterCase);
  r.Put<int16_t>(offsets::kInLayerPlanes, layer);
  r.Put<int16_t>(offsets::kInTransparencyMask, transparency);
  r.Put<int16_t>(offsets::kInNonLayerPlanes, nonLayer);
  r.PutPointer(offsets::kAdvanceState, options.offerAdvanceState ? reinterpret_cast<void*>(AdvanceState) : nullptr);
  r.Put<char>(offsets::kSamplingSupport, options.offerAdvanceState ? 1 : 0);  // integral rates
  r.Put<int32_t>(offsets::kInputRate, 0x10000);
  r.PutPointer(offsets::kDescriptorParameters, nullptr);
}

}  // namespace

bool FailPluginAllocations(HMODULE plugin, int from) {
  void** slot = ImportSlot(plugin, "msvcrt.dll", "malloc");
  if (!slot) return false;
  if (!realMalloc) realMalloc = reinterpret_cast<Malloc>(*slot);
  InterlockedExchange(&allocations, 0);
  failFrom = from;
  void* wanted = from > 0 ? reinterpret_cast<void*>(CountingMalloc) : reinterpret_cast<void*>(realMalloc);
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return false;
  *slot = wanted;
  VirtualProtect(slot, sizeof *slot, old, &old);
  return true;
}

int PluginAllocations() { return int(allocations); }

std::vector<ProxyRequest> TakeProxyRequests() {
  std::vector<ProxyRequest> seen;
  seen.swap(proxyRequests);
  return seen;
}

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
  entry(selector, block.memory.block, &data, &result);
  KeepHandle(options.offerHandles ? block.record.GetPointer(offsets::kParameters) : nullptr, options.parameters,
             &outcome);
  current = nullptr;
  return result;
}

int16_t CallAbout(EntryPoint entry, HWND owner) {
  // The About record is not a filter record: platform data comes first.
  GuardedBlock about(3 * sizeof(void*) + 244);
  static std::vector<uint64_t> platform(1);
  Fields{reinterpret_cast<uint8_t*>(platform.data())}.PutPointer(offsets::kPlatformHwnd, owner);
  Fields{about.block}.PutPointer(offsets::kAboutPlatformData, platform.data());
  intptr_t data = 0;
  int16_t result = 0x7777;
  entry(host::kAbout, about.block, &data, &result);
  return result;
}

RunOutcome RunFilter(EntryPoint entry, TestImage& image, const RunOptions& options) {
  RunOutcome outcome;
  current = &outcome;
  currentAbortAt = options.abortAtCheck;
  RecordBlock block;
  const Fields& r = block.record;
  Describe(r, image, options);
  Scripting scripting;
  scripting.Offer(r, options);
  const std::vector<uint8_t> described(r.base, r.base + offsets::kRecordSize);
  const TestRect whole{0, 0, image.height, image.width};
  // Input always comes from the picture as it was before the filter, output
  // goes to `image`, which starts as a copy of it.
  const TestImage source = image;
  Buffer proxy;
  advanceSource = &source;
  advanceRecord = &r;
  advanceBuffer = &proxy;
  intptr_t freshWord = 0;
  intptr_t& data = options.dataWord ? *options.dataWord : freshWord;
  bool stopped = false;
  auto call = [&](int16_t selector) {
    if (stopped) return false;
    int16_t result = 0x7777;
    entry(selector, block.memory.block, &data, &result);
    if (result != host::kOk && outcome.failedSelector < 0) {
      outcome.failedSelector = selector;
      outcome.failedCode = result;
    }
    if (selector == options.stopAfter) stopped = true;
    return result == host::kOk && !stopped;
  };
  if ((!options.askParameters || call(host::kParameters)) && call(host::kPrepare) && call(host::kStart)) {
    bool going = true;
    auto asked = [&] { return !(IsEmpty(r.GetRect(offsets::kInRect)) && IsEmpty(r.GetRect(offsets::kOutRect))); };
    while (going && asked()) {
      if (++outcome.continueCalls > 100000) {
        outcome.problems.push_back("the filter never finished");
        break;
      }
      const TestRect inRect = r.GetRect(offsets::kInRect), outRect = r.GetRect(offsets::kOutRect);
      const int inLo = r.Get<int16_t>(offsets::kInLoPlane), inHi = r.Get<int16_t>(offsets::kInHiPlane);
      const int outLo = r.Get<int16_t>(offsets::kOutLoPlane), outHi = r.Get<int16_t>(offsets::kOutHiPlane);
      if (!Inside(inRect, whole) || !Inside(outRect, options.filter) || inLo < 0 || inHi >= image.planes ||
          outLo < 0 || outHi >= image.planes || inLo > inHi || outLo > outHi) {
        outcome.problems.push_back("the filter asked for data outside the image, the selection or the planes");
        break;
      }
      const int32_t rate = r.Get<int32_t>(offsets::kInputRate);
      if (rate != 0x10000) {
        outcome.problems.push_back("the filter left the input rate at " + std::to_string(rate));
        break;
      }
      Buffer in, out;
      in.Fill(source, inRect, inLo, inHi, options.rowPadding);
      out.Fill(image, outRect, outLo, outHi, options.rowPadding);
      const std::vector<uint8_t> inBefore = in.bytes;
      r.PutPointer(offsets::kInData, in.Data());
      r.Put<int32_t>(offsets::kInRowBytes, in.rowBytes);
      r.PutPointer(offsets::kOutData, out.Data());
      r.Put<int32_t>(offsets::kOutRowBytes, out.rowBytes);
      going = call(host::kContinue);
      if (in.bytes != inBefore) outcome.problems.push_back("the filter wrote into its input buffer");
      if (!out.PaddingIntact()) outcome.problems.push_back("the filter wrote past the rows of its output buffer");
      if (going) out.Store(image);
    }
    if (going) call(host::kFinish);
  }
  advanceSource = nullptr;
  advanceRecord = nullptr;
  advanceBuffer = nullptr;
  ExpectOnlyRequestsWritten(described, r, &outcome);
  KeepHandle(options.offerHandles ? r.GetPointer(offsets::kParameters) : nullptr, options.parameters, &outcome);
  if (liveHandles != 0) outcome.problems.push_back("a handle was made and never given back to the host");
  current = nullptr;
  return outcome;
}
