// Helpers of the program's scenario tests: a window's Qt widget and back, through the layer's
// test interface.
#pragma once

#include <QWidget>

#include "layer/layer.h"
#include "layer_test_access.h"

namespace app_test {

using layer_test::client_of;
using layer_test::window_of;

}  // namespace app_test
