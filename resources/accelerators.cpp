// The accelerator table of the task window: Ctrl+F1 opens the help contents, F1 is "&Local"
// (help on the window), Ctrl+Z, Ctrl+Y and Ctrl+C undo, redo and copy, Ctrl+F finds a book (in
// the active list window, or in a list window it opens), Ctrl+L issues a book and Ctrl+R takes
// one back.
#include "resources/ids.h"
#include "tables.h"

namespace res {
namespace {

constexpr int kVkF1 = 112;

constexpr ResAccel kTaskAccels[] = {
    {kVkF1, accel_control, cmd_Содержание},
    {kVkF1, 0, cmd_Местная},
    {'Z', accel_control, cmd_КлавишаОтменить},
    {'Y', accel_control, cmd_КлавишаПовторить},
    {'C', accel_control, cmd_КлавишаКопировать},
    {'F', accel_control, cmd_НайтиКнигу},
    {'L', accel_control, cmd_ВыдатьКнигу},
    {'R', accel_control, cmd_ПринятьКнигу},
};

constexpr ResAccelTable kTables[] = {
    {ускорители_задачи, kTaskAccels},
};

}  // namespace

std::span<const ResAccelTable> accelerator_tables() { return kTables; }

}  // namespace res
