// The Russian words of host errors and of the run-time's file errors, from one table.
#include "runtime/err_words.h"

#include <cerrno>
#include <string_view>

#include "runtime/codepage.h"
#include "runtime/error_codes.h"
#include "runtime/run_error.h"

namespace {

struct HostErrorWords {
  int number;
  std::string_view words;   // what happened
  std::string_view advice;  // what to do
};

constexpr std::string_view kПроверьтеПрава = "Проверьте права на файл и его папку или выберите другую папку."_cp;
constexpr std::string_view kДругаяПапка = "Выберите папку на другом диске."_cp;
constexpr std::string_view kПовторитеПозже = "Повторите немного позже."_cp;
constexpr std::string_view kСетевойДиск = "Проверьте связь с сетевым диском и повторите."_cp;

// Several numbers may share a text (EAGAIN and EWOULDBLOCK are one number here); the first entry
// of a number is the one used.
constexpr HostErrorWords kTable[] = {
    {ENOENT, "нет такого файла или папки"_cp, "Проверьте имя файла и папку, в которой он должен быть."_cp},
    {EACCES, "нет прав доступа"_cp, kПроверьтеПрава},
    {EPERM, "действие не разрешено"_cp, kПроверьтеПрава},
    {ENOSPC, "на диске нет места"_cp, "Освободите место на диске и повторите."_cp},
    {EDQUOT, "исчерпана дисковая квота"_cp, "Освободите место в пределах своей квоты и повторите."_cp},
    {EROFS, "диск доступен только для чтения"_cp, "Выберите папку на диске, доступном для записи."_cp},
    {EISDIR, "это папка, а не файл"_cp, "Выберите файл или уберите папку с тем же именем."_cp},
    {ENOTDIR, "часть пути к файлу — не папка"_cp, "Проверьте путь к файлу."_cp},
    {EEXIST, "файл с таким именем уже есть"_cp, "Выберите другое имя."_cp},
    {ENAMETOOLONG, "слишком длинное имя файла"_cp, "Выберите имя или папку покороче."_cp},
    {EMFILE, "программа открыла слишком много файлов"_cp, "Закройте лишние окна программы и повторите."_cp},
    {ENFILE, "в системе открыто слишком много файлов"_cp, "Закройте другие программы и повторите."_cp},
    {EIO, "ошибка чтения или записи на диске"_cp, "Проверьте диск: он может быть повреждён или отключён."_cp},
    {EBUSY, "файл или устройство занято"_cp, kПовторитеПозже},
    {ETXTBSY, "файл занят: он выполняется как программа"_cp, "Выберите другой файл."_cp},
    {ELOOP, "ссылки в пути к файлу замкнуты в круг"_cp, "Проверьте символические ссылки в пути к файлу."_cp},
    {EFBIG, "файл слишком велик"_cp, "Выберите диск, на котором файл может быть больше, или уменьшите каталог."_cp},
    {EOVERFLOW, "файл слишком велик для программы"_cp, "Выберите файл поменьше."_cp},
    {ENOTEMPTY, "папка не пуста"_cp, "Выберите пустую папку."_cp},
    {EXDEV, "файл нельзя перенести на другой диск"_cp, "Выберите папку на том же диске."_cp},
    {ENXIO, "нет такого устройства или адреса"_cp, "Проверьте, что устройство подключено."_cp},
    {ENODEV, "устройство не поддерживает это действие"_cp, kДругаяПапка},
    {ESPIPE, "это не обычный файл, а канал или устройство"_cp, "Выберите обычный файл."_cp},
    {EOPNOTSUPP, "диск не поддерживает это действие"_cp, kДругаяПапка},
    {EINVAL, "система отказала: недопустимый параметр"_cp, kДругаяПапка},
    {EMLINK, "у файла или папки слишком много ссылок"_cp, kДругаяПапка},
    {EAGAIN, "ресурс временно недоступен"_cp, kПовторитеПозже},
    {EINTR, "действие прервано"_cp, "Повторите."_cp},
    {ENOLCK, "нет свободных блокировок файлов"_cp, kПовторитеПозже},
    {ENOMEM, "не хватает памяти"_cp, "Закройте другие программы и повторите."_cp},
    {ESTALE, "файл на сетевом диске больше недоступен"_cp, "Откройте папку каталога заново."_cp},
    {ENOTCONN, "нет связи с сетевым диском"_cp, kСетевойДиск},
    {ETIMEDOUT, "сетевой диск не ответил вовремя"_cp, kСетевойДиск},
    {EHOSTDOWN, "компьютер с сетевым диском недоступен"_cp, kСетевойДиск},
    {ECONNRESET, "связь с сервером каталога прервалась"_cp,
     "Проверьте, что сервер работает и доступен по сети; программа подключится к нему снова сама."_cp},
    {EPIPE, "канал, в который шла запись, закрыт"_cp, "Выберите обычный файл."_cp},
};

constexpr std::string_view kОбщийСовет =
    "Повторите; если ошибка повторится, проверьте диск и права на папку каталога."_cp;

const HostErrorWords* find(int n) {
  for (const HostErrorWords& e : kTable)
    if (e.number == n) return &e;
  return nullptr;
}

// The host number a run-time error stands for, or 0 for an error of the program itself.
int host_number_of(int code) {
  if (code == errcode::kFileNameTooLong) return ENAMETOOLONG;
  if (code == errcode::kHostBase) return RUN_GetOsErrorNo();  // a number of 1000 or more
  if (code > errcode::kHostBase && code < errcode::host(1000)) return errcode::host_number(code);
  return 0;
}

}  // namespace

std::string ERR_HostErrorWords(int n) {
  if (const HostErrorWords* e = find(n)) return std::string(e->words);
  return "ошибка системы № "_cps + std::to_string(n);
}

std::string ERR_HostErrorAdvice(int n) {
  if (const HostErrorWords* e = find(n)) return std::string(e->advice);
  return std::string(kОбщийСовет);
}

std::string ERR_ErrorWords(int code) {
  if (const int n = host_number_of(code); n != 0) return ERR_HostErrorWords(n);
  if (code == errcode::kHostBase) return "ошибка системы"_cps;
  if (code == errcode::kNotRegularFile) return "это не обычный файл, а канал, устройство или сокет"_cps;
  return "внутренняя ошибка программы (код "_cps + std::to_string(code) + ")"_cps;
}

std::string ERR_ErrorAdvice(int code) {
  if (const int n = host_number_of(code); n != 0) return ERR_HostErrorAdvice(n);
  if (code == errcode::kHostBase) return std::string(kОбщийСовет);
  if (code == errcode::kNotRegularFile) return "Выберите обычный файл."_cps;
  return "Повторите; если ошибка повторится, сообщите о ней разработчикам программы."_cps;
}

bool ERR_IsHostCondition(int code) {
  return code == errcode::kHostBase || code == errcode::kNotRegularFile || host_number_of(code) != 0;
}
