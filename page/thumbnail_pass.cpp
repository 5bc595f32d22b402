// The thumbnail pass: the catalogue's textures read on every core by the file pool, each made into a PNG.
#include "page/thumbnail_pass.h"

#include "search/file_content.h"
#include "search/file_pool.h"
#include "page/image/png.h"
#include "page/page_dir.h"
#include "platform/fs.h"
#include "text/encode.h"

namespace {

// Fills `entry` from the content of its texture `file`, and writes the PNG
// of its thumbnail.
void preview_texture(const PoolFile& file, const FileContent& content, const PageDir& page_dir,
                     PageTexture* entry) {
  Thumbnail thumbnail = make_thumbnail({content.chars(), content.size()}, file.open_path);
  entry->preview = thumbnail;
  if (entry->size == 0)
    entry->size = content.size();
  entry->content_hash = content_hash({content.chars(), content.size()});
  if (thumbnail.status != ThumbnailStatus::kDecoded)
    return;
  std::string png = encode_png(thumbnail.rgba.data(), thumbnail.thumb_width, thumbnail.thumb_height);
  if (png.empty() || !write_page_file(page_dir, thumbnail_name(file.order), png)) {
    entry->preview.status = ThumbnailStatus::kBroken;
    entry->preview.problem = "thumbnail not written";
  }
}

}  // namespace

std::string thumbnail_name(size_t index) { return "thumbs/" + std::to_string(index) + ".png"; }

void write_thumbnails(const Catalogue& catalogue, const PageDir& page_dir, unsigned threads,
                      std::vector<PageTexture>* textures) {
  std::vector<PoolFile> files(catalogue.textures.size());
  for (size_t i = 0; i < files.size(); ++i) {
    files[i].open_path = catalogue.textures[i].open_path;
    files[i].path = to_shown_name(files[i].open_path);
    (*textures)[i].preview.format = "file";  // until it is read
    (*textures)[i].preview.problem = "not read";
  }
  // Each texture's entry is written by the one worker that reads its file.
  const FileWork work = [&](const PoolFile& file, const FileContent& content) {
    preview_texture(file, content, page_dir, &(*textures)[file.order]);
  };
  read_files_in_order(files, threads, work, [](const PoolFile&) {}, SinkOutput::kSilent);
}
