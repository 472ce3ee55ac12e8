#include "png_pixels.h"

#include <png.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace vellumo::test {

std::optional<Picture> ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return std::nullopt;
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  Picture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  for (size_t i = 0; i + 2 < rgb.size(); i += 3)
    picture.pixels.push_back({rgb[i], rgb[i + 1], rgb[i + 2]});
  return picture;
}

void WritePng(const std::string& path, const Picture& picture, unsigned format) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(picture.width);
  image.height = static_cast<png_uint_32>(picture.height);
  image.format = format;
  const unsigned channels = PNG_IMAGE_SAMPLE_CHANNELS(format);
  std::vector<uint8_t> samples;
  for (const Rgb& p : picture.pixels) {
    if (channels < 3) {
      samples.push_back(p.r);  // grey: the red channel is the level
    } else {
      samples.insert(samples.end(), {p.r, p.g, p.b});
    }
    if (channels == 2 || channels == 4) samples.push_back(0x80);
  }
  if (!png_image_write_to_file(&image, path.c_str(), 0, samples.data(), 0, nullptr))
    throw std::runtime_error("cannot write " + path);
}

std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with(prefix)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vellumo::test
