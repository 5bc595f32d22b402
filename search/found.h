// The line both searches print for a reference found.
#pragma once

#include <cstdint>

struct Report;

// Sets the colour for a reference found and prints "FOUND '<what>' @ <offset>"
// with the offset in decimal.
void print_found(const Report& report, const char* what, uint64_t offset);
