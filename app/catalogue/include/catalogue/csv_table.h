// Tables in the CSV form of RFC 4180, as spreadsheets write and read them: fields separated by a
// comma (or a semicolon), rows ended by CR LF (LF or CR alone are read too), a field quoted when
// it holds a separator, a quote or a line break, a quote inside a quoted field doubled. Bytes
// pass through as they are: the caller chooses the text's encoding.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Appends one field to a row being written: quoted when it holds a comma, a semicolon, a quote,
// a CR or an LF, or begins or ends with a blank (which a reader might trim).
void добавить_поле_csv(std::string& row, std::string_view field);

// One row read.
struct СтрокаCsv {
  std::size_t строка = 0;           // the line of the text the row starts on, from 1
  std::vector<std::string> поля;
  std::string ошибка;               // why the row cannot be read (cp1251); empty when it can
};

// Reads the rows of a text one after another. A row that cannot be read (a quote left open, other
// characters after a closing quote, a field longer than the longest allowed) comes with its
// error, and reading goes on with the next row; lines that hold nothing are passed over.
class ЧтениеCsv {
 public:
  ЧтениеCsv(std::string_view text, char separator, std::size_t longest_field);
  // The next row; nothing at the end of the text.
  std::optional<СтрокаCsv> следующая();
  // How many bytes of the text are read.
  std::size_t прочитано() const { return p_; }

 private:
  // Passes over a line break at the position, counting it; false when there is none.
  bool конец_строки();
  std::string_view t_;
  char sep_;
  std::size_t longest_;
  std::size_t p_ = 0;
  std::size_t line_ = 1;
};

// The separator of a table whose first row is `text`'s first line: a semicolon when that row holds
// more semicolons than commas outside quotes, else a comma.
char разделитель_csv(std::string_view text);
