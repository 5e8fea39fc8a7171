// The check of one edit field (see dialog_check.h): the exact messages and their order.
#include "dialog_check.h"

#include <algorithm>
#include <type_traits>

#include "dialog_format.h"
#include "runtime/conversions.h"

namespace dialog_detail {
namespace {

using namespace dialog;

// The field's name in its message's first "%s", and the detail in its second.
CheckFailure plain(const char* message) { return {message, ""}; }
CheckFailure behind_name(std::string detail) { return {"%s %s", std::move(detail)}; }

template <class P, class Props>
bool has(const Props& props) {
  for (const auto& p : props)
    if (std::holds_alternative<P>(p)) return true;
  return false;
}

std::optional<CheckFailure> check_text(const editstr& f, const std::string& text) {
  for (const StrProperty& p : f.props) {
    if (std::holds_alternative<mandatory>(p) && text.empty()) return plain("%s is mandatory%s");
    if (const auto* l = std::get_if<length>(&p); l && text.size() > static_cast<std::size_t>(std::max(l->max_chars, 0)))
      return behind_name(format("contains more than % characters", {l->max_chars}));
  }
  return std::nullopt;
}

// Integer and long fields read their text as a signed 32-bit number (the long type has that
// width here too); a number outside it is a text that does not convert, not a run-time error.
std::optional<std::int32_t> read_number(const std::string& text, std::int32_t*) { return CONV_s_i_io(text); }
std::optional<double> read_number(const std::string& text, double*) { return CONV_s_r_io(text); }

template <class N, class Props>
std::optional<CheckFailure> check_number(const Props& props, const std::string& text, const char* type_message) {
  const std::optional<N> number = text.empty() ? std::nullopt : read_number(text, static_cast<N*>(nullptr));
  for (const NumProperty<N>& p : props) {
    if (std::holds_alternative<mandatory>(p)) {
      if (text.empty()) return plain("%s is mandatory%s");
      continue;
    }
    const bool checking = std::holds_alternative<default_value<N>>(p) || std::holds_alternative<range<N>>(p) ||
                          std::holds_alternative<minimum<N>>(p) || std::holds_alternative<maximum<N>>(p);
    if (!checking || text.empty()) continue;
    if (!number) return plain(type_message);
    const N n = *number;
    if (const auto* r = std::get_if<range<N>>(&p); r && (n < r->min || n > r->max))
      return behind_name(format("must be between % and %. Current value %", {r->min, r->max, n}));
    if (const auto* m = std::get_if<minimum<N>>(&p); m && n < m->min)
      return behind_name(format("must be greater or equal than %", {m->min}));
    if (const auto* m = std::get_if<maximum<N>>(&p); m && n > m->max)
      return behind_name(format("must be less or equal than %", {m->max}));
  }
  if (!text.empty() && !number) return plain(type_message);
  return std::nullopt;
}

}  // namespace

bool is_checked_kind(const FieldValue& value) {
  return std::holds_alternative<editstr>(value) || std::holds_alternative<editint>(value) ||
         std::holds_alternative<editlong>(value) || std::holds_alternative<editreal>(value);
}

std::optional<CheckFailure> check_field_text(const FieldValue& value, const std::string& text) {
  return std::visit(
      [&text](const auto& f) -> std::optional<CheckFailure> {
        using F = std::decay_t<decltype(f)>;
        if constexpr (std::is_same_v<F, editstr>) {
          if (text.empty() && has<default_value<std::string>>(f.props)) return std::nullopt;
          return check_text(f, text);
        } else if constexpr (std::is_same_v<F, editint> || std::is_same_v<F, editlong>) {
          if (text.empty() && has<default_value<std::int32_t>>(f.props)) return std::nullopt;
          return check_number<std::int32_t>(f.props, text,
                                            std::is_same_v<F, editint> ? "%s must be an integer%s" : "%s must be a long%s");
        } else if constexpr (std::is_same_v<F, editreal>) {
          if (text.empty() && has<default_value<double>>(f.props)) return std::nullopt;
          return check_number<double>(f.props, text, "%s must be an real%s");
        } else {
          return std::nullopt;
        }
      },
      value);
}

std::string failure_text(const CheckFailure& failure, const Prompt& prompt, const std::string& name) {
  if (const auto* own = std::get_if<own_prompt>(&prompt)) return own->text;
  return format(failure.message, {name, failure.detail});
}

}  // namespace dialog_detail
