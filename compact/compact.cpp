// The run sequence of Texsift-compact: banner, catalogue and the one search over files.
#include "compact/compact.h"

#include "common/game_root.h"
#include "compact/catalogue.h"
#include "compact/search.h"
#include "platform/console.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/oem.h"

namespace {

const char kBanner[] = "Texsifter for Microsoft Windows(tm), built on 17may2014\n\n";
const char kUsage[] = "Usage: Texsift.EXE C:\\KORVAN1\\\n";

// True when `args` ask for the usage text: any count of arguments other than
// one, or one of -h, --help and /?.
bool wants_usage(const std::vector<std::string>& args) {
  if (args.size() != 2)
    return true;
  return args[1] == "-h" || args[1] == "--help" || args[1] == "/?";
}

}  // namespace

int run_compact(const std::vector<std::string>& args, Console& console) {
  print(console, "%s", kBanner);
  if (wants_usage(args)) {
    print(console, "%s", kUsage);
    return 0;
  }
  std::string game_root = with_trailing_separator(args[1]);
  print(console, "Scanning path: '%s'\n", to_oem(game_root).c_str());
  if (!is_directory(game_root)) {
    console.flush();
    error("game root '%s' is not a directory", native_path(game_root).c_str());
    return 1;
  }
  const GamePaths paths{game_root.size()};
  Catalogue catalogue = compact_collect_textures(texture_root_of(game_root), paths, console);
  print(console, "\n--------------\n");
  compact_search_files(game_root, catalogue, paths, console);
  return 0;
}
