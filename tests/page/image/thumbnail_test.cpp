// Tests of the thumbnails: DDS headers of each format, the mipmap choice, broken files, and TGA.
#include "page/image/thumbnail.h"

#include <gtest/gtest.h>

#include "page/image/png.h"
#include "page/page_test_support.h"

namespace {

// The colour of DXT1 block `colour` (RGB565) in every pixel.
std::string solid_dxt1_block(uint16_t colour) {
  std::string block;
  append_u16(&block, colour);
  append_u16(&block, 0);
  append_u32(&block, 0);  // every pixel takes colour 0
  return block;
}

// A DXT1 file whose level n is one colour: `colours[n]`.
std::string dxt1_levels(uint32_t width, uint32_t height, const std::vector<uint16_t>& colours) {
  std::string file = dds_header(width, height, static_cast<uint32_t>(colours.size()), "DXT1");
  for (uint16_t colour : colours) {
    uint64_t blocks = std::max(1u, (width + 3) / 4) * std::max(1u, (height + 3) / 4);
    for (uint64_t i = 0; i < blocks; ++i)
      file += solid_dxt1_block(colour);
    width = std::max(1u, width / 2);
    height = std::max(1u, height / 2);
  }
  return file;
}

constexpr uint16_t kRed = 0xf800, kGreen = 0x07e0, kBlue = 0x001f;

// The header of a 24-bit TGA of image type `type` (2, or 10 run-length), `width` by `height`.
std::string tga_header(uint16_t width, uint16_t height, char type = 2) {
  std::string tga("\0\0\0\0\0\0\0\0\0\0\0\0", 12);
  tga[2] = type;
  append_u16(&tga, width);
  append_u16(&tga, height);
  return tga + std::string("\x18\0", 2);
}

// An uncompressed 24-bit TGA, `width` by `height`, every byte of its pixels 0x40.
std::string tga_file(uint16_t width, uint16_t height) {
  return tga_header(width, height) + std::string(size_t{width} * height * 3, '\x40');
}

// The headers of each format, the limits they meet (the bytes a DDS level
// needs, 128 pixels a side for a thumbnail, 4096 for a TGA), broken files.
TEST(Thumbnail, Headers) {
  struct Row {
    const char* scenario;
    std::string file;
    const char* name;
    ThumbnailStatus status;
    const char* format_or_problem;
    uint32_t thumb_width, thumb_height;
  };
  std::string truncated = dxt1_levels(256, 256, {kRed, kGreen});
  truncated.resize(truncated.size() - 1);
  std::string rgb24 = dds_rgb_header(2, 2, 24, {0xff0000, 0xff00, 0xff, 0}) + std::string(12, 'x');
  std::string wrong_magic = dxt1_levels(8, 8, {kRed});
  wrong_magic[0] = 'X';
  const Row rows[] = {
      {"mipmapped: level 128", dxt1_levels(256, 256, {kRed, kGreen, kBlue}), "a.dds",
       ThumbnailStatus::kDecoded, "DXT1", 128, 128},
      {"no mipmaps: scaled", dxt1_levels(300, 200, {kRed}), "a.DDS", ThumbnailStatus::kDecoded,
       "DXT1", 128, 85},
      {"small: own size", dds_header(64, 32, 1, "DXT5") + std::string(8 * 16 * 16, '\0'), "a.dds",
       ThumbnailStatus::kDecoded, "DXT5", 64, 32},
      {"1 by 1", dds_header(1, 1, 1, "DXT3") + std::string(16, '\0'), "a.dds",
       ThumbnailStatus::kDecoded, "DXT3", 1, 1},
      {"24-bit", rgb24, "a.dds", ThumbnailStatus::kDecoded, "RGB24", 2, 2},
      {"24-bit, a byte short", rgb24.substr(0, rgb24.size() - 1), "a.dds",
       ThumbnailStatus::kBroken, "truncated", 0, 0},
      // 6 by 6 is 2 by 2 blocks: 32 bytes, of which a part-block counts whole.
      {"6 by 6", dds_header(6, 6, 1, "DXT1") + std::string(32, '\0'), "a.dds",
       ThumbnailStatus::kDecoded, "DXT1", 6, 6},
      {"6 by 6, a byte short", dds_header(6, 6, 1, "DXT1") + std::string(31, '\0'), "a.dds",
       ThumbnailStatus::kBroken, "truncated", 0, 0},
      {"128: own size", dxt1_levels(128, 128, {kRed}), "a.dds", ThumbnailStatus::kDecoded,
       "DXT1", 128, 128},
      {"129 wide: scaled", dxt1_levels(129, 5, {kRed}), "a.dds", ThumbnailStatus::kDecoded,
       "DXT1", 128, 4},
      {"tall and thin: at least 1 wide", dxt1_levels(4, 1000, {kRed}), "a.dds",
       ThumbnailStatus::kDecoded, "DXT1", 1, 128},
      {"truncated level", truncated, "a.dds", ThumbnailStatus::kBroken, "truncated", 0, 0},
      {"truncated header", truncated.substr(0, 100), "a.dds", ThumbnailStatus::kBroken,
       "truncated", 0, 0},
      {"wrong magic", wrong_magic, "a.dds", ThumbnailStatus::kBroken, "not a DDS file", 0, 0},
      {"zero size", dds_header(0, 64, 1, "DXT1") + std::string(64, '\0'), "a.dds",
       ThumbnailStatus::kBroken, "zero size", 0, 0},
      {"huge, no data", dds_header(0xffffffffu, 0xffffffffu, 1, "DXT1"), "a.dds",
       ThumbnailStatus::kBroken, "truncated", 0, 0},
      {"huge, many levels", dds_header(0x80000000u, 3, 40, "DXT5") + std::string(4096, '\0'),
       "a.dds", ThumbnailStatus::kBroken, "truncated", 0, 0},
      {"other four-cc", dds_header(8, 8, 1, "ATI2") + std::string(64, '\0'), "a.dds",
       ThumbnailStatus::kNoPreview, "DDS ATI2", 0, 0},
      {"empty", "", "a.dds", ThumbnailStatus::kBroken, "empty file", 0, 0},
      {"other format", "\x89PNG", "a.png", ThumbnailStatus::kNoPreview, "PNG", 0, 0},
      {"TGA 4096 wide", tga_file(4096, 1), "t.tga", ThumbnailStatus::kDecoded, "TGA", 128, 1},
      {"TGA 4096 high", tga_file(1, 4096), "t.tga", ThumbnailStatus::kDecoded, "TGA", 1, 128},
      {"TGA 4097 wide", tga_file(4097, 1), "t.tga", ThumbnailStatus::kBroken, "too large", 0, 0},
      {"TGA 4097 high", tga_file(1, 4097), "t.tga", ThumbnailStatus::kBroken, "too large", 0, 0},
      {"TGA a byte short", tga_file(3, 2).substr(0, 18 + 17), "t.tga", ThumbnailStatus::kBroken,
       "truncated", 0, 0},
      {"TGA header a byte short", tga_header(3, 2).substr(0, 17), "t.tga", ThumbnailStatus::kBroken,
       "truncated", 0, 0},
      // Run-length packets: a byte 0x80 + n - 1 and one pixel for a run of n, a byte n - 1 and n pixels.
      {"TGA runs", tga_header(3, 2, 10) + "\x82\x40\x40\x40\x02" + std::string(9, '\x40'), "t.tga",
       ThumbnailStatus::kDecoded, "TGA", 3, 2},
      {"TGA runs, a pixel short", tga_header(3, 2, 10) + "\x82\x40\x40\x40\x01" + std::string(6, '\x40'),
       "t.tga", ThumbnailStatus::kBroken, "truncated", 0, 0},
      {"TGA runs, a byte short", tga_header(3, 2, 10) + "\x82\x40\x40\x40\x02" + std::string(8, '\x40'),
       "t.tga", ThumbnailStatus::kBroken, "truncated", 0, 0},
      {"TGA runs, 4096 by 4096 claimed", tga_header(4096, 4096, 10) + "\xff\x40\x40\x40", "t.tga",
       ThumbnailStatus::kBroken, "truncated", 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.scenario);
    Thumbnail thumbnail = make_thumbnail(row.file, row.name);
    EXPECT_EQ(thumbnail.status, row.status);
    EXPECT_EQ(row.status == ThumbnailStatus::kBroken ? thumbnail.problem : thumbnail.format,
              row.format_or_problem);
    EXPECT_EQ(thumbnail.thumb_width, row.thumb_width);
    EXPECT_EQ(thumbnail.thumb_height, row.thumb_height);
    EXPECT_EQ(thumbnail.rgba.size(), size_t{row.thumb_width} * row.thumb_height * 4);
  }
}

TEST(Thumbnail, TakesSmallestLevelAtLeast128) {
  struct Row {
    uint32_t width, height;
    uint8_t red, green, blue;  // of the level expected
  };
  // Levels red, green, blue, red...: 512 gives 256 (green) and 128 (blue); 256 by 64 has
  // 128 by 32 (green); 200 has 100 next, so 200 (red) is scaled down. 258 is 65
  // blocks wide, the last one part-filled: its level 129 (green) starts after 65 by 65.
  const Row rows[] = {{512, 512, 0, 0, 255}, {256, 64, 0, 255, 0}, {200, 200, 255, 0, 0},
                      {258, 258, 0, 255, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.width) + "x" + std::to_string(row.height));
    Thumbnail thumbnail =
        make_thumbnail(dxt1_levels(row.width, row.height, {kRed, kGreen, kBlue, kRed, kGreen}), "t.dds");
    ASSERT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
    EXPECT_EQ(thumbnail.rgba[0], row.red);
    EXPECT_EQ(thumbnail.rgba[1], row.green);
    EXPECT_EQ(thumbnail.rgba[2], row.blue);
    EXPECT_EQ(thumbnail.rgba[3], 255);
  }
}

