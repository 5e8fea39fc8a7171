// The catalogue program's resource ids, each written here once: menus and their commands, the
// accelerator table, dialogs and their controls, the toolbars' buttons and pictures, the icons
// and the controls of the program's own windows. The tables of resources/ and the handlers of
// app/ both use these names, so changing an id is one edit. A bitmap or icon id names its file,
// bitmaps/<id>.bmp or icons/<id>.ico in resources/CMakeLists.txt; a test checks that every
// рис_ and значок_ id below has its file compiled in.
#pragma once

// ---- menus and their commands ----
enum MenuResource : int {
  меню_задачи = 10031,      // the task window's menu
  меню_просмотра = 10027,   // the literature list window's menu
  меню_списка_окон = 9011,  // where the layer looks for a window-list menu: the program has none
};

// Commands of the task menu, its accelerators and the project toolbar's Help button.
enum TaskCommand : int {
  cmd_Выход = 10033, cmd_ВводДанных = 10035, cmd_УдалРедактВывод = 10036,
  cmd_КатегВвести = 10038, cmd_КатегРедактировать = 10039, cmd_КатегУдалить = 10040,
  cmd_КатегПросмотр = 10041, cmd_Настройки = 10042, cmd_Содержание = 10044, cmd_Местная = 10045,
  cmd_ОПрограмме = 10046
};

// The other buttons of the project toolbar: they reach the task window. New, Open and Save act
// as the catalogue commands below.
enum ProjectToolbarButton : int {
  cmd_КнопкаНовый = 10077, cmd_КнопкаОткрыть = 10078, cmd_КнопкаСохранить = 10079,
  cmd_КнопкаОтменить = 10080, cmd_КнопкаПовторить = 10081, cmd_КнопкаВырезать = 10082,
  cmd_КнопкаКопировать = 10083, cmd_КнопкаВставить = 10084
};

// The catalogue commands of "Файл": a new catalogue, opening one, the last five opened (items
// made while the program runs, in this order after "Открыть каталог…") and the backup copy.
enum CatalogueCommand : int {
  cmd_НовыйКаталог = 10140, cmd_ОткрытьКаталог = 10141,
  cmd_ПоследнийКаталог1 = 10142, cmd_ПоследнийКаталог5 = 10146,
  cmd_РезервнаяКопия = 10147
};
// A catalogue on a database server: connecting to one, and moving the folder catalogue there.
enum ServerCommand : int { cmd_ПодключитьсяКСерверу = 10148, cmd_ПеренестиНаСервер = 10149 };

// The list window's toolbar buttons and menu items.
enum ListWindowCommand : int {
  cmd_КнопкаУдалить = 10074, cmd_КнопкаПравка = 10075, cmd_КнопкаКарточка = 10076,
  cmd_МенюУдалить = 10028, cmd_МенюРедактировать = 10029, cmd_МенюКарточка = 10030
};

// Printing: the catalogue on a printer or as a PDF file (the task menu's "Файл"), and the card
// of the selected record (the list window's menu).
enum PrintCommand : int { cmd_ПечатьКаталога = 10120, cmd_КаталогВPdf = 10121, cmd_ПечатьКарточки = 10122 };

// The list window's menu "Вид": the table or the lines, and the pane of the selected book; the
// table's control and the pane.
enum ListViewCommand : int { cmd_ВидТаблица = 10240, cmd_ВидСтроки = 10241, cmd_ВидСведения = 10242 };
inline constexpr int ид_таблицы = 10243;  // the list window's table (a multi-column list)
inline constexpr int ид_панели = 10244;   // the pane of the selected book beside the table

// ---- accelerators ----
inline constexpr int ускорители_задачи = 9001;  // the task window's: Ctrl+F1 and F1

// ---- undo, redo, the clipboard and help on the window ----
// The keys of the task window that undo, redo and copy where no text field has the focus (a
// text field keeps its own keys); the toolbar's buttons keep their own ids above.
enum EditKeyCommand : int { cmd_КлавишаОтменить = 10160, cmd_КлавишаПовторить = 10161, cmd_КлавишаКопировать = 10162 };
// Help topics of the windows and dialogs: the help file's anchors "context-<id>".
enum HelpTopic : int {
  тема_окно_задачи = 10170, тема_окно_списка = 10171, тема_ввод_данных = 10172, тема_категории = 10173,
  тема_настройки = 10174
};

