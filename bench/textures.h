// The textures of a generated game tree and the files that refer to them.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class Random;

// The kind of file that refers to a texture.
enum class Home { kMesh, kLevel, kDetails, kParticles, kConfig, kUi };

struct Texture {
  std::string name;      // as game files write it, e.g. act\act_head
  std::string category;  // its first folder below gamedata\textures\, "" at the top
  std::string extension; // ".dds" or ".tga"
  Home home = Home::kConfig;
  bool referenced = true;  // false: no searched file names it
  bool at_end = false;     // its one reference is the last thing in a file
  bool bump = false;       // has _bump and _bump# companions
};

// `count` textures with distinct names. Names under ui\ are referenced by
// xml files only; of the others about 12 in 100 are referenced by nobody
// and 4 in 100 only at the end of a file. Some names are prefixes of others
// (act\act_head and act\act_head_old).
std::vector<Texture> make_textures(size_t count, Random& random);

// True when Texsift's catalogue holds `texture`: every texture but ui\ ones.
bool in_catalogue(const Texture& texture);

// The textures a file refers to: in its body, and as its last bytes.
struct FileRefs {
  std::vector<const Texture*> body;
  std::vector<const Texture*> end;
};

// Gives each texture of `home` that is referenced to one of `files` files,
// at random, in its body or at its end as the texture says.
std::vector<FileRefs> spread_references(const std::vector<Texture>& textures, Home home,
                                        size_t files, Random& random);

// The referenced textures of `home` that are not kept for the end of a file:
// the ones any number of files may name.
std::vector<const Texture*> shared_pool(const std::vector<Texture>& textures, Home home);
