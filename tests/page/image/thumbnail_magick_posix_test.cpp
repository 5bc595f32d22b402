// The DDS decoders against ImageMagick's on files it wrote, and our PNGs read back by it; skipped without it.
#include <gtest/gtest.h>

#include <cstdlib>
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

TEST(ThumbnailMagick, PngReadBack) {
  if (!have_convert())
    GTEST_SKIP() << "ImageMagick's convert is not installed (tools/install-deps page)";
  TempTree tree;
  // 300 by 70 takes more than one stored deflate block; an opaque image is
  // written as RGB and must read back with its alpha at 255.
  struct Row {
    const char* name;
    bool opaque;
  };
  for (const Row& row : {Row{"opaque", true}, Row{"alpha", false}}) {
    SCOPED_TRACE(row.name);
    constexpr uint32_t kWidth = 300, kHeight = 70;
    std::vector<uint8_t> pixels(size_t{kWidth} * kHeight * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<uint8_t>(i % 4 == 3 && row.opaque ? 255 : (i * 7919) >> 3);
    std::string png = encode_png(pixels.data(), kWidth, kHeight);
    const std::string path = tree.root() + row.name;
    tree.write(std::string(row.name) + ".png", png);
    ASSERT_EQ(run("convert '" + path + ".png' -depth 8 'rgba:" + path + ".rgba'"), 0);
    std::string theirs = read_whole_file(path + ".rgba");
    EXPECT_EQ(theirs, std::string(pixels.begin(), pixels.end()));
  }
}

}  // namespace
