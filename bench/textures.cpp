// The textures of a generated game tree: their names, and which files name them.
#include "bench/textures.h"

#include <set>
#include <string_view>

#include "bench/random.h"

namespace {

using Words = std::vector<std::string_view>;

// A folder of gamedata\textures\, its share of the textures and the words
// its names are made of.
struct Category {
  std::string_view folder;
  Home home;
  size_t weight;
  Words words;
};

const std::vector<Category>& categories() {
  static const std::vector<Category> table = {
      {"act", Home::kMesh, 12,
       {"stalker", "bandit", "dolg", "freedom", "army", "ecolog", "neutral", "monolith",
        "merc", "head", "body", "hands", "face", "scientist", "trader", "zombie",
        "bloodsucker", "boar", "flesh", "dog", "snork", "controller", "chimera", "burer",
        "poltergeist", "izlom", "tushkano", "crow", "exo", "sunsuit", "novice", "killer"}},
      {"wpn", Home::kMesh, 8,
       {"ak74", "ak74u", "abakan", "groza", "val", "vintorez", "svd", "svu", "pm", "fort",
        "walther", "colt", "eagle", "usp", "bm16", "toz34", "spas12", "rpg7", "rg6", "g36",
        "l85", "lr300", "sig550", "fn2000", "knife", "binoc", "scope", "silencer", "f1",
        "rgd5", "hud", "crosshair", "gauss", "protecta"}},
      {"veh", Home::kMesh, 3,
       {"btr", "bmp", "niva", "zaz", "uaz", "kamaz", "moskvich", "heli", "mi24", "tank",
        "bus", "trolley", "wheel", "cabin", "rust", "wreck"}},
      {"prop", Home::kMesh, 6,
       {"barrel", "box", "crate", "bottle", "bucket", "chair", "table", "radio", "lamp",
        "computer", "tv", "bed", "locker", "shelf", "sofa", "stove", "tire", "canister"}},
      {"item", Home::kMesh, 5,
       {"medkit", "bandage", "antirad", "vodka", "bread", "sausage", "conserva", "energy",
        "artefact", "battery", "pda", "documents", "flash", "ammo", "detector", "helmet"}},
      {"trees", Home::kLevel, 5,
       {"pine", "birch", "oak", "willow", "spruce", "bush", "dead", "bark", "leaves",
        "crown", "trunk", "branch", "stump"}},
      {"terrain", Home::kLevel, 2,
       {"escape", "garbage", "agroprom", "darkvalley", "bar", "yantar", "military", "radar",
        "pripyat", "stancia", "marsh", "limansk", "jupiter", "zaton", "mask", "detail"}},
      {"ston", Home::kLevel, 5,
       {"wall", "stena", "plitka", "beton", "kirpich", "asphalt", "bordur", "block",
        "tile", "stairs", "column", "road", "curb", "rubble"}},
      {"wood", Home::kLevel, 4,
       {"board", "planks", "log", "fence", "door", "floor", "beam", "crate", "window",
        "roof", "old", "painted"}},
      {"briks", Home::kLevel, 3,
       {"red", "white", "wall", "broken", "old", "dirty", "painted", "house", "factory"}},
      {"crete", Home::kLevel, 3,
       {"wall", "floor", "plate", "block", "panel", "slab", "dirty", "cracked", "bunker"}},
      {"mtl", Home::kLevel, 5,
       {"rust", "pipe", "sheet", "grate", "garage", "roof", "tank", "container", "rail",
        "hangar", "fence", "door", "ladder", "plate", "wire"}},
      {"glass", Home::kLevel, 2, {"window", "broken", "dirty", "clear", "frame", "bottle"}},
      {"floor", Home::kLevel, 2, {"tile", "linoleum", "parquet", "concrete", "carpet", "dirty"}},
      {"door", Home::kLevel, 2, {"metal", "wood", "gate", "hatch", "bunker", "garage"}},
      {"water", Home::kLevel, 1, {"river", "swamp", "puddle", "ryaska", "foam", "lake"}},
      {"grnd", Home::kLevel, 3,
       {"grass", "dirt", "mud", "sand", "gravel", "leaves", "swamp", "snow", "road", "field"}},
      {"decal", Home::kLevel, 3,
       {"blood", "dirt", "graffiti", "crack", "hole", "oil", "poster", "sign", "moss",
        "stain"}},
      {"sky", Home::kConfig, 2,
       {"clouds", "oblaka", "sunset", "night", "rain", "storm", "clear", "dawn", "fog",
        "cube", "gradient"}},
      {"intro", Home::kConfig, 1, {"logo", "loadscreen", "menu", "credits", "back", "stamp"}},
      {"fx", Home::kParticles, 3,
       {"fire", "smoke", "spark", "blood", "dust", "flare", "explosion", "water", "electra",
        "anomaly", "steam", "splash"}},
      {"pfx", Home::kParticles, 2,
       {"distort", "flame", "ring", "glow", "flash", "shockwave", "burst", "trail"}},
      {"detail", Home::kDetails, 2,
       {"grass", "bush", "flower", "stone", "leaves", "dirt", "fern", "reed", "moss"}},
      {"ui", Home::kUi, 4,
       {"icons", "inventory", "hud", "pda", "map", "actor", "menu", "progress", "button",
        "frame", "cursor", "dialog", "trade", "npc"}},
      {"", Home::kConfig, 1,
       {"shadow", "noise", "caustic", "jitter", "radiation", "flare", "lens", "vignette",
        "water", "foam"}},
  };
  return table;
}

// Endings that turn a name into a longer name it is a prefix of.
const Words& sibling_endings() {
  static const Words endings = {"_old", "_2", "_lod", "_dmg", "_wet", "_a", "_new"};
  return endings;
}

const Category& pick_category(Random& random) {
  size_t total = 0;
  for (const Category& category : categories())
    total += category.weight;
  size_t draw = random.below(total);
  for (const Category& category : categories()) {
    if (draw < category.weight)
      return category;
    draw -= category.weight;
  }
  return categories().back();
}

// A variant ending such as "_3", "_b" or none.
std::string variant(Random& random) {
  size_t kind = random.below(10);
  if (kind < 4)
    return "";
  if (kind < 7)
    return "_" + std::to_string(random.between(1, 9));
  if (kind < 9)
    return std::string("_") + static_cast<char>('a' + random.below(4));
  return "_0" + std::to_string(random.between(1, 9));
}

// A name such as act\act_bandit_head_2, or act\bandit\act_bandit_head in a
// subfolder, or shadow_noise at the top of the texture folder.
std::string make_name(const Category& category, Random& random) {
  std::string_view first = random.pick(category.words);
  std::string base = std::string(first);
  bool second = random.chance(60);
  if (second)
    base += "_" + std::string(random.pick(category.words));
  base += variant(random);
  if (category.folder.empty())
    return second ? base : base + "_" + std::string(random.pick(category.words));
  std::string folder(category.folder);
  if (second && random.chance(10))
    folder += "\\" + std::string(first);
  return folder + "\\" + std::string(category.folder) + "_" + base;
}

Texture make_texture(const Category& category, std::string name, Random& random) {
  Texture texture;
  texture.name = std::move(name);
  texture.category = std::string(category.folder);
  texture.home = category.home;
  texture.extension = category.folder == "detail" && random.chance(20) ? ".tga" : ".dds";
  bool building = category.home == Home::kMesh || category.home == Home::kLevel;
  texture.bump = random.chance(building ? 60 : 20);
  if (category.home != Home::kUi) {
    texture.referenced = !random.chance(12);
    texture.at_end = texture.referenced && random.chance(4);
  }
  return texture;
}

}  // namespace

