// The thumbnail pass: the file pool reads the texture tree, and each worker decodes and writes its PNGs.
#include "page/thumbnails.h"

#include <unordered_map>

#include "search/file_content.h"
#include "search/tree_search.h"
#include "page/page_dir.h"
#include "page/tga.h"
#include "page/thumbnail.h"

namespace {

EntryAction read_everything(const DirEntry& entry) {
  return entry.is_directory ? EntryAction::kDescend : EntryAction::kRead;
}

PagePreview preview_of(const Thumbnail& thumbnail) {
  PagePreview preview;
  preview.status = thumbnail.status;
  preview.format = thumbnail.format;
  preview.problem = thumbnail.problem;
  preview.width = thumbnail.width;
  preview.height = thumbnail.height;
  preview.thumb_width = thumbnail.thumb_width;
  preview.thumb_height = thumbnail.thumb_height;
  return preview;
}

}  // namespace

std::string thumbnail_name(size_t index) { return "thumbs/" + std::to_string(index) + ".png"; }

std::vector<TexturePreview> write_thumbnails(const std::string& texture_root,
                                             size_t game_root_length,
                                             const std::vector<std::string>& texture_paths,
                                             const PageDir& page_dir, unsigned threads) {
  std::unordered_map<std::string_view, size_t> index_of;
  for (size_t i = 0; i < texture_paths.size(); ++i)
    index_of.emplace(texture_paths[i], i);
  // Each texture's entry is written by the one worker that reads its file.
  std::vector<TexturePreview> previews(texture_paths.size());
  FileWork work = [&](const FileResult& result, const FileContent& content) {
    if (result.open_path.size() < game_root_length)
      return;
    auto at = index_of.find(std::string_view(result.open_path).substr(game_root_length));
    if (at == index_of.end())
      return;
    TexturePreview& entry = previews[at->second];
    std::string_view bytes(content.chars(), content.size());
    Thumbnail thumbnail = make_thumbnail(bytes, result.name);
    entry.read = true;
    entry.size = content.size();
    entry.preview = preview_of(thumbnail);
    if (thumbnail.status != ThumbnailStatus::kDecoded)
      return;
    std::string png = encode_png(thumbnail.rgba.data(), thumbnail.thumb_width,
                                 thumbnail.thumb_height);
    if (png.empty() || !write_page_file(page_dir, thumbnail_name(at->second), png)) {
      entry.preview.status = ThumbnailStatus::kBroken;
      entry.preview.problem = "thumbnail not written";
    }
  };
  ContentSearch no_search = [](const FileContent&, FoundNames*) {};
  ResultSink no_sink = [](const FileResult&) {};
  search_tree_in_order(texture_root, read_everything, threads, no_search, no_sink,
                       SinkOutput::kSilent, work);
  return previews;
}
