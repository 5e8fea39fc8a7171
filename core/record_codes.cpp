// The codes list and new codes (see record_codes.h).
#include "core/record_codes.h"

#include <algorithm>
#include <climits>

#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
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

std::optional<std::int32_t> наибольший_данный_код() {
  std::optional<std::int32_t> код = наибольший_код.first();
  for (auto v : база_лит.views()) код = std::max(код.value_or(INT32_MIN), v[&ЗаписьБазы::код]);
  return код;
}

void отметить_данный_код(std::int32_t код) {
  const auto прежний = наибольший_код.first();
  if (прежний && *прежний >= код) return;
  наибольший_код.retract_all();
  наибольший_код.assertz(код);
}

std::int32_t формирумновыйкод() {
  списоккодов.set(все_коды());
  const auto наибольший = наибольший_данный_код();
  std::int32_t код = 1;
  if (const auto данный = хранилище_каталога().новый_код(наибольший))
    код = *данный;
  else if (наибольший && __builtin_add_overflow(*наибольший, 1, &код))
    RUN_Error(errcode::kIntOverflow);
  отметить_данный_код(код);
  return код;
}

void получитьсписоккодов() {
  if (const auto наибольший = наибольший_данный_код()) отметить_данный_код(*наибольший);
  std::vector<std::int32_t> коды = все_коды();
  if (коды.empty()) return;
  списоккодов.set(sortdown(std::move(коды)));
}

void запомнить_коды() { списоккодов.set(все_коды()); }
