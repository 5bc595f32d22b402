// The game root as both programs take it from the command line, and paths shown from it.
#pragma once

#include <string>

// `arg` with a path separator appended, unless it is empty (the current
// directory) or already ends in one ("/" or "\").
std::string with_trailing_separator(const std::string& arg);

// The texture root below `game_root`: the game root followed by
// "gamedata\textures\".
std::string texture_root_of(const std::string& game_root);

// Why `game_root` (as with_trailing_separator gives it) cannot be searched:
// "does not exist" or "is not a directory"; null when it is a directory.
const char* game_root_problem(const std::string& game_root);

// The folder to suggest when `game_root` yields no textures: the folder
// above it when its last name is "gamedata" (in any case) or it holds a
// "textures" folder, since it is then likely the gamedata folder itself;
// otherwise empty. The folder ends in a separator.
std::string suggested_game_root(const std::string& game_root);

// Where the lines of a report cut the paths they show.
struct GamePaths {
  size_t game_root_len = 0;  // the length of the game root, separator included

  // `path`, which begins with the game root, from the game root on.
  const char* from_game_root(const std::string& path) const {
    return path.c_str() + game_root_len;
  }
};
