// The relief kernel's speed on generated 24-megapixel RGB images, 8 and 16
// bits per channel, at the default settings, on every core as the plug-in
// shares a band among threads; next to a plain copy of the same bytes. Also
// writes the same images as PPM files for the peers' command-line tools.
//   filter_bench OUT_DIR [RUNS]
// Prints one line per measurement: "<what> <megapixels per second> <best ms>".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "plugin/ImageModes.h"
#include "plugin/ParallelRows.h"
#include "plugin/ReliefKernel.h"

using namespace relief;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWidth = 6000, kHeight = 4000;  // 24 megapixels

// The runner the plug-in uses on Windows, with std::thread.
void RunOnAllCores(int first, int last, int width, RowJob job, void* context) {
  const int parts = ThreadsFor(last - first, width, int(std::thread::hardware_concurrency()));
  std::vector<std::thread> threads;
  for (int part = 1; part < parts; ++part) {
    int from = 0, to = 0;
    ShareOfRows(first, last, parts, part, &from, &to);
    threads.emplace_back(job, context, from, to);
  }
  int from = 0, to = 0;
  ShareOfRows(first, last, parts, 0, &from, &to);
  job(context, from, to);
  for (auto& t : threads) t.join();
}

struct Job {
  ReliefPlan plan;
  const void* in;
  PixelBlock block;
  void* out;
};

void Rows(void* context, int first, int last) {
  const Job* job = static_cast<const Job*>(context);
  ReliefRows(job->plan, job->in, job->block, job->out, job->block, first, last);
}

template <typename T>
std::vector<T> Picture(int maxValue) {
  std::vector<T> pixels(std::size_t(kWidth) * kHeight * 3);
  uint32_t seed = 12345;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      for (int c = 0; c < 3; ++c) {
        seed = seed * 1664525u + 1013904223u;
        const int shape = ((x / 64 + y / 48 + c) % 4) * maxValue / 5;
        pixels[(std::size_t(y) * kWidth + x) * 3 + c] = static_cast<T>(shape + (seed >> 8) % (maxValue / 5 + 1));
      }
  return pixels;
}

template <typename T>
void WritePpm(const std::string& path, const std::vector<T>& pixels, int maxValue) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  // PPM holds 16-bit samples big-endian, 0..65535: the 0..32768 range is scaled.
  std::fprintf(f, "P6\n%d %d\n%d\n", kWidth, kHeight, sizeof(T) == 1 ? 255 : 65535);
  if (sizeof(T) == 1) {
    std::fwrite(pixels.data(), 1, pixels.size(), f);
  } else {
    std::vector<uint8_t> bytes(pixels.size() * 2);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      const uint32_t v = uint32_t(pixels[i]) * 65535u / uint32_t(maxValue);
      bytes[i * 2] = uint8_t(v >> 8);
      bytes[i * 2 + 1] = uint8_t(v);
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
  }
  std::fclose(f);
}

template <typename F>
double BestMs(int runs, F&& f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    f();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  return best;
}

template <typename T>
void Measure(const char* name, int mode, int maxValue, const std::string& dir, int runs) {
  const std::vector<T> in = Picture<T>(maxValue);
  std::vector<T> out(in.size()), copy(in.size());
  WritePpm(dir + "/" + name + ".ppm", in, maxValue);
  Job job{};
  MakePlan(kDefaultSettings, mode, false, &job.plan);
  job.in = in.data();
  job.out = out.data();
  job.block = PixelBlock{0, 0, kWidth, kHeight, std::ptrdiff_t(kWidth) * 3 * sizeof(T), int(3 * sizeof(T))};
  const double mp = double(kWidth) * kHeight / 1e6;
  const double relief = BestMs(runs, [&] { RunOnAllCores(0, kHeight, kWidth, Rows, &job); });
  const double memory = BestMs(runs, [&] { std::memcpy(copy.data(), in.data(), in.size() * sizeof(T)); });
  std::printf("ours.%s %.1f %.2f\n", name, mp / relief * 1000, relief);
  std::printf("memcpy.%s %.1f %.2f\n", name, mp / memory * 1000, memory);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: filter_bench OUT_DIR [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  std::printf("threads %u\n", std::thread::hardware_concurrency());
  Measure<uint8_t>("rgb8", kModeRgb, 255, argv[1], runs);
  Measure<uint16_t>("rgb16", kModeRgb48, 32768, argv[1], runs);
  return 0;
}