TEST(Thumbnail, HandBuiltColourBlocks) {
  // Indices 0, 1, 2, 3 in each row. DXT3 and DXT5 always use four colours,
  // colour 2 a third of the way from colour 0 to colour 1 and colour 3 two
  // thirds, even when colour 0 is not above colour 1 (DXT1's three-colour mode).
  // DXT3's alphas are 0, 1, ..., 15 (times 17); DXT5's are all 255.
  struct Row {
    const char* format;
    uint16_t c0, c1;
    uint8_t greys[4];
  } rows[] = {
      {"DXT3", 0xffff, 0x0000, {255, 0, 170, 85}},
      {"DXT3", 0x0000, 0xffff, {0, 255, 85, 170}},
      {"DXT5", 0x0000, 0xffff, {0, 255, 85, 170}},
      {"DXT5", 0xffff, 0xffff, {255, 255, 255, 255}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.format) + " " + std::to_string(row.c0) + " " +
                 std::to_string(row.c1));
    bool dxt3 = std::string(row.format) == "DXT3";
    std::string block;
    if (dxt3) {
      for (int i = 0; i < 8; ++i)
        block += static_cast<char>((2 * i) | ((2 * i + 1) << 4));
    } else {
      block += std::string("\xff\0\0\0\0\0\0\0", 8);  // alpha 0: 255, every index 0
    }
    append_u16(&block, row.c0);
    append_u16(&block, row.c1);
    append_u32(&block, 0xe4e4e4e4u);  // per row: 0b11100100
    Thumbnail thumbnail = make_thumbnail(dds_header(4, 4, 1, row.format) + block, "a.dds");
    ASSERT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
    for (size_t i = 0; i < 16; ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(thumbnail.rgba[i * 4], row.greys[i % 4]);
      EXPECT_EQ(thumbnail.rgba[i * 4 + 1], row.greys[i % 4]);
      EXPECT_EQ(thumbnail.rgba[i * 4 + 2], row.greys[i % 4]);
      EXPECT_EQ(thumbnail.rgba[i * 4 + 3], dxt3 ? i * 17 : 255);
    }
  }
}

