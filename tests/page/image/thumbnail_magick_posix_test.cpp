// The DDS decoders against ImageMagick's on files it wrote, and our PNGs read back by it; skipped without it.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>
#include <set>
#include <string>

#include "page/image/png.h"
#include "page/image/thumbnail.h"
#include "support/test_support.h"

namespace {

bool have_convert() { return std::system("convert -version >/dev/null 2>&1") == 0; }

int run(const std::string& command) { return std::system(command.c_str()); }

// How far a thumbnail's pixels are from ImageMagick's raw RGBA file.
struct Difference {
  int largest = 256;  // of a channel; 256 when the sizes differ
  double mean = 256;
};

Difference difference_from(const std::vector<uint8_t>& ours, const std::string& rgba_file) {
  const std::string theirs = read_whole_file(rgba_file);
  EXPECT_EQ(theirs.size(), ours.size());
  if (theirs.size() != ours.size())
    return {};
  Difference result{0, 0};
  double sum = 0;
  for (size_t i = 0; i < ours.size(); ++i) {
    int difference = std::abs(int{ours[i]} - int{static_cast<uint8_t>(theirs[i])});
    result.largest = std::max(result.largest, difference);
    sum += difference;
  }
  result.mean = ours.empty() ? 0 : sum / static_cast<double>(ours.size());
  return result;
}

TEST(ThumbnailMagick, DecodesAsImageMagickDoes) {
  if (!have_convert())
    GTEST_SKIP() << "ImageMagick's convert is not installed (tools/install-deps page)";
  TempTree tree;
  const std::string dir = tree.root();
  // Random colours and alphas: every block uses its whole range of interpolated values.
  ASSERT_EQ(run("convert -seed 1 -size 96x64 xc: +noise Random \\( -size 96x64 xc: +noise Random "
                "-channel R -separate \\) -alpha off -compose copy_opacity -composite '" +
                dir + "in.png'"),
            0);
  struct Row {
    const char* compression;
    const char* format;
    int largest;  // allowed: decoders round interpolated colours differently
  };
  const Row rows[] = {{"dxt1", "DXT1", 8}, {"dxt5", "DXT5", 8}, {"none", "RGBA32", 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.compression);
    std::string dds = dir + row.compression + ".dds";
    ASSERT_EQ(run(std::string("convert '") + dir + "in.png' -define dds:compression=" +
                  row.compression + " -define dds:mipmaps=0 '" + dds + "'"),
              0);
    ASSERT_EQ(run("convert '" + dds + "' -depth 8 'rgba:" + dds + ".rgba'"), 0);
    Thumbnail thumbnail = make_thumbnail(read_whole_file(dds), "t.dds");
    ASSERT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
    EXPECT_EQ(thumbnail.format, row.format);
    ASSERT_EQ(thumbnail.thumb_width, 96u);
    ASSERT_EQ(thumbnail.thumb_height, 64u);
    Difference difference = difference_from(thumbnail.rgba, dds + ".rgba");
    EXPECT_LE(difference.largest, row.largest) << "mean " << difference.mean;
  }
}

TEST(ThumbnailMagick, MipmapLevelOfImageMagicksFile) {
  if (!have_convert())
    GTEST_SKIP() << "ImageMagick's convert is not installed (tools/install-deps page)";
  TempTree tree;
  const std::string dir = tree.root();
  // 512 by 256 with its mipmaps: the level 128 by 64 is taken as it is, and
  // it looks like the whole image made small.
  ASSERT_EQ(run("convert -size 512x256 gradient:yellow-navy '" + dir + "in.png' && convert '" +
                dir + "in.png' -define dds:compression=dxt1 -define dds:mipmaps=9 '" + dir +
                "t.dds' && convert '" + dir + "in.png' -resize 128x64! -alpha on -depth 8 'rgba:" +
                dir + "small.rgba'"),
            0);
  Thumbnail thumbnail = make_thumbnail(read_whole_file(dir + "t.dds"), "t.dds");
  ASSERT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
  EXPECT_EQ(thumbnail.thumb_width, 128u);
  EXPECT_EQ(thumbnail.thumb_height, 64u);
  EXPECT_LE(difference_from(thumbnail.rgba, dir + "small.rgba").mean, 6.0);
}

// Rows of 4-byte pixels, `width` wide: noise, with every fourth row made so
// that one PNG filter predicts it best, each filter in turn; a picture whose
// PNG uses every filter.
std::vector<uint8_t> rows_for_each_filter(uint32_t width, uint32_t height, bool opaque) {
  size_t size = size_t{width} * 4;
  std::vector<uint8_t> pixels(size * height);
  uint32_t noise = 1;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = &pixels[y * size];
    const uint8_t* prior = y == 0 ? nullptr : row - size;
    for (size_t i = 0; i < size; ++i) {
      noise = noise * 1103515245u + 12345u;
      int left = i >= 4 ? row[i - 4] : 0, up = prior ? prior[i] : 0;
      int up_left = prior && i >= 4 ? prior[i - 4] : 0;
      int p = left + up - up_left, pa = std::abs(p - left), pb = std::abs(p - up),
          pc = std::abs(p - up_left);
      int paeth = pa <= pb && pa <= pc ? left : pb <= pc ? up : up_left;
      int value[] = {0,                               // none: zeros
                     static_cast<int>(i * 3),         // sub: a ramp
                     up,                              // up: the row above again
                     (left + up) / 2,                 // average
                     paeth,                           // Paeth
                     static_cast<int>(noise >> 24)};  // noise, above each of the others
      row[i] = static_cast<uint8_t>(value[y % 4 == 1 ? y / 4 % 5 : 5]);
      if (i % 4 == 3 && opaque)
        row[i] = 255;
    }
  }
  return pixels;
}