// ---- dialogs and their controls ----
enum DialogResource : int {
  диалог_инфсохранена = 10000,  // the data-saved note
  диалог_ввод_данных = 10004,   // the data-entry dialog
  диалог_about = 10022,         // the About box
};

// The push buttons that every dialog numbers alike: Enter clicks the default one, Escape is a
// click on кнопка_Cancel and F1 on кнопка_Help.
enum StandardButton : int { кнопка_OK = 1, кнопка_Cancel = 2, кнопка_Help = 3 };

// Controls of the data-entry dialog.
enum DataEntryControl : int {
  ид_Автор = 10006, ид_Наименование = 10008, ид_Диск = 10009, ид_Категория = 10011,
  ид_Вид = 10012, ид_Твердый = 10014, ид_Мягкий = 10015, ид_ФайлОбложки = 10017,
  ид_ВидОбл = 10018, ид_ОблЗакрыть = 10019,
  ид_НадписьАвтор = 10005, ид_НадписьНаименование = 10007, ид_НадписьКатегория = 10010,
  ид_РамкаПереплет = 10013, ид_РамкаОбложка = 10016, ид_НадписьФайл = 10020, ид_НадписьВид = 10021,
  // the group of publication details beside them (10210-10229)
  ид_РамкаСведения = 10210,
  ид_НадписьГод = 10211, ид_Год = 10212, ид_НадписьИздательство = 10213, ид_Издательство = 10214,
  ид_НадписьМесто = 10215, ид_Место = 10216, ид_НадписьISBN = 10217, ид_ISBN = 10218,
  ид_НадписьШифр = 10219, ид_Шифр = 10220, ид_НадписьЭкземпляров = 10221, ид_Экземпляров = 10222,
  ид_НадписьСтраниц = 10223, ид_Страниц = 10224, ид_НадписьПримечание = 10225, ид_Примечание = 10226,
  ид_ВставитьОбложку = 10227  // the picture on the clipboard as the cover
};

// Controls of the data-saved note.
enum SavedNoteControl : int { ид_ТекстИнфСохранена = 10001, ид_ЗначокИнфСохранена = 10002 };

// The text lines of the About box.
enum AboutControl : int {
  ид_ОписаниеПрограммы = 10023, ид_ВерсияПрограммы = 10024, ид_ИмяПрограммы = 10025,
  ид_НазначениеПрограммы = 10026
};

// ---- controls of the program's windows ----
inline constexpr int ид_списка = 10047;           // the list window's list box
inline constexpr int id_строкиподсказки = 10085;  // the text field of the help line

// ---- icons ----
enum IconResource : int {
  значок_программы = 9012,    // the task window's icon
  значок_информации = 10003,  // the data-saved note's icon
};

// ---- toolbar pictures: each button face up, pressed and grey ----
enum BitmapResource : int {
  рис_ПустаяКнопка = 10048,
  рис_КарточкаСерая = 10049, рис_КарточкаНажата = 10050, рис_Карточка = 10051,
  рис_ПравкаСерая = 10052, рис_Правка = 10053, рис_ПравкаНажата = 10054,
  рис_ВырезатьСерый = 10055,
  рис_ВставитьНажат = 10056, рис_Вставить = 10057,
  рис_КопироватьНажат = 10058, рис_Копировать = 10059,
  рис_ВырезатьНажат = 10060, рис_Вырезать = 10061,
  рис_ПовторитьНажат = 10062, рис_Повторить = 10063,
  рис_ОтменитьНажат = 10064, рис_Отменить = 10065,
  рис_СправкаНажата = 10066, рис_Справка = 10067,
  рис_СохранитьНажат = 10068, рис_Сохранить = 10069,
  рис_ОткрытьНажат = 10070, рис_Открыть = 10071,
  рис_НовыйНажат = 10072, рис_Новый = 10073
};

