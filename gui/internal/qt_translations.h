// The toolkit's own texts in Russian: the file and font choosers, the standard buttons of message
// boxes and the context menus of text fields speak the program's language.
#pragma once

namespace gui_detail {

// Installs the toolkit's Russian translation (qtbase_ru from the toolkit's translations folder)
// in the running application, once per application. Without the translation file (its package
// not installed) the toolkit keeps its English texts. The layer's own texts are not translated.
void install_qt_translations();

}  // namespace gui_detail