TEST(Thumbnail, ReadsOnlyTheHeaderAndTheLevelShown) {
  // Level sizes of a 512 DXT1 file: 131,072, 32,768, 8,192 (128 by 128)...
  struct Read {
    uint64_t offset, count;
    bool operator==(const Read&) const = default;
  };
  struct Row {
    const char* scenario;
    std::string file;
    std::vector<Read> reads;
    size_t short_by;  // bytes the reader leaves out of the last read
    const char* problem;
  };
  const std::string mipmapped = dxt1_levels(512, 512, {kRed, kGreen, kBlue, kRed});
  const std::string top_only = dxt1_levels(300, 200, {kRed});
  const Row rows[] = {
      {"mipmapped: level 128", mipmapped, {{0, 148}, {128 + 131072 + 32768, 8192}}, 0, ""},
      {"no mipmaps: the top level", top_only, {{0, 148}, {128, 75 * 50 * 8}}, 0, ""},
      {"smaller than the header", mipmapped.substr(0, 100), {{0, 100}}, 0, "truncated"},
      {"level shorter than the file said", mipmapped,
       {{0, 148}, {128 + 131072 + 32768, 8192}}, 1, "truncated"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.scenario);
    std::vector<Read> reads;
    Thumbnail thumbnail = read_thumbnail(row.file.size(), "a.dds", [&](uint64_t offset, uint64_t count) {
      reads.push_back({offset, count});
      std::string_view bytes = std::string_view(row.file).substr(offset, count);
      return reads.size() == row.reads.size() ? bytes.substr(0, bytes.size() - row.short_by) : bytes;
    });
    EXPECT_EQ(reads, row.reads);
    EXPECT_EQ(thumbnail.problem, row.problem);
    if (*row.problem == '\0') {
      Thumbnail whole = make_thumbnail(row.file, "a.dds");
      EXPECT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
      EXPECT_EQ(thumbnail.rgba, whole.rgba);
    }
  }
}

