// Standard output that writes its bytes as given, for the machine-readable reports.
#pragma once

// Makes standard output write every byte as it is given: on Windows a line
// feed is then no longer written as CR LF. Elsewhere output is already so.
void set_binary_output();
