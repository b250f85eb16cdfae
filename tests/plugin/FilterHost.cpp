#include "tests/plugin/FilterHost.h"

#include <cstring>
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

// One host buffer holding a rectangle of some planes of the image.
struct Buffer {
  HostRect rect{};
  int lo = 0, count = 0;
  int32_t rowBytes = 0;
  std::vector<uint8_t> bytes;

  void Fill(const TestImage& image, const HostRect& r, int firstPlane, int lastPlane, int padding) {
    rect = r;
    lo = firstPlane;
    count = lastPlane - firstPlane + 1;
    const int width = r.right - r.left;
    rowBytes = width * count + padding;
    bytes.assign(std::size_t(rowBytes) * (r.bottom - r.top) + kTail, kPad);
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        for (int p = 0; p < count; ++p) bytes[Index(x, y, p)] = image.At(x, y, lo + p);
  }
  std::size_t Index(int x, int y, int p) const {
    return std::size_t(y - rect.top) * rowBytes + std::size_t(x - rect.left) * count + p;
  }
  // Padding and tail bytes must still hold kPad.
  bool PaddingIntact() const {
    const std::size_t used = std::size_t(rect.right - rect.left) * count;
    for (int row = 0; row < rect.bottom - rect.top; ++row)
      for (std::size_t i = used; i < std::size_t(rowBytes); ++i)
        if (bytes[row * std::size_t(rowBytes) + i] != kPad) return false;
    for (std::size_t i = bytes.size() - kTail; i < bytes.size(); ++i)
      if (bytes[i] != kPad) return false;
    return true;
  }
  void Store(TestImage& image) const {
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        for (int p = 0; p < count; ++p) image.At(x, y, lo + p) = bytes[Index(x, y, p)];
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
}

}  // namespace

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
  intptr_t data = 0;
  int16_t result = 0x7777;
  entry(selector, block.record, &data, &result);
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
  if (call(kSelectParameters) && call(kSelectPrepare) && call(kSelectStart)) {
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
      r->inData = in.bytes.data();
      r->inRowBytes = in.rowBytes;
      r->outData = out.bytes.data();
      r->outRowBytes = out.rowBytes;
      going = call(kSelectContinue);
      if (in.bytes != inBefore) outcome.problems.push_back("the filter wrote into its input buffer");
      if (!out.PaddingIntact()) outcome.problems.push_back("the filter wrote past the rows of its output buffer");
      if (going) out.Store(image);
    }
    if (going) call(kSelectFinish);
  }
  current = nullptr;
  return outcome;
}
