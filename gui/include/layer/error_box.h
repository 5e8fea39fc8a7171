// The layer's error box, installed as the runtime's reporter when the layer starts: title
// "Program Error", the report text; with a known source position (pos != 0) followed by
// "\r\nRegister On Clipboard?" with Yes and No (No the default), Yes putting the report text on
// the clipboard; without a position only OK. The title and the question are the system's texts
// (Russian under a Russian locale, see uix_Translate). Where no window can be shown, "<title>:
// <text>" goes to the standard error stream in UTF-8.
#pragma once

#include <cstdint>
#include <string>

void uix_ErrorMsg(int code, int include_no, std::uint32_t pos, const std::string& text);
