// stb_image's implementation, reading TGA only; built without this project's warnings (see
// CMakeLists.txt). tga.cpp uses it.
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 4096
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
