// The package's bookkeeping (see dialog_state.h).
#include "dialog_state.h"

#include <map>
#include <vector>

namespace dialog_detail {
namespace {

struct Queued {
  std::uint64_t token;
  PendingDialog dialog;
};

std::vector<Queued>& pending() {
  static std::vector<Queued> q;
  return q;
}

std::map<Window, DialogState>& dialogs() {
  static std::map<Window, DialogState> d;
  return d;
}

}  // namespace

std::uint64_t push_pending(PendingDialog p) {
  static std::uint64_t next = 0;
  pending().push_back({++next, std::move(p)});
  return next;
}

void drop_pending(std::uint64_t token) {
  auto& q = pending();
  for (auto it = q.begin(); it != q.end(); ++it)
    if (it->token == token) {
      q.erase(it);
      return;
    }
}

std::optional<PendingDialog> take_pending() {
  auto& q = pending();
  if (q.empty()) return std::nullopt;
  PendingDialog p = std::move(q.back().dialog);
  q.pop_back();
  return p;
}

DialogState* find_dialog(Window dlg) {
  auto it = dialogs().find(dlg);
  return it == dialogs().end() ? nullptr : &it->second;
}

DialogState& add_dialog(Window dlg, DialogState state) { return dialogs()[dlg] = std::move(state); }

void remove_dialog(Window dlg) { dialogs().erase(dlg); }

void clear_dialog_state() {
  dialogs().clear();
  pending().clear();
}

}  // namespace dialog_detail
