// The value-list readers: the first entry with the id and the matching kind gives the result.
#include "dialog_value_list.h"
#include "packages/dialog_package.h"

using namespace dialog;
using dialog_detail::find_value;

bool dialog_VLGetCheck(int ctl_id, const ValueList& values) { return find_value<checkbox>(ctl_id, values).checked; }

int dialog_VLGetRadiobutton(int ctl_id, const ValueList& values) {
  return find_value<radiobuttongroup>(ctl_id, values).selected;
}

std::string dialog_VLGetstr(int ctl_id, const ValueList& values) { return find_value<editstr>(ctl_id, values).text; }

std::optional<std::int32_t> dialog_VLGetint(int ctl_id, const ValueList& values) {
  return find_value<editint>(ctl_id, values).value;
}

std::optional<std::int32_t> dialog_VLGetlong(int ctl_id, const ValueList& values) {
  return find_value<editlong>(ctl_id, values).value;
}

std::optional<double> dialog_VLGetreal(int ctl_id, const ValueList& values) {
  return find_value<editreal>(ctl_id, values).value;
}

listbox dialog_VLGetListBox(int ctl_id, const ValueList& values) { return find_value<listbox>(ctl_id, values); }

listbutton dialog_VLGetListButton(int ctl_id, const ValueList& values) {
  return find_value<listbutton>(ctl_id, values);
}

listedit dialog_VLGetListEdit(int ctl_id, const ValueList& values) { return find_value<listedit>(ctl_id, values); }

scrollbar dialog_VLGetScrollBar(int ctl_id, const ValueList& values) { return find_value<scrollbar>(ctl_id, values); }

std::string dialog_VLGetCustom(int ctl_id, const ValueList& values) { return find_value<custom>(ctl_id, values).data; }

std::string dialog_VLGetDataField(int ctl_id, const ValueList& values) {
  return find_value<datafield>(ctl_id, values).data;
}

std::vector<std::string> dialog_VLGetAllList(int ctl_id, const ValueList& values) {
  for (const Value& v : values) {
    if (v.ctl_id != ctl_id) continue;
    if (const auto* l = std::get_if<listbox>(&v.value)) return l->items;
    if (const auto* l = std::get_if<listbutton>(&v.value)) return l->items;
    if (const auto* l = std::get_if<listedit>(&v.value)) return l->items;
  }
  RUN_Error(errcode::kNoValueListEntry);
}
