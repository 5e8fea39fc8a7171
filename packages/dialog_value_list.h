// Looking a field up in a value list by its control id and kind.
#pragma once

#include "packages/dialog_package.h"
#include "runtime/run_error.h"

namespace dialog_detail {

// The value of the first entry with `ctl_id` whose value is of kind K; run-time error 9002 when
// the list holds none.
template <class K>
const K& find_value(int ctl_id, const dialog::ValueList& values, SrcLoc loc = SrcLoc::current()) {
  for (const dialog::Value& v : values)
    if (v.ctl_id == ctl_id)
      if (const K* k = std::get_if<K>(&v.value)) return *k;
  RUN_Error(errcode::kNoValueListEntry, loc);
}

}  // namespace dialog_detail
