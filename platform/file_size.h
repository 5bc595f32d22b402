// The size of a file, read from the file system without opening it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The size in bytes of the regular file at `path`, in the form the file
// functions take (UTF-8 on Windows), links followed; none when it cannot be read or `path` names no
// regular file.
std::optional<uint64_t> file_size(const std::string& path);
