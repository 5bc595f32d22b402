// Writing a generated game tree: which files it has, how large, and what names each holds.
#include "bench/game_tree.h"

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "bench/binary_files.h"
#include "bench/random.h"
#include "bench/text_files.h"
#include "bench/texture_files.h"
#include "bench/textures.h"
#include "text/console.h"

namespace {

constexpr uint64_t kSeed = 0x7e75f7b3c4a10001;
constexpr size_t kMiB = 1024 * 1024;

using Words = std::vector<std::string_view>;
using TextureList = std::vector<const Texture*>;

// Whether Texsift reads a file.
enum class Filter { kSearched, kSkipped };

// Writes files below a root directory and counts them.
class TreeWriter {
 public:
  explicit TreeWriter(std::filesystem::path root) : root_(std::move(root)) {}

  // Writes `content` to `path`, a path below the root with backslashes
  // between its parts, making the directories it needs.
  void write(std::string_view path, std::string_view content, Filter filter) {
    std::filesystem::path file = native(path);
    make_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (!out)
      fatal("cannot write %s", file.string().c_str());
    count(content.size(), filter);
  }

  TreeStats& stats() { return stats_; }

 private:
  std::filesystem::path native(std::string_view path) const {
    std::filesystem::path file = root_;
    for (size_t start = 0; start <= path.size();) {
      size_t end = std::min(path.find('\\', start), path.size());
      file /= std::string(path.substr(start, end - start));
      start = end + 1;
    }
    return file;
  }

  void make_directories(const std::filesystem::path& directory) {
    if (made_.count(directory))
      return;
    std::error_code failure;
    std::filesystem::create_directories(directory, failure);
    if (failure)
      fatal("cannot make %s: %s", directory.string().c_str(), failure.message().c_str());
    made_.insert(directory);
  }

  void count(size_t bytes, Filter filter) {
    ++stats_.files;
    stats_.bytes += bytes;
    if (filter == Filter::kSearched) {
      ++stats_.searchable_files;
      stats_.searchable_bytes += bytes;
    }
  }