// The filter types of the rows of `png`, one of ours: one IDAT chunk.
std::set<int> filters_of(const std::string& png, uint32_t width, uint32_t height, size_t bpp) {
  size_t length = (static_cast<size_t>(static_cast<uint8_t>(png[33])) << 24) |
                  (static_cast<size_t>(static_cast<uint8_t>(png[34])) << 16) |
                  (static_cast<size_t>(static_cast<uint8_t>(png[35])) << 8) |
                  static_cast<uint8_t>(png[36]);
  EXPECT_EQ(png.substr(37, 4), "IDAT");
  std::string rows((width * bpp + 1) * height, '\0');
  uLongf size = rows.size();
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &size,
                       reinterpret_cast<const Bytef*>(png.data() + 41), length),
            Z_OK);
  std::set<int> filters;
  for (uint32_t y = 0; y < height; ++y)
    filters.insert(rows[y * (width * bpp + 1)]);
  return filters;
}

TEST(ThumbnailMagick, PngReadBack) {
  if (!have_convert())
    GTEST_SKIP() << "ImageMagick's convert is not installed (tools/install-deps page)";
  TempTree tree;
  // Noise takes more than one deflate block; rows made for each filter use
  // all five; an opaque image is written as RGB and must read back with its
  // alpha at 255.
  struct Row {
    const char* name;
    bool opaque;
    bool each_filter;
  };
  const Row rows[] = {{"opaque", true, false}, {"alpha", false, false},
                      {"opaque, each filter", true, true}, {"alpha, each filter", false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    constexpr uint32_t kWidth = 300, kHeight = 70;
    std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<uint8_t>(i % 4 == 3 && row.opaque ? 255 : (i * 7919) >> 3);
    if (row.each_filter)
      pixels = rows_for_each_filter(kWidth, kHeight, row.opaque);
    std::string png = encode_png(pixels.data(), kWidth, kHeight);
    if (row.each_filter) {
      EXPECT_EQ(filters_of(png, kWidth, kHeight, row.opaque ? 3 : 4),
                (std::set<int>{0, 1, 2, 3, 4}));
    }
    const std::string path = tree.root() + "t";
    tree.write("t.png", png);
    ASSERT_EQ(run("convert '" + path + ".png' -depth 8 'rgba:" + path + ".rgba'"), 0);
    std::string theirs = read_whole_file(path + ".rgba");
    EXPECT_EQ(theirs, std::string(pixels.begin(), pixels.end()));
  }
}

}  // namespace
