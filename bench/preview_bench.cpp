// Decodes one picture either for the settings window's preview (DecodePreview into the preview
// area at 150 % dpi, 249 x 190) or whole at full size (frame, 32-bit converter, one full-size
// buffer), several times, and prints the time of each repetition and the process's peak
// memory. One way per process, so that the peaks do not mix; bench/preview-vs-full.sh runs both
// and compares them.
//
//   vellumo_preview_bench --mode preview|full [--runs N] PICTURE
#include <windows.h>
// These need <windows.h> first.
#include <psapi.h>
#include <shellapi.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "com_ptr.h"
#include "utf.h"
#include "wic_preview.h"

namespace vellumo {
namespace {

constexpr int kBoxWidth = 249, kBoxHeight = 190;

struct Options {
  bool full = false;
  int runs = 5;
  std::string picture;  // UTF-8
};

// The whole picture in one buffer, as a program that scales it afterwards would hold it.
bool DecodeFull(const std::string& picture) {
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()))))
    return false;
  if (FAILED(factory->CreateDecoderFromFilename(Widen(picture).c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.out())))
    return false;
  UINT width = 0, height = 0;
  if (FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height)))
    return false;
  if (FAILED(factory->CreateFormatConverter(converter.out()))) return false;
  if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)))
    return false;
  std::vector<uint8_t> pixels(size_t{width} * height * 4);
  return SUCCEEDED(
      converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data()));
}

bool DecodeOnce(const Options& options) {
  if (options.full) return DecodeFull(options.picture);
  return DecodePreview(options.picture, kBoxWidth, kBoxHeight).has_value();
}

// The arguments as UTF-8, whatever the code page.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

std::optional<Options> Parse(const std::vector<std::string>& arguments) {
  Options options;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    const bool has_value = i + 1 < arguments.size();
    if (a == "--mode" && has_value) {
      const std::string& mode = arguments[++i];
      if (mode != "preview" && mode != "full") return std::nullopt;
      options.full = mode == "full";
    } else if (a == "--runs" && has_value) {
      options.runs = std::max(1, std::atoi(arguments[++i].c_str()));
    } else if (options.picture.empty()) {
      options.picture = a;
    } else {
      return std::nullopt;
    }
  }
  if (options.picture.empty()) return std::nullopt;
  return options;
}

int Run(const Options& options) {
  std::vector<double> times;
  for (int i = 0; i < options.runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!DecodeOnce(options)) {
      std::fprintf(stderr, "decoding failed\n");
      return 1;
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    times.push_back(took.count());
  }
  std::printf("mode %s\nrun_ms", options.full ? "full" : "preview");
  for (const double t : times) std::printf(" %.1f", t);
  std::sort(times.begin(), times.end());
  std::printf("\nmedian_ms %.1f\n", times[times.size() / 2]);

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof(memory);
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) return 1;
  std::printf("peak_working_set_kib %zu\npeak_pagefile_kib %zu\n", memory.PeakWorkingSetSize / 1024,
              memory.PeakPagefileUsage / 1024);
  return 0;
}

}  // namespace
}  // namespace vellumo

int main() {
  const auto options = vellumo::Parse(vellumo::Arguments());
  if (!options) {
    std::fprintf(stderr, "usage: vellumo_preview_bench --mode preview|full [--runs N] PICTURE\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int status = vellumo::Run(*options);
  CoUninitialize();
  return status;
}
