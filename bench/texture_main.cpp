// Writes one texture file with a picture: texsift_bench_texture OUT dxt1|dxt5|rgba32|tga WIDTH HEIGHT HUE.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/random.h"
#include "bench/texture_files.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    fprintf(stderr, "usage: texsift_bench_texture OUT dxt1|dxt5|rgba32|tga WIDTH HEIGHT HUE\n");
    return 2;
  }
  std::string kind = argv[2];
  auto number = [](const char* text) { return static_cast<uint32_t>(strtoul(text, nullptr, 10)); };
  uint32_t width = number(argv[3]), height = number(argv[4]), hue = number(argv[5]);
  Random random(hue + 1);
  std::string file;
  if (kind == "tga")
    file = make_tga_texture(width, height, hue, random);
  else if (kind == "dxt1" || kind == "dxt5" || kind == "rgba32")
    file = make_dds_texture(width, height,
                            kind == "dxt1"   ? DdsFormat::kDxt1
                            : kind == "dxt5" ? DdsFormat::kDxt5
                                             : DdsFormat::kRgba32,
                            hue, random);
  else
    return 2;
  FILE* out = fopen(argv[1], "wb");
  if (!out || fwrite(file.data(), 1, file.size(), out) != file.size() || fclose(out) != 0) {
    fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
