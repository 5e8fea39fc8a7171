// Writing and reading CSV rows (see csv_table.h).
#include "core/csv_table.h"

#include "runtime/codepage.h"

namespace {

bool начало_формулы(char c) { return c == '=' || c == '+' || c == '-' || c == '@' || c == '\t' || c == '\r'; }

// Whether the value, past its leading apostrophes, begins as a spreadsheet's formula.
bool как_формула(std::string_view value) {
  const std::size_t i = value.find_first_not_of('\'');
  return i != std::string_view::npos && начало_формулы(value[i]);
}

}  // namespace

void добавить_поле_csv(std::string& row, std::string_view field) {
  const bool кавычки = field.find_first_of(",;\"\r\n") != std::string_view::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
  if (!кавычки) {
    row += field;
    return;
  }
  row.push_back('"');
  for (const char c : field) {
    if (c == '"') row.push_back('"');
    row.push_back(c);
  }
  row.push_back('"');
}

void добавить_значение_csv(std::string& row, std::string_view value) {
  if (!как_формула(value)) {
    добавить_поле_csv(row, value);
    return;
  }
  std::string guarded;
  guarded.reserve(value.size() + 1);
  guarded.push_back('\'');
  guarded += value;
  добавить_поле_csv(row, guarded);
}

std::string_view значение_ячейки_csv(std::string_view cell) {
  return cell.starts_with('\'') && как_формула(cell) ? cell.substr(1) : cell;
}

ЧтениеCsv::ЧтениеCsv(std::string_view text, char separator, std::size_t longest_field, bool utf8,
                     std::size_t most_fields)
    : t_(text), sep_(separator), longest_(longest_field), utf8_(utf8), most_(most_fields) {}

bool ЧтениеCsv::конец_строки() {
  if (p_ >= t_.size()) return false;
  if (t_[p_] == '\r') {
    ++p_;
    if (p_ < t_.size() && t_[p_] == '\n') ++p_;
  } else if (t_[p_] == '\n') {
    ++p_;
  } else {
    return false;
  }
  ++line_;
  return true;
}

std::optional<СтрокаCsv> ЧтениеCsv::следующая() {
  while (p_ < t_.size() && конец_строки()) {
  }  // lines that hold nothing
  if (p_ >= t_.size()) return std::nullopt;
  СтрокаCsv row;
  row.строка = line_;
  const auto ошибка = [&row](std::string why) {
    if (row.ошибка.empty()) row.ошибка = std::move(why);
  };
  std::string* поле = nullptr;  // the field being read, when the row keeps it
  std::size_t знаков = 0;       // its characters so far
  const auto добавить = [&](char c) {
    if (поле == nullptr) return;
    if (!utf8_ || (static_cast<unsigned char>(c) & 0xC0) != 0x80) ++знаков;
    if (знаков <= longest_)
      поле->push_back(c);
    else
      row.длинное_поле = true;
  };
  const auto конец_поля = [&](char c) { return c == sep_ || c == '\r' || c == '\n'; };
  for (;;) {
    ++row.полей;
    поле = row.полей <= most_ ? &row.поля.emplace_back() : nullptr;
    знаков = 0;
    if (p_ < t_.size() && t_[p_] == '"') {
      ++p_;
      bool закрыта = false;
      while (p_ < t_.size()) {
        const char c = t_[p_];
        if (c == '"') {
          if (p_ + 1 < t_.size() && t_[p_ + 1] == '"') {
            добавить('"');
            p_ += 2;
            continue;
          }
          ++p_;
          закрыта = true;
          break;
        }
        // A line break inside quotes belongs to the field; the line count goes on.
        if (c == '\n' || (c == '\r' && (p_ + 1 >= t_.size() || t_[p_ + 1] != '\n'))) ++line_;
        добавить(c);
        ++p_;
      }
      if (!закрыта) {
        ошибка("кавычка не закрыта до конца файла"_cps);
        return row;
      }
      if (p_ < t_.size() && !конец_поля(t_[p_])) {
        ошибка("после закрывающей кавычки стоят другие знаки"_cps);
        while (p_ < t_.size() && !конец_поля(t_[p_])) ++p_;
      }
    } else {
      while (p_ < t_.size() && !конец_поля(t_[p_])) добавить(t_[p_++]);
    }
    if (p_ < t_.size() && t_[p_] == sep_) {
      ++p_;
      continue;
    }
    конец_строки();
    return row;
  }
}

char разделитель_csv(std::string_view text) {
  std::size_t запятые = 0, точки_с_запятой = 0;
  bool в_кавычках = false;
  for (const char c : text) {
    if (c == '"') в_кавычках = !в_кавычках;
    if (в_кавычках) continue;
    if (c == '\r' || c == '\n') break;
    запятые += c == ',';
    точки_с_запятой += c == ';';
  }
  return точки_с_запятой > запятые ? ';' : ',';
}