// ---- finding, exporting and importing records (10100-10119) ----
enum FindExchangeCommand : int {
  cmd_НайтиКнигу = 10100,  // "База" / "Найти книгу…" and its accelerator Ctrl+F
  cmd_Экспорт = 10101,     // "База" / "Экспорт…"
  cmd_Импорт = 10102,      // "База" / "Импорт…"
  cmd_МенюНайти = 10103,   // the list window's "Найти…"
};
inline constexpr int ид_надписи_поиска = 10104;  // the list window's label "Найти:"
inline constexpr int ид_поля_поиска = 10105;     // the list window's find field
// The dialog of a server catalogue's address (connecting, moving a catalogue there).
enum ServerDialogResource : int {
  диалог_сервер = 10190, ид_НадписьСервер = 10191, ид_Сервер = 10192, ид_НадписьПорт = 10193, ид_Порт = 10194,
  ид_НадписьБаза = 10195, ид_База = 10196, ид_НадписьПользователь = 10197, ид_Пользователь = 10198,
  ид_НадписьПароль = 10199, ид_Пароль = 10200, ид_ПричинаСервера = 10201
};
// The import summary dialog and its controls.
enum ImportSummaryResource : int {
  диалог_итог_импорта = 10106, ид_ИтогИмпорта = 10107, ид_НадписьОтказы = 10108, ид_ОтказыИмпорта = 10109
};

// ---- lending (10250-10269) ----
enum LendingCommand : int {
  cmd_ВыдатьКнигу = 10250,     // "Выдача" / "Выдать книгу…" and its accelerator Ctrl+L
  cmd_ПринятьКнигу = 10251,    // "Выдача" / "Принять книгу…" and its accelerator Ctrl+R
  cmd_Читатели = 10252,        // "Выдача" / "Читатели…"
  cmd_Должники = 10253,        // "Выдача" / "Должники"
  cmd_ИсторияВыдач = 10254,    // "Выдача" / "История выдач…"
  cmd_СрокВыдачи = 10255,      // "Выдача" / "Срок выдачи…"
  cmd_МенюВыдать = 10256,      // the list window's "Выдать…"
  cmd_МенюПринять = 10257,     // the list window's "Принять"
  тема_выдача = 10258,         // help on lending
  cmd_Статистика = 10259       // "База" / "Статистика…"
};
// The lending dialogs and windows (10270-10319): the issue and return dialogs, a reader's card,
// the readers window and the overdue window, each control after its caption.
enum LendingDialogResource : int {
  диалог_выдачи = 10270, ид_НадписьКнигиВыдачи = 10271, ид_КнигаВыдачи = 10272, ид_КнигиВыдачи = 10273,
  ид_СостояниеКниги = 10274, ид_НадписьЧитателяВыдачи = 10275, ид_ЧитательВыдачи = 10276,
  ид_ЧитателиВыдачи = 10277, ид_НовыйЧитатель = 10278, ид_НадписьСрокаВыдачи = 10279, ид_СрокВозврата = 10280,
  диалог_читатель = 10281, ид_НадписьФИО = 10282, ид_ФИО = 10283, ид_НадписьГруппа = 10284, ид_Группа = 10285,
  ид_НадписьТелефон = 10286, ид_Телефон = 10287, ид_НадписьПримечаниеЧитателя = 10288,
  ид_ПримечаниеЧитателя = 10289,
  диалог_возврата = 10290, ид_НадписьКодаВозврата = 10291, ид_КодВозврата = 10292, ид_ВыдачиВозврата = 10293,
  ид_ОВозврате = 10294,
  окно_читателей = 10295, ид_НадписьПоискаЧитателей = 10296, ид_ПоискЧитателей = 10297, ид_СписокЧитателей = 10298,
  ид_ДобавитьЧитателя = 10299, ид_ИзменитьЧитателя = 10300, ид_УдалитьЧитателя = 10301,
  ид_НадписьНаРуках = 10302, ид_КнигиНаРуках = 10303, ид_НадписьИстории = 10304, ид_ИсторияЧитателя = 10305,
  окно_должников = 10306, ид_ЧислоДолгов = 10307, ид_СписокДолгов = 10308, ид_ПечатьДолгов = 10309,
  ид_ДолгиВPdf = 10310, ид_ДолгиВCsv = 10311,
  окно_истории = 10312, ид_НадписьКнигиИстории = 10313, ид_КнигаИстории = 10314, ид_КнигиИстории = 10315,
  ид_ОКнигеИстории = 10316, ид_ВыдачиКниги = 10317
};
