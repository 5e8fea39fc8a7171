// uix_SetAttrVal and uix_GetAttrVal: the settable attributes and the read-only ones.
#include <QApplication>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QStyle>

#include "internal/font_block.h"
#include "internal/lifecycle.h"
#include "internal/paint_surface.h"
#include "internal/task_data.h"
#include "internal/window_record.h"
#include "layer/uix.h"
#include "runtime/run_error.h"

using namespace gui_detail;

namespace {

// A stand-in for the instance handle of the program.
constexpr std::int32_t kInstanceHandle = 0x00400000;

// The system colour `index` (0..25 in the platform's order) from the toolkit's palette.
Color system_color(int index) {
  const QPalette pal = QApplication::palette();
  QPalette::ColorRole role = QPalette::Window;
  QPalette::ColorGroup group = QPalette::Active;
  switch (index) {
    case 0: role = QPalette::Mid; break;                 // scroll bar
    case 1: role = QPalette::Dark; break;                // desktop
    case 2: role = QPalette::Highlight; break;           // active caption
    case 3: role = QPalette::Mid; group = QPalette::Inactive; break;
    case 4: role = QPalette::Window; break;              // menu
    case 5: role = QPalette::Base; break;                // window
    case 6: role = QPalette::Shadow; break;              // window frame
    case 7: role = QPalette::WindowText; break;          // menu text
    case 8: role = QPalette::Text; break;                // window text
    case 9: role = QPalette::HighlightedText; break;     // caption text
    case 10: case 11: role = QPalette::Window; break;     // borders
    case 12: role = QPalette::Dark; break;               // MDI background
    case 13: role = QPalette::Highlight; break;
    case 14: role = QPalette::HighlightedText; break;
    case 15: role = QPalette::Button; break;             // button face
    case 16: role = QPalette::Dark; break;               // button shadow
    case 17: role = QPalette::PlaceholderText; break;    // grey text
    case 18: role = QPalette::ButtonText; break;
    case 19: role = QPalette::WindowText; group = QPalette::Inactive; break;
    case 20: role = QPalette::Light; break;              // button highlight
    case 21: role = QPalette::Shadow; break;             // 3D dark shadow
    case 22: role = QPalette::Midlight; break;           // 3D light
    case 23: role = QPalette::ToolTipText; break;
    case 24: role = QPalette::ToolTipBase; break;
    default: role = QPalette::Window; break;
  }
  return from_qcolor(pal.color(group, role));
}

int style_metric(QStyle::PixelMetric m) {
  return QApplication::style() ? QApplication::style()->pixelMetric(m) : 0;
}

std::int32_t& margin_of(int attr) {
  Attributes& a = attributes();
  switch (attr) {
    case xQbx_tBarheight: return a.margin_top;
    case xQbx_sBarheight: return a.margin_bottom;
    case xQbx_lBarheight: return a.margin_left;
    default: return a.margin_right;
  }
}

}  // namespace

void uix_SetAttrVal(int attr, std::int32_t value) {
  Attributes& a = attributes();
  switch (attr) {
    case xQbx_bMDI: a.mdi = value != 0; return;
    case xQbx_b3D: a.three_d = value != 0; return;
    case xQbx_bSuppressUpdateCheck: a.suppress_change = value != 0; return;
    case xQbx_bERASEBACKGROUND: a.erase_background = value != 0; return;
    case xQbx_bPLATFORM_VALIDATE: a.platform_validate = value != 0; return;
    case xQbx_bPRN_Q_RAW: a.prn_raw = value != 0; return;
    case xQbx_tBarheight: case xQbx_sBarheight: case xQbx_lBarheight: case xQbx_rBarheight:
      margin_of(attr) = value;
      fit_mdi_client();  // moves the MDI client when it exists
      return;
    default: RUN_Error(errcode::kBadValue);
  }
}

std::int32_t uix_GetAttrVal(int attr) {
  const Attributes& a = attributes();
  const bool gui = QApplication::instance() != nullptr;
  const QScreen* screen = gui ? QGuiApplication::primaryScreen() : nullptr;
  switch (attr) {
    case xQbx_bMDI: return a.mdi;
    case xQbx_b3D: return a.three_d;
    case xQbx_bSuppressUpdateCheck: return a.suppress_change;
    case xQbx_bERASEBACKGROUND: return a.erase_background;
    case xQbx_bPLATFORM_VALIDATE: return a.platform_validate;
    case xQbx_bPRN_Q_RAW: return a.prn_raw;
    case xQbx_tBarheight: case xQbx_sBarheight: case xQbx_lBarheight: case xQbx_rBarheight:
      return margin_of(attr);
    case attr_Instance: return kInstanceHandle;
    case attr_TaskData: return task() ? static_cast<std::int32_t>(task()->task_window) : 0;
    case attr_ColorDisplay: return screen ? (screen->depth() > 1) : 1;
    case attr_MousePresent: return 1;
    case attr_Ten000: return 10000;
    case attr_Fixed24First: case 201: case attr_Fixed24Last: return 24;
    case attr_ScrollBarWidth: return style_metric(QStyle::PM_ScrollBarExtent);
    case attr_ScrollBarHeight: return style_metric(QStyle::PM_ScrollBarExtent);  // horizontal bar height
    case attr_Fixed18First: case attr_Fixed18Last: return 18;
    case attr_IconWidth: case attr_IconHeight: return 32;
    case attr_ScreenWindow: return static_cast<std::int32_t>(kScreenWindow);
    case attr_TaskWindow: return static_cast<std::int32_t>(uix_GetTaskWin());
    case attr_ScreenHeight: return screen ? screen->geometry().height() : 0;
    case attr_ScreenWidth: return screen ? screen->geometry().width() : 0;
    case attr_ScreenPpiX: return screen ? qRound(screen->logicalDotsPerInchX()) : 96;
    case attr_ScreenPpiY: return screen_ppi_y();
    // No printer support on this platform: an A4 page at 300 dots per inch.
    case attr_PrinterHeight: return 3508;
    case attr_PrinterWidth: return 2480;
    case attr_PrinterPpiX: case attr_PrinterPpiY: return 300;
    case attr_FrameWidth: case attr_FrameHeight: return style_metric(QStyle::PM_MdiSubWindowFrameWidth);
    case attr_BorderWidth: case attr_BorderHeight: return 1;
    case attr_DialogFrameWidth: case attr_DialogFrameHeight: return style_metric(QStyle::PM_DefaultFrameWidth);
    case attr_MenuHeight: {
      if (!gui) return 0;
      QMenuBar probe;
      return probe.sizeHint().height();
    }
    case attr_CaptionHeight: return style_metric(QStyle::PM_TitleBarHeight);
    default: break;
  }
  if (attr >= attr_SysColor && attr <= attr_SysColorLast)
    return gui ? static_cast<std::int32_t>(system_color(attr - attr_SysColor)) : 0;
  RUN_Error(errcode::kBadValue);
}
