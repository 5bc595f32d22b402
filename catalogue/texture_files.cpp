// Sizes of the textures and their companions, companions kept by other textures' descriptions, and byte-identical textures.
#include "catalogue/texture_files.h"

#include <algorithm>
#include <type_traits>
#include <unordered_map>

#include "platform/fs.h"
#include "search/file_content.h"
#include "search/file_pool.h"
#include "text/ascii.h"
#include "text/encode.h"

namespace {

// A texture's name as descriptions compare it: small letters, "\" between parts.
std::string compared(std::string_view name) {
  std::string text = lower_ascii(name);
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

// The bytes from a texture's start whose hash first tells apart textures of
// one size: past a DDS file's header, well into the pixels of its top level.
constexpr size_t kPrefixBytes = 4096;

// How many paths a thread takes at a time when it looks at files' sizes.
constexpr size_t kSizeTurn = 64;

// The sizes of the files of `files` (textures or companions, each with its
// open_path), taken on search_threads() threads.
template <typename Files>
std::vector<std::optional<uint64_t>> sizes_of(const Files& files) {
  std::vector<std::optional<uint64_t>> sizes(files.size());
  run_on_threads(files.size(), search_threads_quietly(), kSizeTurn,
                 [&](size_t i) { sizes[i] = file_size(files[i].open_path); });
  return sizes;
}

// The size of each texture and, with `prefixes`, the hash of its first
// kPrefixBytes, from one opening of its file on search_threads() threads.
// A texture whose file does not open has its size taken as sizes_of does, and
// no prefix.
void look_at_textures(const Catalogue& catalogue, std::vector<std::optional<uint64_t>>* sizes,
                      std::vector<std::optional<uint64_t>>* prefixes) {
  sizes->assign(catalogue.textures.size(), std::nullopt);
  prefixes->assign(catalogue.textures.size(), std::nullopt);
  run_on_threads(catalogue.textures.size(), search_threads_quietly(), kSizeTurn, [&](size_t t) {
    const std::string& path = catalogue.textures[t].open_path;
    InputFile file;
    int64_t size = file.open(path) ? file.size() : -1;
    if (size < 0) {
      (*sizes)[t] = file_size(path);
      return;
    }
    (*sizes)[t] = static_cast<uint64_t>(size);
    char start[kPrefixBytes];
    (*prefixes)[t] = content_hash({start, file.read_at(0, start, sizeof start)});
  });
}

// The textures that share their size, not zero, and the hash of their first
// kPrefixBytes with another texture: the only ones that can be copies.
std::vector<uint32_t> alike_at_the_start(const std::vector<std::optional<uint64_t>>& sizes,
                                         const std::vector<std::optional<uint64_t>>& prefixes) {
  // A pair of size and start hash, in one word: equal pairs always meet, and
  // unequal ones only by chance, which at worst hashes a texture whole.
  auto key = [&](size_t t) { return *prefixes[t] ^ (*sizes[t] * 0x9e3779b97f4a7c15ULL); };
  auto counted = [&](size_t t) { return prefixes[t] && sizes[t] && *sizes[t] > 0; };
  std::unordered_map<uint64_t, uint32_t> counts;
  for (size_t t = 0; t < sizes.size(); ++t)
    if (counted(t))
      ++counts[key(t)];
  std::vector<uint32_t> alike;
  for (uint32_t t = 0; t < sizes.size(); ++t)
    if (counted(t) && counts[key(t)] > 1)
      alike.push_back(t);
  return alike;
}

// The content hash of each of `textures`, read whole in pieces on
// search_threads() threads; none for the others and for one that does not open.
std::vector<std::optional<uint64_t>> content_hashes(const Catalogue& catalogue,
                                                    const std::vector<uint32_t>& textures) {
  std::vector<PoolFile> files;
  for (uint32_t i : textures) {
    PoolFile file;
    file.open_path = catalogue.textures[i].open_path;
    file.path = to_shown_name(file.open_path);
    files.push_back(std::move(file));
  }
  std::vector<std::optional<uint64_t>> hashes(catalogue.textures.size());
  const FileWork work = [&](const PoolFile& file, FileContent& content) {
    if (file.searched)
      hashes[textures[file.order]] = content_hash_of(content);
  };
  read_files_in_order(files, search_threads_quietly(), work, [](const PoolFile&) {},
                      SinkOutput::kSilent, Reading::kPiecesWhenLarge);
  return hashes;
}

}  // namespace

TextureFiles read_texture_files(const Catalogue& catalogue, bool copies) {
  TextureFiles files;
  std::vector<std::optional<uint64_t>> prefixes;
  if (copies)
    look_at_textures(catalogue, &files.sizes, &prefixes);
  else
    files.sizes = sizes_of(catalogue.textures);
  files.companion_sizes = sizes_of(catalogue.companions);
  files.copy_group.assign(catalogue.textures.size(), 0);
  if (copies)
    group_copies(files.sizes,
                 content_hashes(catalogue, alike_at_the_start(files.sizes, prefixes)), &files);
  return files;
}

void group_copies(const std::vector<std::optional<uint64_t>>& sizes,
                  const std::vector<std::optional<uint64_t>>& hashes, TextureFiles* files) {
  // The first texture of each content, then the group it opens once a second joins it.
  std::unordered_map<uint64_t, std::vector<uint32_t>> firsts;  // by hash: the first of each size
  std::vector<uint32_t> group_of_first(sizes.size(), 0);
  files->copy_group.assign(sizes.size(), 0);
  files->copy_bytes.clear();
  for (uint32_t i = 0; i < sizes.size(); ++i) {
    if (!hashes[i] || !sizes[i] || *sizes[i] == 0)
      continue;
    std::vector<uint32_t>& same_hash = firsts[*hashes[i]];
    auto first = std::find_if(same_hash.begin(), same_hash.end(),
                              [&](uint32_t f) { return *sizes[f] == *sizes[i]; });
    if (first == same_hash.end()) {
      same_hash.push_back(i);
      continue;
    }
    uint32_t& group = group_of_first[*first];
    if (group == 0) {
      files->copy_bytes.push_back(0);
      group = static_cast<uint32_t>(files->copy_bytes.size());
      files->copy_group[*first] = group;
    }
    files->copy_group[i] = group;
    files->copy_bytes[group - 1] += *sizes[i];
  }
}

std::pair<size_t, size_t> companions_of(const Catalogue& catalogue, uint32_t texture) {
  auto [first, last] = std::equal_range(
      catalogue.companions.begin(), catalogue.companions.end(), texture,
      [](const auto& a, const auto& b) {
        if constexpr (std::is_same_v<std::decay_t<decltype(a)>, Companion>)
          return a.texture < b;
        else
          return a < b.texture;
      });
  return {static_cast<size_t>(first - catalogue.companions.begin()),
          static_cast<size_t>(last - catalogue.companions.begin())};
}

std::string bump_name(const Companion& companion) {
  if (!companion.bump)
    return {};
  std::string_view name = companion.name;
  if (!name.empty() && name.back() == '#')
    name.remove_suffix(1);
  return std::string(name);
}

std::vector<std::string> bump_names(const Catalogue& catalogue, const std::vector<bool>& of) {
  std::vector<std::string> names;
  for (const Companion& companion : catalogue.companions) {
    std::string name = bump_name(companion);
    // A texture's bump and bump# files give one name, one after the other.
    if (of[companion.texture] && !name.empty() && (names.empty() || names.back() != name))
      names.push_back(std::move(name));
  }
  return names;
}

std::vector<const Mention*> companion_users(const Catalogue& catalogue,
                                            const std::vector<std::string>& bumps,
                                            const Mentions& mentions) {
  std::unordered_map<std::string, size_t> bump_index;
  for (size_t i = 0; i < bumps.size(); ++i)
    bump_index.emplace(compared(bumps[i]), i);
  std::vector<const Mention*> users(catalogue.companions.size(), nullptr);
  for (size_t c = 0; c < catalogue.companions.size(); ++c) {
    const Companion& companion = catalogue.companions[c];
    std::string name = compared(bump_name(companion));
    auto bump = bump_index.find(name);
    if (name.empty() || bump == bump_index.end())
      continue;
    // Its own texture's name: the bump name without "_bump".
    std::string own = name.substr(0, name.size() - 5);
    for (const Mention& use : mentions.bump_uses[bump->second])
      if (use.describes && compared(*use.describes) != own) {
        users[c] = &use;
        break;
      }
  }
  return users;
}
