// Raises the process to HIGH_PRIORITY_CLASS.
#include "platform/priority.h"

#include <windows.h>

void raise_priority() { SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS); }
