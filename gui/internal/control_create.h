// Making controls: the control flags of each kind, the widget of each kind, dialog units, and
// the accessible label of a field. win_CreateControl and the dialog templates both come here.
//
// For dialogs built from templates: make the dialog window, set its record's `dialog_font`
// when the template names a font (give the dialog widget that font first) and `being_created`
// until its e_create has been handled; then call create_control_du for each template item (its
// rectangle in dialog units of the dialog's font), and set_control_label for each edit field,
// list box or combined list that follows a static text.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "layer/types.h"
#include "layer/window.h"

namespace gui_detail {

// Dialog base units of a font: the average width of the letters A–Z and a–z (rounded as the
// platform does) and the line height, in pixels.
struct BaseUnits {
  int x = 8;
  int y = 16;
};
BaseUnits base_units(const QFont& font);
// The base units of the layer's system font (the 10-point "System" face).
BaseUnits system_base_units();
// Dialog units to pixels: x and width × base x / 4, y and height × base y / 8.
QRect dialog_units_to_pixels(const Rect& du, BaseUnits b);

// The caption of a new control of `kind` as shown: a button's, a check box's, a radio button's, a
// static text's or a group box's caption is one of the system's texts (system_text); the text an
// edit field or a list starts with is the user's (to_qt).
QString control_text(int kind, std::string_view text);

// Makes a control of kind 8..18 or 21 (a multi-column list) at `outer` (pixels, in the parent's client coordinates) without
// any mapping. Kind out of range or the screen as parent: 6001; not a window: 6000; the toolkit
// cannot make it: 6302.
Window create_control_px(Window parent, int kind, const QRect& outer, const std::string& title,
                         const WinFlags& flags, int ctl_id);
// Makes a custom control (kind 20) of the class `class_name` at `outer` (pixels, in the parent's
// client coordinates) and delivers its e_create. The parent must be a window that has a client
// area (task, top-level, child, dialog or custom window; the screen and controls: 6001); a class
// that is not registered: 6302.
Window create_custom_px(Window parent, const std::string& class_name, const QRect& outer,
                        const std::string& title, const WinFlags& flags, int ctl_id);
// Makes a control of a dialog from a template item whose rectangle is in dialog units of the
// dialog's font (the dialog widget's font).
Window create_control_du(Window dialog, int kind, const Rect& du_rect, const std::string& title,
                         const WinFlags& flags, int ctl_id);

// Makes the static text `label` the label of `field`: assistive technology names the field by
// the label's text without "&", and the label's mnemonic moves the focus to the field. A
// `label` that is not a static text is ignored.
void set_control_label(Window field, Window label);

}  // namespace gui_detail
