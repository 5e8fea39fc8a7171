// The message window package's fact section: the line limit, the window, the partial line
// waiting to be shown with its flush timer, a position waiting for the window to be restored,
// and the show-at-once flag. Every kind holds at most one fact.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>

#include "layer/types.h"
#include "runtime/fact_kind.h"

namespace msg_facts {

using RectFact = std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>;

extern FactSection section;
extern DetermKind<std::int32_t> max_no_lines;
extern DetermKind<std::uint32_t> mess_win;
extern DetermKind<std::string> msg_buffer;
extern DetermKind<std::int32_t> msg_timer;
extern DetermKind<RectFact> msg_newrct;
extern DetermKind<std::int32_t> msg_debug;  // present or absent; the value is 1

// Removes every fact of the section.
void clear_all();

inline RectFact to_fact(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline Rect from_fact(const RectFact& f) { return {std::get<0>(f), std::get<1>(f), std::get<2>(f), std::get<3>(f)}; }

}  // namespace msg_facts
