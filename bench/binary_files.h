// Contents of the binary files of a generated game tree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "bench/textures.h"

class Random;

// A mesh (.ogf) of about `size` bytes: a header, then for each texture of
// `refs.body` a child whose texture chunk names it, zero-terminated, before
// vertex and index data; the textures of `refs.end` name the last children,
// the very last name being followed only by its zero byte.
std::string make_mesh(const FileRefs& refs, size_t size, Random& random);

// A level's main file ("level") of about `size` bytes. Its shader list names
// the textures of `refs.body` as "shader/texture" or
// "shader/texture,lmap#1_1,lmap#1_2" strings, two thirds at the start and the
// rest after the first half of the geometry; its glows, the last chunk, name
// the textures of `refs.end` last.
std::string make_level(const FileRefs& refs, size_t size, Random& random);

// A level's detail-object file of about `size` bytes: the textures of
// `refs.body` with their shaders in its header, slot data, and the textures
// of `refs.end` at the end.
std::string make_details(const FileRefs& refs, size_t size, Random& random);

// The particle library of about `size` bytes: one effect per texture of
// `refs.body`, naming its texture among float data, then the textures of
// `refs.end`.
std::string make_particles(const FileRefs& refs, size_t size, Random& random);

// A level or model file of about `size` bytes whose names lie scattered
// through it: after a header, stretches of 1 to 6 KiB of random bytes or
// floats, each followed by a name of `pool` as binary formats store one
// (after a 32-bit length, zero-terminated after a shader, or zero-terminated
// straight after the data). `pool` must not be empty.
std::string make_scattered(const std::vector<const Texture*>& pool, size_t size,
                           Random& random);

// A binary file of about `size` bytes that starts with `magic`, holds
// `strings` zero-terminated near its start and typical binary data.
std::string make_binary(std::string_view magic, const std::vector<std::string>& strings,
                        size_t size, Random& random);

// A program (.exe or .dll) of about `size` bytes, with `strings` in a string
// table amid machine-code-like bytes.
std::string make_program(const std::vector<std::string>& strings, size_t size,
                         Random& random);

// An Ogg Vorbis sound of about `size` bytes: pages of random data.
std::string make_sound(size_t size, Random& random);

// The texture's .thm description, naming its bump map when it has one.
std::string make_thm(const Texture& texture, Random& random);
