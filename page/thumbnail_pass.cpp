// The thumbnail pass: worker threads take the catalogue's textures one at a time, by an atomic counter.
#include "page/thumbnail_pass.h"

#include <atomic>
#include <thread>

#include "search/file_content.h"
#include "page/image/png.h"
#include "page/page_dir.h"
#include "platform/fs.h"

namespace {

// Reads `texture` into `content`, fills `entry` and writes the PNG of thumbnail
// `index`. The size of a content that could not be held, otherwise 0.
uint64_t preview_texture(const CatalogueTexture& texture, size_t index, const PageDir& page_dir,
                         FileContent* content, PageTexture* entry) {
  InputFile file;
  uint64_t size = 0;
  if (!file.open(texture.open_path)) {
    entry->preview.format = "file";
    entry->preview.problem = "not read";
    return 0;
  }
  if (load_whole_file(file, content, &size) == LoadResult::kNoMemory)
    return size;
  Thumbnail thumbnail = make_thumbnail({content->chars(), content->size()}, texture.open_path);
  entry->preview = thumbnail;
  if (entry->size == 0)
    entry->size = content->size();
  if (thumbnail.status != ThumbnailStatus::kDecoded)
    return 0;
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
  std::vector<uint64_t> unheld(textures->size());
  std::atomic<size_t> next{0};
  auto work = [&] {
    FileContent content;  // this worker's, reused from texture to texture
    for (size_t i; (i = next++) < textures->size();)
      unheld[i] = preview_texture(catalogue.textures[i], i, page_dir, &content, &(*textures)[i]);
  };
  std::vector<std::thread> workers;
  for (size_t t = 1; t < threads && t < textures->size(); ++t)
    workers.emplace_back(work);
  work();
  for (std::thread& worker : workers)
    worker.join();
  for (size_t i = 0; i < unheld.size(); ++i)
    if (unheld[i])
      fail_to_hold(to_shown_name(catalogue.textures[i].open_path), unheld[i]);
}
