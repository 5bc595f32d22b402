// Contents of the text files of a generated game tree.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bench/textures.h"

class Random;

// Whether a text file's last line ends in a line break.
enum class LastLine { kEnded, kOpen };

// A configuration file (.ltx) of about `size` bytes with CR LF line ends:
// sections of "key = value" lines, with the textures of `refs.body` named
// on lines such as "texture = act\act_head" or in comma-separated lists,
// spread over the file, and those of `refs.end` on its last line, whose
// line end `last` decides.
std::string make_config(const FileRefs& refs, size_t size, LastLine last, Random& random);

// The texture list textures.ltx: one line per texture of `textures`.
std::string make_texture_specs(const std::vector<Texture>& textures);

// A script (.script) of about `size` bytes, its strings naming `textures`
// with doubled backslashes, as the script language writes them.
std::string make_script(const std::vector<const Texture*>& textures, size_t size,
                        Random& random);

// A user-interface description (.xml) of about `size` bytes whose elements
// name `textures`.
std::string make_ui_xml(const std::vector<const Texture*>& textures, size_t size,
                        Random& random);

// A shader description (.s) of about `size` bytes naming `textures` with
// doubled backslashes.
std::string make_shader_script(const std::vector<const Texture*>& textures, size_t size,
                               Random& random);

// Shader program source (.ps, .vs, .h) of about `size` bytes.
std::string make_shader_source(size_t size, Random& random);
