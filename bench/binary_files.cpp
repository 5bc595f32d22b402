// Contents of the binary files of a generated game tree.
#include "bench/binary_files.h"

#include <algorithm>

#include "bench/bytes.h"
#include "bench/random.h"

namespace {

using Words = std::vector<std::string_view>;

constexpr uint32_t kHeaderChunk = 1;
constexpr uint32_t kTextureChunk = 2;
constexpr uint32_t kVerticesChunk = 3;
constexpr uint32_t kIndicesChunk = 4;
constexpr uint32_t kShadersChunk = 5;
constexpr uint32_t kGlowsChunk = 6;
constexpr uint32_t kSlotsChunk = 7;

// What is left of `size` once `used` bytes are written, at least `floor`.
size_t remaining(size_t size, size_t used, size_t floor) {
  return size > used + floor ? size - used : floor;
}

// The bytes of data that go with each name of `refs` once `used` bytes of
// `size` are written.
size_t per_reference(const FileRefs& refs, size_t size, size_t used) {
  return remaining(size, used, 1024) / std::max<size_t>(1, refs.body.size() + refs.end.size());
}

std::string start_file(size_t size) {
  std::string out;
  out.reserve(size + 65536);
  return out;
}

void append_header(std::string* out, uint32_t version, Random& random) {
  append_chunk(out, kHeaderChunk, 44);
  append_u32(out, version);
  append_floats(out, 40, random);
}

// Vertex data, then index data, `size` bytes with their chunk headers.
void append_geometry(std::string* out, size_t size, Random& random) {
  size_t vertices = size / 10 * 7;
  size_t indices = size - std::min(size, vertices + 16);
  append_chunk(out, kVerticesChunk, vertices);
  append_floats(out, vertices, random);
  append_chunk(out, kIndicesChunk, indices);
  append_indices(out, indices, static_cast<uint32_t>(random.between(64, 8192)), random);
}

void append_mesh_texture(std::string* out, const Texture& texture, Random& random) {
  static const Words shaders = {"models\\model", "models\\model_pn", "models\\weapons",
                                "models\\selflight", "models\\window"};
  std::string_view shader = random.pick(shaders);
  append_chunk(out, kTextureChunk, texture.name.size() + shader.size() + 2);
  append_cstring(out, texture.name);
  append_cstring(out, shader);
}

// A texture name as a zero-terminated string closing its own chunk.
void append_last_name(std::string* out, std::string_view prefix, const Texture& texture) {
  append_chunk(out, kTextureChunk, prefix.size() + texture.name.size() + 1);
  out->append(prefix);
  append_cstring(out, texture.name);
}

// "shader/texture", with the level's light maps for most of them.
std::string level_shader(const Texture& texture, Random& random) {
  static const Words shaders = {"def_shaders\\def_vertex", "def_shaders\\def_trans",
                                "def_shaders\\def_aref", "def_shaders\\lightmap_hq",
                                "flora\\leaf_wave", "default", "effects\\wallmark"};
  std::string text = std::string(random.pick(shaders)) + "/" + texture.name;
  if (random.chance(60)) {
    std::string map = std::to_string(random.between(1, 12));
    text += ",lmap#" + map + "_1,lmap#" + map + "_2";
  }
  return text;
}

void append_level_shaders(std::string* out, const std::vector<const Texture*>& textures,
                          size_t from, size_t to, Random& random) {
  std::string strings;
  for (size_t i = from; i < to; ++i)
    append_cstring(&strings, level_shader(*textures[i], random));
  append_chunk(out, kShadersChunk, strings.size() + 4);
  append_u32(out, static_cast<uint32_t>(to - from));
  out->append(strings);
}

// Glows: a position and radius, then the glow's "shader/texture" string.
void append_glows(std::string* out, const std::vector<const Texture*>& at_end, Random& random) {
  size_t count = random.between(4, 24);
  append_chunk(out, kGlowsChunk, count * 40);
  for (size_t i = 0; i < count; ++i) {
    append_floats(out, 16, random);
    append_cstring(out, "glow\\glow_flare/glow\\glow_0" + std::to_string(random.below(10)));
  }
  for (const Texture* texture : at_end) {
    append_floats(out, 16, random);
    append_last_name(out, "glow\\glow_flare/", *texture);
  }
}

std::string effect_name(const Texture& texture, Random& random) {
  static const Words groups = {"anomaly", "explosions", "weapons", "ambient",
                               "damage",  "static",     "monsters"};
  std::string_view base = texture.name;
  base = base.substr(base.rfind('\\') + 1);
  std::string name(random.pick(groups));
  return name + "\\" + std::string(base) + "_" + std::to_string(random.below(100));
}

}  // namespace

