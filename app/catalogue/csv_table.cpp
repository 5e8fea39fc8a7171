// Writing and reading CSV rows (see csv_table.h).
#include "app/csv_table.h"

#include "runtime/codepage.h"

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

ЧтениеCsv::ЧтениеCsv(std::string_view text, char separator, std::size_t longest_field)
    : t_(text), sep_(separator), longest_(longest_field) {}

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
  row.поля.emplace_back();
  const auto ошибка = [&row](std::string why) {
    if (row.ошибка.empty()) row.ошибка = std::move(why);
  };
  const auto добавить = [&](char c) {
    std::string& поле = row.поля.back();
    if (поле.size() < longest_)
      поле.push_back(c);
    else
      ошибка("значение длиннее "_cps + std::to_string(longest_) + " знаков"_cps);
  };
  for (;;) {
    if (p_ < t_.size() && t_[p_] == '"' && row.поля.back().empty()) {
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
      if (p_ < t_.size() && t_[p_] != sep_ && t_[p_] != '\r' && t_[p_] != '\n') {
        ошибка("после закрывающей кавычки стоят другие знаки"_cps);
        while (p_ < t_.size() && t_[p_] != sep_ && t_[p_] != '\r' && t_[p_] != '\n') ++p_;
      }
    } else {
      while (p_ < t_.size() && t_[p_] != sep_ && t_[p_] != '\r' && t_[p_] != '\n') добавить(t_[p_++]);
    }
    if (p_ < t_.size() && t_[p_] == sep_) {
      ++p_;
      row.поля.emplace_back();
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
