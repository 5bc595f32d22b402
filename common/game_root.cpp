// The game-root separator rule and the texture root.
#include "common/game_root.h"

#include "platform/directory.h"

std::string with_trailing_separator(const std::string& arg) {
  if (arg.empty() || arg.back() == '/' || arg.back() == '\\')
    return arg;
  return arg + native_separator();
}

std::string texture_root_of(const std::string& game_root) {
  return game_root + "gamedata\\textures\\";
}
