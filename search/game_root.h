// The game root as both programs take it from the command line, and paths shown from it.
#pragma once

#include <string>

// Game roots are given as the command line gives them: in the form the file
// functions take (UTF-8 on Windows, see to_shown_name).

// True for both path separators, '/' and '\'.
bool is_separator(char c);

// `path` without its last part (trailing separators ignored), ending in a
// separator; empty when it has only one part.
std::string parent_path(std::string path);

// `arg` with a path separator appended, unless it is empty (the current
// directory) or already ends in one ("/" or "\").
std::string with_trailing_separator(const std::string& arg);

// The texture root below `game_root`: the game root followed by
// "gamedata\textures\".
std::string texture_root_of(const std::string& game_root);

// Why `game_root` (as with_trailing_separator gives it) cannot be searched:
// "is longer than the path limit" (max_path_length, counted as it is
// shown), "does not exist" or "is not a directory"; null when it is a
// directory.
const char* game_root_problem(const std::string& game_root);

// The folder to suggest when `game_root` yields no textures: the folder
// above it when its last name is "gamedata" (in any case) or it holds a
// "textures" folder, since it is then likely the gamedata folder itself;
// otherwise empty. The folder ends in a separator.
std::string suggested_game_root(const std::string& game_root);

// Where the lines of a report cut the paths they show, and where the records
// cut the paths that open files.
struct GamePaths {
  size_t game_root_len = 0;    // the length of the game root as shown, separator included
  size_t native_root_len = 0;  // its length as the file functions take it (see DirEntry)

  // `path`, which begins with the game root as shown, from the game root on.
  const char* from_game_root(const std::string& path) const {
    return path.c_str() + game_root_len;
  }
  // `open_path`, which begins with the game root as the file functions take
  // it, from the game root on: the real names, which `path` may show in part.
  const char* native_from_game_root(const std::string& open_path) const {
    return open_path.c_str() + native_root_len;
  }
};

// The GamePaths of `game_root`, given as the command line gives it.
GamePaths game_paths_of(const std::string& game_root);
