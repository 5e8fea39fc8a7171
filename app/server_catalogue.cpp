// A catalogue on a database server in the program (see server_catalogue.h).
#include "app/server_catalogue.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/catalogue_changes.h"
#include "app/catalogue_switch.h"
#include "app/commands.h"
#include "app/recent_catalogues.h"
#include "app/recent_menu.h"
#include "app/session.h"
#include "core/catalogue_facts.h"
#include "core/catalogue_files.h"
#include "packages/dialog_package.h"
#include "resources/ids.h"
#include "runtime/codepage.h"
#include "server/server_catalogue.h"

namespace {

const std::string kЗаголовокСервера = std::string("Подключиться к серверу"_cp);
const std::string kЗаголовокПереноса = std::string("Перенести каталог на сервер"_cp);

// The address the dialog last gave: its fields are offered again (the password never).
АдресСервера& последний_адрес() {
  static АдресСервера адрес;
  return адрес;
}

// The dialog of an address: the fields filled from `адрес`, `почему` under them; the address
// given, or nothing when cancelled.
std::optional<АдресСервера> спросить_адрес(Window task, const std::string& заголовок, const АдресСервера& адрес,
                                           const std::string& почему) {
  using namespace dialog;
  const FieldList поля{
      {ид_Сервер, editstr{cp1251::from_utf8(адрес.хост), {}}, nopr{}},
      {ид_Порт, editstr{std::to_string(адрес.порт), {}}, nopr{}},
      {ид_База, editstr{cp1251::from_utf8(адрес.база), {}}, nopr{}},
      {ид_Пользователь, editstr{cp1251::from_utf8(адрес.пользователь), {}}, nopr{}},
      {ид_Пароль, editstr{{}, {}}, nopr{}},
      {ид_ПричинаСервера, statictext{почему}, nopr{}},
  };
  const Result r = dialog_CreateModal(task, диалог_сервер, заголовок, поля, nullptr, 0);
  if (r.answer != answer_ok) return std::nullopt;
  АдресСервера а;
  а.хост = cp1251::to_utf8(dialog_VLGetstr(ид_Сервер, r.values));
  а.база = cp1251::to_utf8(dialog_VLGetstr(ид_База, r.values));
  а.пользователь = cp1251::to_utf8(dialog_VLGetstr(ид_Пользователь, r.values));
  а.пароль = cp1251::to_utf8(dialog_VLGetstr(ид_Пароль, r.values));
  const std::string порт = dialog_VLGetstr(ид_Порт, r.values);
  а.порт = 0;
  std::from_chars(порт.data(), порт.data() + порт.size(), а.порт);
  return а;
}

// Why an address from the dialog cannot be tried; nothing when it can.
std::optional<std::string> неверный_адрес(const АдресСервера& а) {
  if (а.порт < 1 || а.порт > 65535) return "Порт сервера должен быть числом от 1 до 65535."_cps;
  if (а.база.empty()) return "Укажите базу данных каталога."_cps;
  return std::nullopt;
}

// Connects as the dialog says, asking again with the reason until it connects or is cancelled.
std::unique_ptr<ХранилищеСервера> подключиться(Window task, const std::string& заголовок) {
  АдресСервера адрес = последний_адрес();
  std::string почему;
  for (;;) {
    const auto а = спросить_адрес(task, заголовок, адрес, почему);
    if (!а) return nullptr;
    адрес = *а;
    if (const auto неверно = неверный_адрес(адрес)) {
      почему = *неверно;
      continue;
    }
    ОткрытиеСервера о = открыть_сервер(адрес);
    if (о.хранилище) {
      последний_адрес() = адрес;
      последний_адрес().пароль.clear();
      return std::move(о.хранилище);
    }
    почему = о.ошибка;
  }
}

// The server storage made the working one: the windows closed, the model afresh and loaded from it.
// The catalogue's folder is its folder of cover pictures in the user's cache, where the pictures
// the records name are fetched and where a picture chosen or pasted is taken, as in a folder
// catalogue (one that cannot be made leaves the covers unshown, the catalogue works).
void сделать_рабочим(Window task, std::unique_ptr<ХранилищеСервера> сервер) {
  const std::string uri = сервер->адрес().uri();
  ХранилищеСервера& с = *сервер;
  if (const std::string папка = папка_обложек_сервера(с.адрес()); !папка.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(папка, ec);
    if (!ec) std::filesystem::current_path(папка, ec);
    if (!ec) с.задать_папку_обложек(папка);
  }
  сменить_каталог(task, [&] { задать_хранилище_каталога(std::move(сервер)); });
  с.слушать([] { следить_за_каталогом(); });
  запомнить_каталог(uri);
  обновить_меню_каталогов(task);
  win_SetText(task, заголовок_сервера(с));
  обновить_доступность();
}

}  // namespace

