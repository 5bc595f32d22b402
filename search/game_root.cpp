// The game-root separator rule, the texture root, and what is wrong with a game root.
#include "search/game_root.h"

#include "platform/fs.h"
#include "text/ascii.h"

bool is_separator(char c) { return c == '/' || c == '\\'; }

std::string parent_path(std::string path) {
  while (path.size() > 1 && is_separator(path.back()))
    path.pop_back();
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? "" : path.substr(0, cut + 1);
}

namespace {

// `game_root` without its trailing separator: the path of the folder itself.
std::string without_trailing_separator(const std::string& game_root) {
  if (game_root.size() > 1 && is_separator(game_root.back()))
    return game_root.substr(0, game_root.size() - 1);
  return game_root;
}

// The last name of `folder` (a path without a trailing separator).
std::string last_name(const std::string& folder) {
  size_t separator = folder.find_last_of("/\\");
  return separator == std::string::npos ? folder : folder.substr(separator + 1);
}

// The folder above `game_root`, ending in a separator.
std::string parent_of(const std::string& game_root) {
  std::string folder = without_trailing_separator(game_root);
  std::string name = last_name(folder);
  if (name.empty() || name == "." || name == "..")
    return game_root + ".." + native_separator();
  std::string parent = parent_path(folder);
  return parent.empty() ? std::string(".") + native_separator() : parent;
}

}  // namespace

std::string with_trailing_separator(const std::string& arg) {
  if (arg.empty() || is_separator(arg.back()))
    return arg;
  return arg + native_separator();
}

std::string texture_root_of(const std::string& game_root) {
  return game_root + "gamedata\\textures\\";
}

const char* game_root_problem(const std::string& game_root) {
  if (to_shown_name(game_root).size() > max_path_length())
    return "is longer than the path limit";
  if (is_directory(game_root))
    return nullptr;
  if (path_exists(without_trailing_separator(game_root)))
    return "is not a directory";
  return "does not exist";
}

GamePaths game_paths_of(const std::string& game_root) {
  return GamePaths{to_shown_name(game_root).size(), game_root.size()};
}

std::string suggested_game_root(const std::string& game_root) {
  std::string name = last_name(without_trailing_separator(game_root));
  if (lower_ascii(name) == "gamedata" || is_directory(game_root + "textures"))
    return parent_of(game_root);
  return "";
}
