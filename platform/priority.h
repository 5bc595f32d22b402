// Process scheduling priority.
#pragma once

// Raises the process to high priority. A failure is ignored.
void raise_priority();