std::string папка_обложек_сервера(const АдресСервера& адрес) {
  std::string база = адрес.uri().substr(std::string_view("postgresql://").size());
  for (char& c : база)
    if (c == '/' || c == '?' || c == '&') c = '_';
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/foliarkh/covers/" + база;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.cache/foliarkh/covers/" + база;
  return {};
}

ХранилищеСервера* сервер_каталога() { return dynamic_cast<ХранилищеСервера*>(&хранилище_каталога()); }

std::string заголовок_сервера(const ХранилищеСервера& сервер) {
  return "Фолиарх — "_cps + сервер.адрес().показ() + (сервер.только_чтение() ? " — только чтение"_cps : std::string());
}

bool открыть_сервер_каталога(Window task, const std::string& uri, const std::string& пароль) {
  std::string почему;
  auto адрес = разобрать_адрес(uri, &почему);
  if (!адрес) {
    dlg_Error(kЗаголовокСервера, "Неверный адрес сервера «"_cps + cp1251::from_utf8(uri) + "»: "_cps + почему);
    return false;
  }
  if (!пароль.empty()) адрес->пароль = пароль;
  ОткрытиеСервера о = открыть_сервер(*адрес);
  if (!о.хранилище) {
    // A password not in ~/.pgpass, or another reason: the dialog offers the address to correct.
    последний_адрес() = *адрес;
    последний_адрес().пароль.clear();
    dlg_Error(kЗаголовокСервера, о.ошибка);
    return false;
  }
  сделать_рабочим(task, std::move(о.хранилище));
  return true;
}

bool открыть_из_последних(Window task, int n) {
  const std::vector<std::string> последние = последние_каталоги();
  if (n >= 0 && static_cast<std::size_t>(n) < последние.size() && адрес_сервера(последние[static_cast<std::size_t>(n)]))
    return открыть_сервер_каталога(task, последние[static_cast<std::size_t>(n)]);
  return открыть_последний_каталог(task, n);
}

void открыть_сервер_запуска(Window task) {
  const std::string uri = сеанс().запуск ? сеанс().запуск->сервер : std::string();
  if (uri.empty()) return;
  if (!открыть_сервер_каталога(task, uri)) win_PostEvent(task, e_menu{cmd_Выход});
}

bool подключиться_к_серверу(Window task) {
  auto сервер = подключиться(task, kЗаголовокСервера);
  if (!сервер) return false;
  сделать_рабочим(task, std::move(сервер));
  return true;
}

bool перенести_на_сервер(Window task) {
  if (сервер_каталога()) {
    dlg_Error(kЗаголовокПереноса, "Открытый каталог уже на сервере. Откройте каталог папки, который нужно перенести."_cps);
    return false;
  }
  auto сервер = подключиться(task, kЗаголовокПереноса);
  if (!сервер) return false;
  if (const auto почему = перенести_каталог(*сервер)) {
    dlg_Error(kЗаголовокПереноса, *почему);
    return false;
  }
  dlg_MessageBox(kЗаголовокПереноса,
                 "Каталог перенесён на сервер «"_cps + сервер->адрес().показ() + "»: записей "_cps +
                     std::to_string(база_лит.count()) +
                     ". Каталог папки остался как был; чтобы работать с каталогом на сервере, подключитесь к нему."_cps,
                 mb_Information, mb_Ok, 0, mb_TaskModal);
  return true;
}

void следить_за_связью() {
  bool& можно = сеанс().каталог_можно_менять;
  if (можно == каталог_можно_менять()) return;
  можно = !можно;
  обновить_доступность();
}
