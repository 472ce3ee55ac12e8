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
#include "preview_runs.h"
#include "ui/preview.h"
#include "utf.h"
#include "wic_preview.h"

namespace vellumo {
namespace {

constexpr double kScale = 1.5;  // 144 dpi

using Options = bench::PreviewRunOptions;

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
  if (options.mode == "full") return DecodeFull(options.picture);
  return DecodePreview(options.picture,
                       [](PixelSize full) { return PreviewDecodeSize(full, kScale); })
      .has_value();
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

int Run(const Options& options) {
  if (!bench::TimePreviewRuns(options, [&] { return DecodeOnce(options); })) return 1;
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
  const auto options = vellumo::bench::ParsePreviewRunOptions(vellumo::Arguments());
  if (!options) {
    std::fprintf(stderr, "usage: vellumo_preview_bench --mode preview|full [--runs N] PICTURE\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int status = vellumo::Run(*options);
  CoUninitialize();
  return status;
}
