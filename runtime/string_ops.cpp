// The string services: length, concatenation and splitting, front characters and prefixes.
#include "string_ops.h"

#include "runtime/run_error.h"

namespace {
constexpr long long kMaxBlankString = 1073741824;  // 1 GiB
}

std::size_t PSTR_str_l_io(std::string_view s) { return s.size(); }

bool PSTR_str_l_ii(std::string_view s, long long length) {
  return length >= 0 && static_cast<unsigned long long>(length) == s.size();
}

std::string PSTR_str_l_oi(long long length) {
  if (length < 0 || length > kMaxBlankString) RUN_Error(errcode::kStringTooLong);
  return std::string(static_cast<std::size_t>(length), ' ');
}

std::string PSTR_con_iio(std::string_view first, std::string_view second) {
  std::string r;
  r.reserve(first.size() + second.size());
  r.append(first).append(second);
  return r;
}

std::optional<std::string_view> PSTR_con_ioi(std::string_view first, std::string_view whole) {
  if (!whole.starts_with(first)) return std::nullopt;
  return whole.substr(first.size());
}

std::optional<std::string> PSTR_con_oii(std::string_view second, std::string_view whole) {
  if (!whole.ends_with(second)) return std::nullopt;
  return std::string(whole.substr(0, whole.size() - second.size()));
}

bool PSTR_con_iii(std::string_view first, std::string_view second, std::string_view whole) {
  return whole.size() == first.size() + second.size() && whole.starts_with(first) &&
         whole.ends_with(second);
}

std::optional<FrontChar> PSTR_ft_ioo(std::string_view s) {
  if (s.empty()) return std::nullopt;
  return FrontChar{s.front(), s.substr(1)};
}

std::optional<std::string_view> PSTR_ft_iio(std::string_view s, char ch) {
  if (s.empty() || s.front() != ch) return std::nullopt;
  return s.substr(1);
}

std::optional<char> PSTR_ft_ioi(std::string_view s, std::string_view rest) {
  if (s.empty() || s.substr(1) != rest) return std::nullopt;
  return s.front();
}

bool PSTR_ft_iii(std::string_view s, char ch, std::string_view rest) {
  return !s.empty() && s.front() == ch && s.substr(1) == rest;
}

std::string PSTR_ft_oii(char ch, std::string_view rest) {
  std::string r;
  r.reserve(rest.size() + 1);
  r.push_back(ch);
  r.append(rest);
  return r;
}

std::optional<FrontRest> PSTR_fr_str(long long count, std::string_view s) {
  if (count < 0 || static_cast<unsigned long long>(count) > s.size()) return std::nullopt;
  const auto n = static_cast<std::size_t>(count);
  return FrontRest{std::string(s.substr(0, n)), s.substr(n)};
}
