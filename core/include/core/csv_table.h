// Tables in the CSV form of RFC 4180, as spreadsheets write and read them: fields separated by a
// comma (or a semicolon), rows ended by CR LF (LF or CR alone are read too), a field quoted when
// it holds a separator, a quote or a line break, a quote inside a quoted field doubled. Bytes
// pass through as they are: the caller chooses the text's encoding. Values a spreadsheet would
// run as formulas are written behind an apostrophe, which reading them takes off again.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Appends one field to a row being written: quoted when it holds a comma, a semicolon, a quote,
// a CR or an LF, or begins or ends with a blank (which a reader might trim).
void добавить_поле_csv(std::string& row, std::string_view field);

// Appends a value as a spreadsheet's cell: a value that a spreadsheet would take for a formula
// (its first character after any apostrophes is "=", "+", "-", "@", a tab or a CR) gets one
// apostrophe more in front; then the field is added as добавить_поле_csv adds it.
void добавить_значение_csv(std::string& row, std::string_view value);
// The value of a cell so written: one leading apostrophe taken off where the apostrophes are
// followed by one of those characters; any other cell as it stands. For every value v,
// значение_ячейки_csv(v written by добавить_значение_csv, unquoted) == v.
std::string_view значение_ячейки_csv(std::string_view cell);

// One row read.
struct СтрокаCsv {
  std::size_t строка = 0;           // the line of the text the row starts on, from 1
  std::vector<std::string> поля;    // the first fields, at most as many as the reader keeps
  std::size_t полей = 0;            // how many fields the row has, kept or not
  bool длинное_поле = false;        // a field is longer than the longest kept: it is cut there
  std::string ошибка;               // why the row cannot be read (cp1251); empty when it can
};

// Reads the rows of a text one after another. A row that cannot be read (a quote left open, other
// characters after a closing quote) comes with its error, and reading goes on with the next
// row; lines that hold nothing are passed over. What a row keeps is bounded, however long the
// text: at most `most_fields` fields, each cut after `longest_field` characters (its bytes, or
// the characters of UTF-8 text when `utf8` is set), with the count of fields and the cut noted.
class ЧтениеCsv {
 public:
  ЧтениеCsv(std::string_view text, char separator, std::size_t longest_field, bool utf8 = false,
            std::size_t most_fields = static_cast<std::size_t>(-1));
  // The next row; nothing at the end of the text.
  std::optional<СтрокаCsv> следующая();
  // How many bytes of the text are read.
  std::size_t прочитано() const { return p_; }
  // From the next row on, keeps at most `n` fields of a row.
  void хранить_полей(std::size_t n) { most_ = n; }

 private:
  // Passes over a line break at the position, counting it; false when there is none.
  bool конец_строки();
  std::string_view t_;
  char sep_;
  std::size_t longest_;
  bool utf8_;
  std::size_t most_;
  std::size_t p_ = 0;
  std::size_t line_ = 1;
};

// The separator of a table whose first row is `text`'s first line: a semicolon when that row holds
// more semicolons than commas outside quotes, else a comma.
char разделитель_csv(std::string_view text);
