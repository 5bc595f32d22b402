// The thumbnail pass: the catalogue's textures read on every core, each only as far as its thumbnail needs, and made into a PNG.
#include "page/thumbnail_pass.h"

#include <algorithm>
#include <map>
#include <new>

#include "search/file_content.h"
#include "search/file_pool.h"
#include "page/image/png.h"
#include "page/page_dir.h"
#include "platform/fs.h"
#include "text/encode.h"

namespace {

// Fills `entry` from the texture file at `open_path`, reading only the bytes
// its thumbnail needs, and all its bytes for its content hash when `hashed`,
// and writes the PNG of its thumbnail as texture `index`'s. Leaves `entry` as
// it is when the file does not open. Returns the bytes it could not hold, 0
// when it held all it read.
uint64_t preview_texture(const std::string& open_path, size_t index, bool hashed,
                         const PageDir& page_dir, PageTexture* entry) {
  InputFile file;
  if (!file.open(open_path))
    return 0;
  int64_t size = file.size();
  uint64_t file_size = size > 0 ? static_cast<uint64_t>(size) : 0;
  std::string buffer;
  uint64_t wanted = 0;
  const auto read_into = [&](std::string* into, uint64_t offset, uint64_t count) {
    wanted = count;
    if (count > into->max_size())
      throw std::bad_alloc();
    into->resize(static_cast<size_t>(count));
    into->resize(file.read_at(offset, into->data(), into->size()));
  };
  const TextureReader read = [&](uint64_t offset, uint64_t count) -> std::string_view {
    read_into(&buffer, offset, count);
    return buffer;
  };
  Thumbnail thumbnail;
  try {
    if (hashed) {
      thread_local FileContent content;
      content.read_later(file, file_size);
      entry->content_hash = content_hash_of(content);
      content.clear();
    }
    thumbnail = read_thumbnail(file_size, open_path, read);
  } catch (const std::bad_alloc&) {
    return wanted;
  }
  entry->preview = thumbnail;
  if (entry->size == 0)
    entry->size = file_size;
  if (thumbnail.status != ThumbnailStatus::kDecoded)
    return 0;
  round_to_dxt_colours(&thumbnail.rgba);
  std::string png = encode_png(thumbnail.rgba.data(), thumbnail.thumb_width, thumbnail.thumb_height);
  if (png.empty() || !write_page_file(page_dir, thumbnail_name(index), png)) {
    entry->preview.status = ThumbnailStatus::kBroken;
    entry->preview.problem = "thumbnail not written";
  }
  return 0;
}

}  // namespace

std::string thumbnail_name(size_t index) { return "thumbs/" + std::to_string(index) + ".png"; }

void write_thumbnails(const Catalogue& catalogue, const PageDir& page_dir, unsigned threads,
                      std::vector<PageTexture>* textures) {
  size_t count = catalogue.textures.size();
  for (size_t i = 0; i < count; ++i) {
    (*textures)[i].preview.format = "file";  // until it is read
    (*textures)[i].preview.problem = "not read";
  }
  // A texture whose size another one shares is read whole, for the content
  // hash that tells copies apart; the others only as far as their thumbnails.
  std::map<uint64_t, size_t> of_size;
  for (const PageTexture& texture : *textures)
    ++of_size[texture.size];
  // Each texture's entry is written by the one thread that reads its file.
  std::vector<uint64_t> unheld(count, 0);
  run_on_threads(count, threads, 1, [&](size_t i) {
    PageTexture& entry = (*textures)[i];
    const bool hashed = entry.size > 0 && of_size.at(entry.size) > 1;
    unheld[i] = preview_texture(catalogue.textures[i].open_path, i, hashed, page_dir, &entry);
  });
  for (size_t i = 0; i < count; ++i)
    if (unheld[i] != 0)
      fail_to_hold(to_shown_name(catalogue.textures[i].open_path), unheld[i]);
}
