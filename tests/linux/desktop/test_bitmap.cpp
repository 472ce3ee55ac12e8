#include "test_bitmap.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace vellumo::testing {
namespace {

void Put16(std::vector<char>& out, uint32_t value) {
  for (int i = 0; i < 2; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

void Put32(std::vector<char>& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

}  // namespace

void WriteBitmap(const std::string& path, int width, int height,
                 const std::function<Rgb(int x, int y)>& colour) {
  uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  uint32_t pixel_bytes = stride * static_cast<uint32_t>(height);
  std::vector<char> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + pixel_bytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  for (uint32_t value : {0u, pixel_bytes, 2835u, 2835u, 0u, 0u}) Put32(out, value);
  for (int y = height - 1; y >= 0; --y) {
    size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      Rgb rgb = colour(x, y);
      out.push_back(static_cast<char>(rgb.blue));
      out.push_back(static_cast<char>(rgb.green));
      out.push_back(static_cast<char>(rgb.red));
    }
    out.resize(start + stride, 0);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(out.data(), static_cast<std::streamsize>(out.size()));
  if (!file) throw std::runtime_error("cannot write " + path);
}

TempFolder::TempFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vellumo-desktop-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vellumo::testing
