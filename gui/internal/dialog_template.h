// A dialog template in memory: what a dialog resource or a definition list says about a dialog
// and its items, with rectangles in dialog units of the template's font. Dialogs of both origins
// are laid out and made from this one form.
#pragma once

#include <QFont>
#include <QRect>
#include <optional>
#include <string>
#include <vector>

#include "layer/dialog_window.h"
#include "layer/resource_tables.h"

namespace gui_detail {

struct TemplateItem {
  int kind = 0;
  int id = 0;
  std::string text;  // cp1251
  QRect du;          // dialog units
  WinFlags flags;    // control flags
  int icon = 0;      // icon items: the icon resource shown
  std::string class_name;  // custom controls (kind 20): the class registered with class_Create
};

struct DialogTemplate {
  std::string caption;  // cp1251
  QRect du;             // position relative to the owner's client area, and size
  WinFlags flags;       // window flags
  std::optional<QFont> font;  // none: the system dialog font
  std::vector<TemplateItem> items;
};

DialogTemplate template_from_resource(const ResDialog& def);
// From a definition list whose head is a dialog definition; pixel rectangles become dialog units
// of the system dialog font (integer division), as for controls given to a dialog in pixels.
DialogTemplate template_from_definitions(const wdef_dialog& head, const std::vector<WinDef>& rest);
// The font that lays the template out, and the system dialog font of templates that name none.
QFont template_font(const DialogTemplate& t);
QFont system_dialog_font();

}  // namespace gui_detail
