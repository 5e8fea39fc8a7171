// Message texts of the dialog package: the "%" directives of its messages filled with integers,
// reals and strings by the rules of the run-time's formatted output (flags, width, precision,
// the letters each type allows, "%%"; output stops at the first directive without a value).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace dialog_detail {

using FormatArg = std::variant<std::int32_t, double, std::string>;

// The format with its directives filled by `args` in order. Surplus values are ignored.
std::string format(std::string_view fmt, const std::vector<FormatArg>& args);

}  // namespace dialog_detail
