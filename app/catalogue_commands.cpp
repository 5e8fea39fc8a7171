// Which catalogue command does what.
#include "app/catalogue_commands.h"

#include "app/catalogue_backup.h"
#include "app/catalogue_switch.h"
#include "app/new_catalogue.h"
#include "resources/ids.h"

std::optional<bool> команда_каталога(Window task, int id) {
  switch (id) {
    case cmd_КнопкаНовый:
    case cmd_НовыйКаталог:
      return создать_новый_каталог(task);
    case cmd_КнопкаОткрыть:
    case cmd_ОткрытьКаталог:
      return выбрать_и_открыть_каталог(task);
    case cmd_КнопкаСохранить:
    case cmd_РезервнаяКопия:
      return сделать_резервную_копию();
    default:
      if (id >= cmd_ПоследнийКаталог1 && id <= cmd_ПоследнийКаталог5)
        return открыть_последний_каталог(task, id - cmd_ПоследнийКаталог1);
      return std::nullopt;
  }
}
