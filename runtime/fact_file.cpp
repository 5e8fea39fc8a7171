// Saving a section to its fact file and consulting it back.
#include "fact_file.h"

#include <cstring>

#include "file_slots.h"
#include "safe_write.h"
#include "term_reader.h"
#include "term_writer.h"

std::string RNT_SaveText(FactSection& section) {
  std::string out;
  section.for_each_fact([&](const Term& fact) {
    RNT_WriteFact(out, section, fact);
    out += "\r\n";
  });
  return out;
}

void RNT_Save(FactSection& section, std::string_view file_name) {
  RUN_ReplaceFile(file_name, RNT_SaveText(section));
}

void RNT_ConsultText(FactSection& section, std::string_view text) {
  RNT_ConsultErrorFilepos = 0;
  std::string without_cr;
  if (std::memchr(text.data(), '\r', text.size()) != nullptr) {
    without_cr.reserve(text.size());
    for (const char c : text)
      if (c != '\r') without_cr += c;
    text = without_cr;
  }
  Term fact;
  std::size_t start = 0;
  while (start < text.size()) {
    const char* lf = static_cast<const char*>(std::memchr(text.data() + start, '\n', text.size() - start));
    const std::size_t end = lf != nullptr ? static_cast<std::size_t>(lf - text.data()) : text.size();
    const std::string_view line = text.substr(start, end - start);
    TermLineReader reader(line);
    reader.read_fact(section, fact);
    // Whatever follows the fact on its line is ignored.
    RNT_Assertz(section, fact);
    RNT_ConsultErrorFilepos += line.size() + 1;
    start = end + 1;
  }
}

void RNT_Consult(FactSection& section, std::string_view file_name) {
  RNT_ConsultErrorFilepos = 0;
  RNT_ConsultText(section, IO_RdFile(file_name));
}
