// The address of a server catalogue: a libpq connection URI read into its parts, and shown back
// without its password.
#include <cctype>
#include <charconv>

#include "runtime/codepage.h"
#include "server/server_catalogue.h"

namespace {

// %XX decoded; nothing for a broken escape.
std::optional<std::string> раскодировать(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out.push_back(s[i]);
      continue;
    }
    if (i + 2 >= s.size() || !std::isxdigit(static_cast<unsigned char>(s[i + 1])) ||
        !std::isxdigit(static_cast<unsigned char>(s[i + 2])))
      return std::nullopt;
    int v = 0;
    std::from_chars(s.data() + i + 1, s.data() + i + 3, v, 16);
    out.push_back(static_cast<char>(v));
    i += 2;
  }
  return out;
}

std::string закодировать(std::string_view s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c >= 0x80) {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(hex[c >> 4]);
      out.push_back(hex[c & 15]);
    }
  }
  return out;
}

bool отказ(std::string* ошибка, std::string_view текст) {
  if (ошибка) *ошибка = std::string(текст);
  return false;
}

bool задать_порт(АдресСервера& а, std::string_view s, std::string* ошибка) {
  int порт = 0;
  const auto [конец, ec] = std::from_chars(s.data(), s.data() + s.size(), порт);
  if (ec != std::errc() || конец != s.data() + s.size() || порт < 1 || порт > 65535)
    return отказ(ошибка, "порт сервера должен быть числом от 1 до 65535"_cp);
  а.порт = порт;
  return true;
}

}  // namespace

bool адрес_сервера(std::string_view аргумент) {
  return аргумент.starts_with("postgresql://") || аргумент.starts_with("postgres://");
}

std::optional<АдресСервера> разобрать_адрес(std::string_view uri, std::string* ошибка) {
  АдресСервера а;
  if (!адрес_сервера(uri)) {
    отказ(ошибка, "адрес сервера должен начинаться с «postgresql://»"_cp);
    return std::nullopt;
  }
  std::string_view rest = uri.substr(uri.find("//") + 2);
  std::string_view запрос;
  if (const auto q = rest.find('?'); q != std::string_view::npos) {
    запрос = rest.substr(q + 1);
    rest = rest.substr(0, q);
  }
  std::string_view путь;
  if (const auto slash = rest.find('/'); slash != std::string_view::npos) {
    путь = rest.substr(slash + 1);
    rest = rest.substr(0, slash);
  }
  if (const auto at = rest.rfind('@'); at != std::string_view::npos) {
    std::string_view кто = rest.substr(0, at);
    rest = rest.substr(at + 1);
    std::string_view пароль;
    if (const auto colon = кто.find(':'); colon != std::string_view::npos) {
      пароль = кто.substr(colon + 1);
      кто = кто.substr(0, colon);
    }
    const auto п = раскодировать(кто);
    const auto пар = раскодировать(пароль);
    if (!п || !пар) {
      отказ(ошибка, "в адресе сервера неверная %-последовательность"_cp);
      return std::nullopt;
    }
    а.пользователь = *п;
    а.пароль = *пар;
  }
  // host[:port]; an IPv6 host stands in brackets.
  std::string_view хост = rest, порт;
  if (rest.starts_with('[')) {
    const auto end = rest.find(']');
    if (end == std::string_view::npos) {
      отказ(ошибка, "в адресе сервера не закрыта скобка «[»"_cp);
      return std::nullopt;
    }
    хост = rest.substr(1, end - 1);
    if (rest.size() > end + 1) {
      if (rest[end + 1] != ':') {
        отказ(ошибка, "в адресе сервера после «]» ожидается «:» и порт"_cp);
        return std::nullopt;
      }
      порт = rest.substr(end + 2);
    }
  } else if (const auto colon = rest.rfind(':'); colon != std::string_view::npos) {
    хост = rest.substr(0, colon);
    порт = rest.substr(colon + 1);
  }
  const auto х = раскодировать(хост);
  const auto б = раскодировать(путь);
  if (!х || !б) {
    отказ(ошибка, "в адресе сервера неверная %-последовательность"_cp);
    return std::nullopt;
  }
  а.хост = *х;
  а.база = *б;
  if (!порт.empty() && !задать_порт(а, порт, ошибка)) return std::nullopt;
  while (!запрос.empty()) {
    const auto amp = запрос.find('&');
    const std::string_view пара = запрос.substr(0, amp);
    запрос = amp == std::string_view::npos ? std::string_view() : запрос.substr(amp + 1);
    if (пара.empty()) continue;
    const auto eq = пара.find('=');
    const auto имя = раскодировать(пара.substr(0, eq));
    const auto значение = раскодировать(eq == std::string_view::npos ? std::string_view() : пара.substr(eq + 1));
    if (eq == std::string_view::npos || !имя || !значение || имя->empty()) {
      отказ(ошибка, "параметр адреса сервера должен иметь вид имя=значение"_cp);
      return std::nullopt;
    }
    if (*имя == "host") {
      а.хост = *значение;
    } else if (*имя == "port") {
      if (!задать_порт(а, *значение, ошибка)) return std::nullopt;
    } else if (*имя == "dbname") {
      а.база = *значение;
    } else if (*имя == "user") {
      а.пользователь = *значение;
    } else if (*имя == "password") {
      а.пароль = *значение;
    } else {
      if (значение->find_first_of("; ") != std::string::npos) {
        отказ(ошибка, "значение параметра адреса сервера не может содержать пробел или «;»"_cp);
        return std::nullopt;
      }
      if (!а.параметры.empty()) а.параметры += ';';
      а.параметры += *имя + "=" + *значение;
    }
  }
  return а;
}

std::string АдресСервера::показ() const {
  std::string имя_базы = база.empty() ? пользователь : база;
  std::string где = хост.empty() || хост.starts_with('/') ? std::string("localhost") : хост;
  return cp1251::from_utf8(имя_базы + "@" + где);
}

std::string АдресСервера::uri() const {
  std::string u = "postgresql://";
  if (!пользователь.empty()) u += закодировать(пользователь) + "@";
  if (хост.find(':') != std::string::npos)
    u += "[" + хост + "]";
  else
    u += закодировать(хост);
  if (порт != 5432) u += ":" + std::to_string(порт);
  u += "/" + закодировать(база);
  if (!параметры.empty()) {
    std::string q = параметры;
    for (char& c : q)
      if (c == ';') c = '&';
    u += "?" + q;
  }
  return u;
}
