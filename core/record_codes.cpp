// The codes list and new codes (see record_codes.h).
#include "core/record_codes.h"

#include "core/catalogue_facts.h"
#include "core/list_ordering.h"
#include "runtime/codepage.h"
#include "runtime/run_error.h"

FactSection секция_кодов;
SingleKind<std::vector<std::int32_t>> списоккодов{секция_кодов, "списоккодов"_cp, {0}};

namespace {

std::vector<std::int32_t> все_коды() {
  std::vector<std::int32_t> коды;
  коды.reserve(база_лит.count());
  for (auto v : база_лит.views()) коды.push_back(v[&ЗаписьБазы::код]);
  return коды;
}

}  // namespace

std::int32_t формирумновыйкод() {
  const std::vector<std::int32_t> коды = все_коды();
  списоккодов.set(коды);
  const auto наибольший = максэлсписка(коды);
  if (!наибольший) return 1;
  std::int32_t код = 0;
  if (__builtin_add_overflow(*наибольший, 1, &код)) RUN_Error(errcode::kIntOverflow);
  return код;
}

void получитьсписоккодов() {
  std::vector<std::int32_t> коды = все_коды();
  if (коды.empty()) return;
  списоккодов.set(sortdown(std::move(коды)));
}

void запомнить_коды() { списоккодов.set(все_коды()); }