std::string make_mesh(const FileRefs& refs, size_t size, Random& random) {
  std::string out = start_file(size);
  append_header(&out, 4, random);
  size_t each = per_reference(refs, size, out.size());
  for (const Texture* texture : refs.body) {
    append_mesh_texture(&out, *texture, random);
    append_geometry(&out, each, random);
  }
  for (const Texture* texture : refs.end) {
    append_geometry(&out, each, random);
    append_last_name(&out, "", *texture);
  }
  if (refs.body.empty() && refs.end.empty())
    append_geometry(&out, each, random);
  return out;
}

std::string make_level(const FileRefs& refs, size_t size, Random& random) {
  std::string out = start_file(size);
  append_header(&out, 14, random);
  size_t early = refs.body.size() * 2 / 3;
  append_level_shaders(&out, refs.body, 0, early, random);
  size_t half = remaining(size, out.size() + 2048 + refs.body.size() * 30, 4096) / 2;
  append_mixed(&out, half, random);
  append_level_shaders(&out, refs.body, early, refs.body.size(), random);
  append_mixed(&out, remaining(size, out.size() + 1024, 4096), random);
  append_glows(&out, refs.end, random);
  return out;
}

std::string make_details(const FileRefs& refs, size_t size, Random& random) {
  std::string out = start_file(size);
  append_header(&out, 3, random);
  for (const Texture* texture : refs.body) {
    append_cstring(&out, "details\\blend");
    append_cstring(&out, texture->name);
  }
  size_t slots = remaining(size, out.size() + refs.end.size() * 40, 4096);
  append_chunk(&out, kSlotsChunk, slots);
  append_indices(&out, slots, 64, random);
  for (const Texture* texture : refs.end)
    append_last_name(&out, "details\\blend/", *texture);
  return out;
}

std::string make_particles(const FileRefs& refs, size_t size, Random& random) {
  std::string out = start_file(size);
  append_header(&out, 1, random);
  size_t each = per_reference(refs, size, out.size());
  for (const Texture* texture : refs.body) {
    append_chunk(&out, kTextureChunk, each);
    append_cstring(&out, effect_name(*texture, random));
    append_cstring(&out, "particles\\add");
    append_cstring(&out, texture->name);
    append_floats(&out, each, random);
  }
  for (const Texture* texture : refs.end) {
    append_floats(&out, each, random);
    append_last_name(&out, "particles\\blend/", *texture);
  }
  return out;
}

std::string make_scattered(const std::vector<const Texture*>& pool, size_t size,
                           Random& random) {
  static const Words shaders = {"def_shaders\\def_vertex/", "models\\model/",
                                "effects\\wallmark/"};
  std::string out = start_file(size);
  append_header(&out, 18, random);
  while (out.size() < size) {
    size_t gap = random.between(1024, 6144);
    if (random.chance(50))
      append_noise(&out, gap, random);
    else
      append_floats(&out, gap, random);
    std::string_view name = random.pick(pool)->name;
    size_t form = random.below(3);
    if (form == 0) {
      append_u32(&out, static_cast<uint32_t>(name.size()));
      out.append(name);
    } else if (form == 1) {
      out.append(random.pick(shaders));
      append_cstring(&out, name);
    } else {
      append_cstring(&out, name);
    }
  }
  return out;
}

std::string make_binary(std::string_view magic, const std::vector<std::string>& strings,
                        size_t size, Random& random) {
  std::string out = start_file(size);
  out.append(magic);
  append_chunk(&out, kHeaderChunk, strings.size());
  for (const std::string& text : strings)
    append_cstring(&out, text);
  append_mixed(&out, remaining(size, out.size(), 256), random);
  return out;
}

std::string make_program(const std::vector<std::string>& strings, size_t size,
                         Random& random) {
  std::string out = start_file(size);
  out.append("MZ");
  out.append(58, '\0');
  append_u32(&out, 0x80);
  append_noise(&out, 64, random);
  out.append("PE\0\0", 4);
  append_mixed(&out, remaining(size, out.size(), 1024) / 10 * 8, random);
  for (const std::string& text : strings)
    append_cstring(&out, text);
  append_noise(&out, remaining(size, out.size(), 256), random);
  return out;
}

std::string make_sound(size_t size, Random& random) {
  std::string out = start_file(size);
  while (out.size() < size) {
    out.append("OggS");
    out.push_back('\0');
    append_noise(&out, std::min<size_t>(4091, size - out.size()), random);
  }
  return out;
}

std::string make_thm(const Texture& texture, Random& random) {
  std::string out;
  append_chunk(&out, 0x0810, 2);
  out.append("\x12\0", 2);
  append_chunk(&out, 0x0812, 32);
  append_noise(&out, 32, random);
  std::string detail = "detail\\detail_grnd_earth";
  append_chunk(&out, 0x0813, detail.size() + 5);
  append_cstring(&out, detail);
  append_floats(&out, 4, random);
  if (texture.bump) {
    append_chunk(&out, 0x0815, texture.name.size() + 14);
    append_floats(&out, 8, random);
    append_cstring(&out, texture.name + "_bump");
  }
  return out;
}
