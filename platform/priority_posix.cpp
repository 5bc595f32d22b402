// Priority raise by a lower nice value; unprivileged users are refused, which is ignored.
#include "platform/priority.h"

#include <sys/resource.h>

void raise_priority() {
  int current = getpriority(PRIO_PROCESS, 0);
  (void)setpriority(PRIO_PROCESS, 0, current - 5);
}