TEST(Thumbnail, Dxt5AlphaAndDxt1Transparency) {
  // DXT5: alpha 255 and 0 with eight steps; index 2 is (6 * 255 + 0) / 7.
  std::string dxt5;
  dxt5 += static_cast<char>(255);
  dxt5 += static_cast<char>(0);
  dxt5 += std::string("\x02\x00\x00\x00\x00\x00", 6);  // pixel 0 takes index 2, the rest 0
  dxt5 += solid_dxt1_block(kRed);
  Thumbnail five = make_thumbnail(dds_header(4, 4, 1, "DXT5") + dxt5, "a.dds");
  ASSERT_EQ(five.status, ThumbnailStatus::kDecoded);
  EXPECT_EQ(five.rgba[3], 218);
  EXPECT_EQ(five.rgba[7], 255);
  EXPECT_EQ(five.rgba[0], 255);
  // DXT5 with alpha 0 not above alpha 1 (0 and 255): six steps, index 6 is 0
  // and index 7 is 255. Pixels 0, 1, 2 take indices 6, 7, 2; the rest 0.
  std::string six;
  six += std::string("\x00\xff\xbe\x00\x00\x00\x00\x00", 8);
  six += solid_dxt1_block(kRed);
  Thumbnail six_steps = make_thumbnail(dds_header(4, 4, 1, "DXT5") + six, "a.dds");
  ASSERT_EQ(six_steps.status, ThumbnailStatus::kDecoded);
  const uint8_t alphas[4] = {0, 255, 51, 0};
  for (size_t i = 0; i < 4; ++i)
    EXPECT_EQ(six_steps.rgba[i * 4 + 3], alphas[i]) << i;
  // DXT1 with colour 0 not above colour 1: index 3 is transparent black.
  std::string dxt1;
  append_u16(&dxt1, 0x0000);
  append_u16(&dxt1, 0xffff);
  append_u32(&dxt1, 0xffffffffu);
  Thumbnail one = make_thumbnail(dds_header(4, 4, 1, "DXT1") + dxt1, "a.dds");
  ASSERT_EQ(one.status, ThumbnailStatus::kDecoded);
  EXPECT_EQ(one.rgba[3], 0);
}

