// PNG files through zlib: each row's filter chosen by the smallest sum of absolute differences, deflated in runs.
#include "page/image/png.h"

#include <zlib.h>

#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr size_t kFilters = 5;  // none, sub, up, average, Paeth

void append_u32(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    *out += static_cast<char>((value >> shift) & 0xff);
}

// Appends the chunk of type `type` holding `data`, with its length and CRC.
void append_chunk(std::string* png, const char* type, std::string_view data) {
  append_u32(png, static_cast<uint32_t>(data.size()));
  size_t start = png->size();
  png->append(type, 4);
  png->append(data);
  const auto* typed = reinterpret_cast<const Bytef*>(png->data() + start);
  append_u32(png, static_cast<uint32_t>(crc32(0, typed, static_cast<uInt>(data.size() + 4))));
}

// PNG's Paeth predictor of a byte from the bytes left (a), above (b) and
// above left (c) of it, without branches.
uint8_t paeth(int a, int b, int c) {
  int pa = abs(b - c), pb = abs(a - c), pc = abs(a + b - 2 * c);
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Writes `row` (`size` bytes, `bpp` to a pixel) filtered with `filter`
// against `prior`, the row above (zeros for the first), to `out`, and
// returns the sum of the filtered bytes taken as signed: the smaller, the
// better the row should compress. Each filter has its own loops, from the
// first pixel, which has nothing on its left, so that they vectorise.
uint32_t filter_row(size_t filter, const uint8_t* row, const uint8_t* prior, size_t size,
                    size_t bpp, uint8_t* out) {
  size_t i = 0;
  switch (filter) {
    case 0:
      for (; i < size; ++i)
        out[i] = row[i];
      break;
    case 1:
      for (; i < bpp; ++i)
        out[i] = row[i];
      for (; i < size; ++i)
        out[i] = static_cast<uint8_t>(row[i] - row[i - bpp]);
      break;
    case 2:
      for (; i < size; ++i)
        out[i] = static_cast<uint8_t>(row[i] - prior[i]);
      break;
    case 3:
      for (; i < bpp; ++i)
        out[i] = static_cast<uint8_t>(row[i] - prior[i] / 2);
      for (; i < size; ++i)
        out[i] = static_cast<uint8_t>(row[i] - (row[i - bpp] + prior[i]) / 2);
      break;
    default:
      for (; i < bpp; ++i)
        out[i] = static_cast<uint8_t>(row[i] - prior[i]);
      for (; i < size; ++i)
        out[i] = static_cast<uint8_t>(row[i] - paeth(row[i - bpp], prior[i], prior[i - bpp]));
      break;
  }
  uint32_t sum = 0;
  for (i = 0; i < size; ++i)
    sum += static_cast<uint32_t>(abs(static_cast<int8_t>(out[i])));
  return sum;
}

// The image's rows as PNG filters them: each row's filter type, then the row
// filtered as the filter with the smallest sum of absolute differences does.
std::string filtered_rows(const uint8_t* pixels, uint32_t width, uint32_t height, size_t bpp) {
  size_t size = width * bpp;
  std::string rows;
  rows.reserve((size + 1) * height);
  std::vector<uint8_t> zeros(size, 0);
  std::array<std::vector<uint8_t>, kFilters> candidates;
  for (std::vector<uint8_t>& candidate : candidates)
    candidate.resize(size);
  for (uint32_t y = 0; y < height; ++y) {
    const uint8_t* row = pixels + y * size;
    const uint8_t* prior = y == 0 ? zeros.data() : row - size;
    size_t best = 0;
    uint32_t best_sum = UINT32_MAX;
    for (size_t filter = 0; filter < kFilters; ++filter) {
      uint32_t sum = filter_row(filter, row, prior, size, bpp, candidates[filter].data());
      if (sum < best_sum) {
        best = filter;
        best_sum = sum;
      }
    }
    rows += static_cast<char>(best);
    rows.append(reinterpret_cast<const char*>(candidates[best].data()), size);
  }
  return rows;
}

// The zlib stream of `data`; empty when it cannot be made. Filtered rows
// compress best in runs (Z_RLE), which is also deflate's quickest search.
std::string deflated(const std::string& data) {
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
    return "";
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  int status = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return status == Z_STREAM_END ? out : "";
}

}  // namespace

std::string encode_png(const uint8_t* rgba, uint32_t width, uint32_t height) {
  size_t pixels = static_cast<size_t>(width) * height;
  bool opaque = true;
  for (size_t i = 0; i < pixels && opaque; ++i)
    opaque = rgba[i * 4 + 3] == 255;
  // An opaque image is written as RGB: a quarter less to write and to read.
  std::vector<uint8_t> rgb;
  if (opaque) {
    rgb.resize(pixels * 3);
    for (size_t i = 0; i < pixels; ++i)
      for (size_t c = 0; c < 3; ++c)
        rgb[i * 3 + c] = rgba[i * 4 + c];
  }
  size_t bpp = opaque ? 3 : 4;
  std::string idat = deflated(filtered_rows(opaque ? rgb.data() : rgba, width, height, bpp));
  if (idat.empty() || width == 0 || height == 0)
    return "";
  std::string header;
  append_u32(&header, width);
  append_u32(&header, height);
  header += '\x08';                  // 8 bits a channel
  header += opaque ? '\x02' : '\x06';  // RGB or RGBA
  header.append(3, '\0');            // deflate, adaptive filtering, no interlace
  std::string png = "\x89PNG\r\n\x1a\n";
  append_chunk(&png, "IHDR", header);
  append_chunk(&png, "IDAT", idat);
  append_chunk(&png, "IEND", "");
  return png;
}