  std::filesystem::path root_;
  std::set<std::filesystem::path> made_;
  TreeStats stats_;
};

// Everything the writing of one tree shares.
struct Generation {
  const TreeSize& size;
  size_t budget;  // bytes Texsift is to search
  TreeWriter tree;
  Random random;
  std::vector<Texture> textures;
};

// `per_mille` thousandths of the searched bytes.
size_t share(const Generation& run, size_t per_mille) { return run.budget / 1000 * per_mille; }

// `total` bytes shared among `count` files: many small ones, a few large.
std::vector<size_t> split_bytes(size_t total, size_t count, Random& random) {
  std::vector<double> weights;
  double sum = 0;
  for (size_t i = 0; i < count; ++i) {
    double u = random.unit();
    weights.push_back(0.2 + 3.2 * u * u * u);
    sum += weights.back();
  }
  std::vector<size_t> sizes;
  for (double weight : weights)
    sizes.push_back(static_cast<size_t>(static_cast<double>(total) * weight / sum));
  return sizes;
}

// A file name from `stem` that `taken` does not hold yet, then taken.
std::string unique_name(std::string stem, std::set<std::string>* taken) {
  std::string name = stem;
  for (size_t n = 2; !taken->insert(name).second; ++n)
    name = stem + "_" + std::to_string(n);
  return name;
}

std::string base_name(const Texture& texture) {
  return texture.name.substr(texture.name.rfind('\\') + 1);
}

std::string identifier(Random& random) {
  static const Words words = {"esc", "gar", "agr", "bar", "yan", "mil", "rad", "pri",
                              "stalker", "bandit", "camp", "way", "patrol", "zone",
                              "ambient", "wind", "fire", "night", "trader", "base"};
  // One draw per statement: the order in which the operands of + are
  // evaluated is not fixed, and the tree must not depend on the compiler.
  std::string text(random.pick(words));
  text += "_";
  text += random.pick(words);
  text += "_" + std::to_string(random.below(100));
  return text;
}

// Adds to `file` textures of `pool` until it names between `low` and `high`.
void add_from_pool(FileRefs* file, const TextureList& pool, size_t low, size_t high,
                   Random& random) {
  size_t wanted = random.between(low, high);
  while (!pool.empty() && file->body.size() + file->end.size() < wanted)
    file->body.push_back(random.pick(pool));
}

// Adds each texture of `pool` to `file` with a chance of `percent` in 100.
void add_some(FileRefs* file, const TextureList& pool, size_t percent, Random& random) {
  for (const Texture* texture : pool)
    if (random.chance(percent))
      file->body.push_back(texture);
}

void write_textures(Generation& run) {
  for (const Texture& texture : run.textures) {
    std::string path = "gamedata\\textures\\" + texture.name;
    run.tree.write(path + texture.extension,
                   texture.extension == ".tga"
                       ? make_tga_texture(64, 64, static_cast<uint32_t>(run.random.below(360)),
                                          run.random)
                       : run.size.photo_textures ? make_photo_dds(run.random)
                                                 : make_random_dds(run.random),
                   Filter::kSkipped);
    run.tree.write(path + ".thm", make_thm(texture, run.random), Filter::kSkipped);
    if (!texture.bump)
      continue;
    run.tree.write(path + "_bump.dds", make_random_dds(run.random), Filter::kSkipped);
    run.tree.write(path + "_bump#.dds", make_random_dds(run.random), Filter::kSkipped);
  }
}

std::string mesh_folder(const Texture& texture) {
  static const std::vector<std::pair<std::string_view, std::string_view>> folders = {
      {"act", "actors"}, {"wpn", "weapons"}, {"veh", "vehicles"},
      {"prop", "physics"}, {"item", "equipments"}};
  for (const auto& [category, folder] : folders)
    if (texture.category == category)
      return std::string(folder);
  return "objects";
}

void write_meshes(Generation& run) {
  Random& random = run.random;
  std::vector<FileRefs> meshes =
      spread_references(run.textures, Home::kMesh, run.size.meshes, random);
  TextureList pool = shared_pool(run.textures, Home::kMesh);
  std::vector<size_t> sizes = split_bytes(share(run, 480), meshes.size(), random);
  std::set<std::string> taken;
  for (size_t i = 0; i < meshes.size(); ++i) {
    add_from_pool(&meshes[i], pool, 1, 3, random);
    const FileRefs& refs = meshes[i];
    const Texture& first = refs.body.empty() ? *refs.end.front() : *refs.body.front();
    std::string path = "gamedata\\meshes\\" + mesh_folder(first) + "\\" +
                       unique_name(base_name(first), &taken);
    run.tree.write(path + ".ogf", make_mesh(refs, sizes[i], random), Filter::kSearched);
  }
}

const Words& level_names() {
  static const Words names = {
      "l01_escape",    "l02_garbage",      "l03_agroprom", "l03u_agr_underground",
      "l04_darkvalley", "l04u_labx18",     "l05_bar",      "l06_rostok",
      "l07_military",  "l08_yantar",       "l08u_brainlab", "l10_radar",
      "l10u_bunker",   "l11_pripyat",      "l12_stancia",  "l12_stancia_2",
      "l12u_sarcofag", "l12u_control_monolith"};
  return names;
}

// A file that sits beside every level's main file, and its share of the
// searched bytes over all levels.
struct Companion {
  std::string_view name;
  size_t per_mille;
  std::vector<std::string> strings;
};

const std::vector<Companion>& companions() {
  static const std::vector<Companion> files = {
      {"level.geom", 200, {}},
      {"level.cform", 80, {}},
      {"level.ai", 50, {}},
      {"level.hom", 10, {}},
      {"level.graph", 10, {}},
      {"level.snd_static", 3, {"ambient\\wind_1", "ambient\\water_drip"}},
      {"level.ps_static", 3, {"static\\fire_barrel", "static\\smoke_chimney"}},
      {"level.snd_env", 2, {"default", "pipe", "sewer"}},
      {"level.env_mod", 1, {}},
      {"level.game", 5, {"esc_way_0012", "esc_patrol_walk", "esc_camp_look"}},
      {"level.som", 5, {}},
      {"level.wallmarks", 3, {"wm\\wm_blood_1", "wm\\wm_bullet_hole"}},
      {"level_lods.dds", 2, {}},
      {"lmap#1_1.dds", 2, {}},
      {"lmap#1_2.dds", 2, {}}};
  return files;
}

void write_level_companions(Generation& run, const std::string& folder) {
  size_t levels = run.size.levels;
  for (const Companion& file : companions()) {
    size_t size = share(run, file.per_mille) / levels;
    run.tree.write(folder + std::string(file.name),
                   make_binary("xrLC", file.strings, size, run.random), Filter::kSkipped);
  }
}

void write_levels(Generation& run) {
  Random& random = run.random;
  size_t levels = run.size.levels;
  std::vector<FileRefs> mains = spread_references(run.textures, Home::kLevel, levels, random);
  std::vector<FileRefs> details =
      spread_references(run.textures, Home::kDetails, levels, random);
  TextureList level_pool = shared_pool(run.textures, Home::kLevel);
  TextureList detail_pool = shared_pool(run.textures, Home::kDetails);
  for (size_t i = 0; i < levels; ++i) {
    add_some(&mains[i], level_pool, 25, random);
    add_some(&details[i], detail_pool, 30, random);
    std::string folder = "gamedata\\levels\\" + std::string(level_names()[i]) + "\\";
    double spread = 0.6 + 0.8 * random.unit();
    size_t size = static_cast<size_t>(static_cast<double>(share(run, 360) / levels) * spread);
    run.tree.write(folder + "level", make_level(mains[i], size, random), Filter::kSearched);
    run.tree.write(folder + "level.details",
                   make_details(details[i], share(run, 50) / levels, random), Filter::kSearched);
    write_level_companions(run, folder);
  }
}

// Every referenced texture that is not kept for a file's end.
TextureList any_pool(const std::vector<Texture>& textures) {
  TextureList pool;
  for (Home home : {Home::kMesh, Home::kLevel, Home::kDetails, Home::kParticles, Home::kConfig})
    for (const Texture* texture : shared_pool(textures, home))
      pool.push_back(texture);
  return pool;
}

std::vector<std::string> config_paths(size_t count, Random& random) {
  static const Words folders = {"weapons", "creatures", "weathers", "misc", "models",
                                "gameplay", "scripts", "mp", "items", "environment"};
  std::vector<std::string> paths = {"system", "game", "environment", "weathers\\environment",
                                    "creatures\\actor", "misc\\items", "weapons\\weapons"};
  std::set<std::string> taken(paths.begin(), paths.end());
  while (paths.size() < count) {
    std::string folder(random.pick(folders));
    paths.push_back(unique_name(folder + "\\" + identifier(random), &taken));
  }
  paths.resize(count);
  return paths;
}

void write_configs(Generation& run) {
  Random& random = run.random;
  size_t count = run.size.configs;
  std::vector<FileRefs> configs = spread_references(run.textures, Home::kConfig, count, random);
  TextureList pool = any_pool(run.textures);
  std::vector<size_t> sizes = split_bytes(share(run, 50), count, random);
  std::vector<std::string> paths = config_paths(count, random);
  for (size_t i = 0; i < count; ++i) {
    for (size_t extra = random.below(7); extra > 0; --extra)
      configs[i].body.push_back(random.pick(pool));
    LastLine last = random.chance(10) ? LastLine::kOpen : LastLine::kEnded;
    run.tree.write("gamedata\\config\\" + paths[i] + ".ltx",
                   make_config(configs[i], sizes[i], last, random), Filter::kSearched);
  }
  run.tree.write("gamedata\\textures\\textures.ltx", make_texture_specs(run.textures),
                 Filter::kSkipped);
  FileRefs sky;
  add_from_pool(&sky, shared_pool(run.textures, Home::kConfig), 4, 8, random);
  run.tree.write("gamedata\\config\\external.ltx", make_config(sky, 4096, LastLine::kEnded, random),
                 Filter::kSkipped);
}

void write_particles(Generation& run) {
  std::vector<FileRefs> library = spread_references(run.textures, Home::kParticles, 1, run.random);
  run.tree.write("gamedata\\particles.xr", make_particles(library[0], share(run, 20), run.random),
                 Filter::kSearched);
}

void write_shaders(Generation& run) {
  Random& random = run.random;
  size_t count = 8 + run.size.textures / 100;
  TextureList pool = shared_pool(run.textures, Home::kDetails);
  size_t each = share(run, 10) / count / 3;
  std::set<std::string> taken;
  for (size_t i = 0; i < count; ++i) {
    std::string path = "gamedata\\shaders\\r" + std::to_string(1 + i % 2) + "\\" +
                       unique_name(identifier(random), &taken);
    FileRefs refs;
    add_from_pool(&refs, pool, 0, 4, random);
    run.tree.write(path + ".s", make_shader_script(refs.body, each, random), Filter::kSearched);
    run.tree.write(path + ".ps", make_shader_source(each, random), Filter::kSearched);
    run.tree.write(path + ".vs", make_shader_source(each, random), Filter::kSearched);
  }
  for (std::string_view folder : {"r1", "r2"})
    run.tree.write("gamedata\\shaders\\" + std::string(folder) + "\\common.h",
                   make_shader_source(8192, random), Filter::kSkipped);
}

void write_spawn(Generation& run) {
  std::vector<std::string> strings;
  for (size_t i = 0; i < 200; ++i)
    strings.push_back(identifier(run.random));
  run.tree.write("gamedata\\spawns\\all.spawn",
                 make_binary("", strings, share(run, 30), run.random), Filter::kSearched);
}

TextureList ui_textures(const std::vector<Texture>& textures) {
  TextureList ui;
  for (const Texture& texture : textures)
    if (texture.home == Home::kUi)
      ui.push_back(&texture);
  return ui;
}

void write_scripts_and_ui(Generation& run) {
  Random& random = run.random;
  TextureList ui = ui_textures(run.textures);
  size_t scripts = 20 + run.size.textures / 50;
  std::vector<size_t> sizes = split_bytes(share(run, 15), scripts, random);
  std::set<std::string> taken;
  for (size_t i = 0; i < scripts; ++i) {
    FileRefs refs;
    add_from_pool(&refs, ui, 0, 3, random);
    std::string name = unique_name(identifier(random), &taken);
    run.tree.write("gamedata\\scripts\\" + name + ".script",
                   make_script(refs.body, sizes[i], random), Filter::kSkipped);
  }
  size_t forms = 10 + run.size.textures / 200;
  std::vector<FileRefs> refs = spread_references(run.textures, Home::kUi, forms, random);
  sizes = split_bytes(share(run, 10), forms, random);
  for (size_t i = 0; i < forms; ++i) {
    std::string name = unique_name(identifier(random), &taken);
    run.tree.write("gamedata\\config\\ui\\" + name + ".xml",
                   make_ui_xml(refs[i].body, sizes[i], random), Filter::kSkipped);
  }
}

void write_sounds(Generation& run) {
  static const Words folders = {"ambient", "weapons", "characters_voice", "material",
                                "monsters", "music"};
  size_t count = 20 + run.size.textures / 20;
  std::vector<size_t> sizes = split_bytes(share(run, 40), count, run.random);
  std::set<std::string> taken;
  for (size_t i = 0; i < count; ++i) {
    std::string folder(run.random.pick(folders));
    std::string name = unique_name(identifier(run.random), &taken);
    run.tree.write("gamedata\\sounds\\" + folder + "\\" + name + ".ogg",
                   make_sound(sizes[i], run.random), Filter::kSkipped);
  }
}

void write_programs(Generation& run) {
  static const std::vector<std::pair<std::string_view, size_t>> programs = {
      {"XR_3DA.exe", 10},       {"xrCore.dll", 8},     {"xrGame.dll", 40},
      {"xrRender_R1.dll", 14},  {"xrRender_R2.dll", 16}, {"xrCDB.dll", 3},
      {"xrSound.dll", 3},       {"OpenAL32.dll", 3},   {"dbghelp.dll", 3}};
  std::vector<std::string> strings = {"gamedata\\", "$game_textures$", "textures.ltx",
                                      "%s\\%s", "ui\\ui_hud", "$game_config$"};
  TextureList pool = any_pool(run.textures);
  for (size_t i = 0; i < 12 && !pool.empty(); ++i)
    strings.push_back(run.random.pick(pool)->name);
  for (const auto& [name, percent] : programs)
    run.tree.write("bin\\" + std::string(name),
                   make_program(strings, share(run, 30) / 100 * percent, run.random),
                   Filter::kSkipped);
}

// Level and model files of 8 to 32 MiB with names every few KiB among
// random bytes and floats: two, and one more for each 128 MiB of the tree's
// searched bytes. They draw from their own stream, so that adding them left
// every other file's bytes as they were.
void write_scattered(Generation& run) {
  Random random(kSeed ^ 0x5ca77e4ed);
  TextureList pool = any_pool(run.textures);
  if (pool.empty())
    return;
  size_t count = 2 + run.size.searchable_mib / 128;
  for (size_t i = 0; i < count; ++i) {
    size_t size = random.between(8, 32) * kMiB;
    std::string path;
    if (i % 2 == 0) {
      size_t k = i / 2;
      path = "gamedata\\levels\\" + std::string(level_names()[k % run.size.levels]) +
             "\\level.scene" + (k < run.size.levels ? "" : std::to_string(k / run.size.levels + 1));
    } else {
      path = "gamedata\\meshes\\scenes\\scene_" + std::to_string(i / 2 + 1) + ".ogf";
    }
    run.tree.write(path, make_scattered(pool, size, random), Filter::kSearched);
  }
}

void count_textures(const std::vector<Texture>& textures, TreeStats* stats) {
  for (const Texture& texture : textures) {
    ++stats->textures;
    if (!in_catalogue(texture))
      continue;
    ++stats->names;
    stats->unreferenced += texture.referenced ? 0 : 1;
    stats->at_end += texture.at_end ? 1 : 0;
  }
}

}  // namespace

const TreeSize* find_tree_size(std::string_view label) {
  static const TreeSize sizes[] = {{"small", 500, 20, 2, 250, 40, false},
                                   {"medium", 4000, 250, 8, 2000, 200, false},
                                   {"large", 8000, 1024, 16, 4000, 360, false},
                                   {"xl", 18000, 3584, 18, 5000, 600, false},
                                   {"real", 500, 20, 2, 250, 40, true}};
  for (const TreeSize& size : sizes)
    if (size.label == label)
      return &size;
  return nullptr;
}

TreeStats write_game_tree(const TreeSize& size, const std::filesystem::path& root) {
  Generation run{size, size.searchable_mib * kMiB, TreeWriter(root), Random(kSeed), {}};
  run.textures = make_textures(size.textures, run.random);
  write_textures(run);
  write_meshes(run);
  write_levels(run);
  write_configs(run);
  write_particles(run);
  write_shaders(run);
  write_spawn(run);
  write_scripts_and_ui(run);
  write_sounds(run);
  write_programs(run);
  write_scattered(run);
  TreeStats stats = run.tree.stats();
  count_textures(run.textures, &stats);
  return stats;
}