TEST(Thumbnail, Uncompressed32BitMasks) {
  std::string pixels;
  append_u32(&pixels, 0x80112233u);  // A8R8G8B8
  append_u32(&pixels, 0xff445566u);
  Thumbnail thumbnail = make_thumbnail(
      dds_rgb_header(2, 1, 32, {0xff0000, 0xff00, 0xff, 0xff000000u}) + pixels, "a.dds");
  ASSERT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
  EXPECT_EQ(thumbnail.format, "RGBA32");
  const std::vector<uint8_t> expected = {0x11, 0x22, 0x33, 0x80, 0x44, 0x55, 0x66, 0xff};
  EXPECT_EQ(thumbnail.rgba, expected);
}

TEST(Thumbnail, Tga) {
  // An uncompressed 24-bit TGA, 2 by 1, bottom-up: BGR pixels.
  std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\1\0\x18\0", 18);
  tga += std::string("\x03\x02\x01\x06\x05\x04", 6);
  Thumbnail thumbnail = make_thumbnail(tga, "t.tga");
  ASSERT_EQ(thumbnail.status, ThumbnailStatus::kDecoded);
  const std::vector<uint8_t> expected = {1, 2, 3, 255, 4, 5, 6, 255};
  EXPECT_EQ(thumbnail.rgba, expected);
  EXPECT_EQ(make_thumbnail(tga.substr(0, 20), "t.tga").status, ThumbnailStatus::kBroken);
  // A header that asks for 65535 by 65535: refused before any buffer is made.
  std::string huge = tga.substr(0, 18);
  huge[12] = huge[13] = huge[14] = huge[15] = '\xff';
  Thumbnail refused = make_thumbnail(huge, "t.tga");
  EXPECT_EQ(refused.status, ThumbnailStatus::kBroken);
}

TEST(Thumbnail, PngRoundTrip) {
  const uint8_t pixels[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  std::string png = encode_png(pixels, 2, 1);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST(Thumbnail, RoundedToDxtColours) {
  // Each value a DXT endpoint expands to stays as it is; others go to the
  // nearest one; alpha is never touched.
  struct Row {
    uint8_t red, green, blue, alpha;
    uint8_t want_red, want_green, want_blue;
  };
  const Row rows[] = {
      {0, 0, 0, 7, 0, 0, 0},          {255, 255, 255, 0, 255, 255, 255},
      {4, 2, 4, 255, 0, 0, 0},        {5, 3, 5, 255, 8, 4, 8},
      {140, 142, 139, 1, 140, 142, 140}, {137, 141, 134, 2, 140, 142, 132},
  };
  for (const Row& row : rows) {
    std::vector<uint8_t> rgba = {row.red, row.green, row.blue, row.alpha};
    round_to_dxt_colours(&rgba);
    EXPECT_EQ(rgba, (std::vector<uint8_t>{row.want_red, row.want_green, row.want_blue, row.alpha}))
        << int{row.red} << "," << int{row.green} << "," << int{row.blue};
  }
  for (unsigned level = 0; level < 64; ++level) {
    auto five = static_cast<uint8_t>((level % 32) << 3 | (level % 32) >> 2);
    auto six = static_cast<uint8_t>(level << 2 | level >> 4);
    std::vector<uint8_t> rgba = {five, six, five, 9};
    round_to_dxt_colours(&rgba);
    EXPECT_EQ(rgba, (std::vector<uint8_t>{five, six, five, 9})) << level;
  }
}

}  // namespace