std::vector<Texture> make_textures(size_t count, Random& random) {
  std::vector<Texture> textures;
  std::set<std::string> names;
  while (textures.size() < count) {
    const Category& category = pick_category(random);
    std::string name = make_name(category, random);
    if (!names.insert(name).second)
      continue;
    textures.push_back(make_texture(category, name, random));
    if (textures.size() == count || !random.chance(8))
      continue;
    std::string longer = name + std::string(random.pick(sibling_endings()));
    if (names.insert(longer).second)
      textures.push_back(make_texture(category, longer, random));
  }
  return textures;
}

bool in_catalogue(const Texture& texture) { return texture.home != Home::kUi; }

std::vector<FileRefs> spread_references(const std::vector<Texture>& textures, Home home,
                                        size_t files, Random& random) {
  std::vector<FileRefs> refs(files);
  for (const Texture& texture : textures) {
    if (texture.home != home || !texture.referenced)
      continue;
    FileRefs& file = refs[random.below(files)];
    (texture.at_end ? file.end : file.body).push_back(&texture);
  }
  return refs;
}

std::vector<const Texture*> shared_pool(const std::vector<Texture>& textures, Home home) {
  std::vector<const Texture*> pool;
  for (const Texture& texture : textures)
    if (texture.home == home && texture.referenced && !texture.at_end)
      pool.push_back(&texture);
  return pool;
}
