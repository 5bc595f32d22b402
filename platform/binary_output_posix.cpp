// Standard output is already written byte for byte here.
#include "platform/binary_output.h"

void set_binary_output() {}
