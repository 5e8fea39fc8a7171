// The accelerator table 9001 of the task window: Ctrl+F1 opens the help contents, F1 is "&Local".
#include "resources/accelerators.h"

namespace res {
namespace {

constexpr int kVkF1 = 112;

constexpr AccelDef kTaskAccels[] = {
    {kVkF1, accel_control, 10044},
    {kVkF1, 0, 10045},
};

constexpr AccelTableDef kTables[] = {
    {9001, kTaskAccels},
};

}  // namespace

const AccelTableDef* find_accel_table(int id) {
  for (const AccelTableDef& t : kTables)
    if (t.id == id) return &t;
  return nullptr;
}

}  // namespace res
