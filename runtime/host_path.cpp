// Conversion of file names between code page 1251 and the host's UTF-8.
#include "runtime/host_path.h"

#include "runtime/codepage.h"

std::string RUN_HostPath(std::string_view name) { return cp1251::to_utf8(name); }

std::string RUN_FromHostPath(std::string_view host_name) { return cp1251::from_utf8(host_name); }
