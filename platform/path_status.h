// Whether anything exists at a path, to tell a missing game root from one that is not a directory.
#pragma once

#include <string>

// True when a file, directory or anything else exists at `path` (links
// followed: a dangling link does not count). `path` is in the form the file
// functions take (UTF-8 on Windows); a backslash is a separator on every
// platform; the empty path is the current directory.
bool path_exists(const std::string& path);
