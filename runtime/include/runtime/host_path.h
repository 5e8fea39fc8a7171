// File names at the host boundary. The system's names are code page 1251 text; the host's file
// system names are UTF-8. A name is converted exactly when it is handed to the host, and names
// that come from the host (environment variables, the program's own path) are converted back.
#pragma once

#include <string>
#include <string_view>

// The host (UTF-8) form of a cp1251 file name.
std::string RUN_HostPath(std::string_view name);
// The cp1251 form of a host file name; a character without a cp1251 form becomes "?".
std::string RUN_FromHostPath(std::string_view host_name);
