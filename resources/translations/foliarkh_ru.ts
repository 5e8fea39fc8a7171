<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="en">
<context>
    <name>foliarkh</name>
    <message>
        <source>&amp;Help</source>
        <extracomment>The program's menus</extracomment>
        <translation>&amp;Справка</translation>
    </message>
    <message>
        <source>&amp;Contents	Ctrl-F1</source>
        <translation>&amp;Содержание	Ctrl+F1</translation>
    </message>
    <message>
        <source>&amp;Local	F1</source>
        <translation>Справка по &amp;окну	F1</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;О программе</translation>
    </message>
    <message>
        <source>&amp;OK</source>
        <extracomment>The program's dialogs: the data-entry dialog's buttons, the About box</extracomment>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Отмена</translation>
    </message>
    <message>
        <source>About</source>
        <translation>О программе</translation>
    </message>
    <message>
        <source>No description</source>
        <translation>Каталог книг небольшой библиотеки или домашнего собрания</translation>
    </message>
    <message>
        <source>Version 1.0</source>
        <translation>Версия 1.0, все права защищены</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>New</source>
        <extracomment>The toolbars: tooltips and help-line texts</extracomment>
        <translation>Создать</translation>
    </message>
    <message>
        <source>New file</source>
        <translation>Новый каталог</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Open file</source>
        <translation>Открыть каталог</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Резервная копия</translation>
    </message>
    <message>
        <source>File save</source>
        <translation>Резервная копия</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Отменить</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Вырезать</translation>
    </message>
    <message>
        <source>Cut to clipboard</source>
        <translation>Вырезать в буфер обмена</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>Копировать в буфер обмена</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Вставить</translation>
    </message>
    <message>
        <source>Paste from clipboard</source>
        <translation>Вставить из буфера обмена</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Удалить</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Редактировать</translation>
    </message>
    <message>
        <source>Card</source>
        <translation>Карточка</translation>
    </message>
    <message>
        <source>Messages</source>
        <extracomment>The message window</extracomment>
        <translation>Сообщения</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Копировать</translation>
    </message>
    <message>
        <source>&amp;Search...</source>
        <translation>&amp;Найти…</translation>
    </message>
    <message>
        <source>Search &amp;again</source>
        <translation>Найти &amp;далее</translation>
    </message>
    <message>
        <source>&amp;Font</source>
        <translation>&amp;Шрифт</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Очистить</translation>
    </message>
    <message>
        <source>&amp;Window</source>
        <extracomment>The windowing layer: the window list, standard dialogs, the help viewer, the error box</extracomment>
        <translation>&amp;Окно</translation>
    </message>
    <message>
        <source>&amp;Tile</source>
        <translation>&amp;Мозаикой</translation>
    </message>
    <message>
        <source>&amp;Cascade</source>
        <translation>&amp;Каскадом</translation>
    </message>
    <message>
        <source>&amp;Arrange Icons</source>
        <translation>&amp;Упорядочить значки</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Сообщение</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Help - %1</source>
        <translation>Справка — %1</translation>
    </message>
    <message>
        <source>Program Error</source>
        <translation>Ошибка программы</translation>
    </message>
    <message>
        <source>Register On Clipboard?</source>
        <translation>Скопировать сообщение в буфер обмена?</translation>
    </message>
    <message>
        <source>Search</source>
        <extracomment>The text editor</extracomment>
        <translation>Поиск</translation>
    </message>
    <message>
        <source>Match &amp;case</source>
        <translation>&amp;С учётом регистра</translation>
    </message>
    <message>
        <source>&amp;Whole words</source>
        <translation>&amp;Слова целиком</translation>
    </message>
    <message>
        <source>Search &amp;backwards</source>
        <translation>Искать &amp;назад</translation>
    </message>
    <message>
        <source>&amp;Find</source>
        <translation>&amp;Найти</translation>
    </message>
    <message>
        <source>Find &amp;what:</source>
        <translation>&amp;Что искать:</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Шрифт</translation>
    </message>
    <message>
        <source>Line %1, Col %2</source>
        <translation>Строка %1, столбец %2</translation>
    </message>
    <message>
        <source>PROGRAM ERROR.</source>
        <extracomment>The words of run-time error reports</extracomment>
        <translation>ОШИБКА ПРОГРАММЫ.</translation>
    </message>
    <message>
        <source>Module:</source>
        <translation>Модуль:</translation>
    </message>
    <message>
        <source>Include:</source>
        <translation>Файл:</translation>
    </message>
    <message>
        <source>Pos:</source>
        <translation>Позиция:</translation>
    </message>
    <message>
        <source>Message:</source>
        <translation>Сообщение:</translation>
    </message>
    <message>
        <source>Exception with code</source>
        <translation>Исключение с кодом</translation>
    </message>
    <message>
        <source>Native OS error</source>
        <translation>Ошибка системы</translation>
    </message>
    <message>
        <source>No error messages</source>
        <translation>нет текста сообщения</translation>
    </message>
    <message>
        <source>can not be opened</source>
        <translation>не открывается</translation>
    </message>
    <message>
        <source>can not be read</source>
        <translation>не читается</translation>
    </message>
    <message>
        <source>+ memory overflow</source>
        <translation>+ не хватает памяти</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Неизвестная ошибка</translation>
    </message>
    <message>
        <source>Success</source>
        <extracomment>The host's texts of its error numbers</extracomment>
        <translation>Успешно</translation>
    </message>
    <message>
        <source>Operation not permitted</source>
        <translation>Операция не разрешена</translation>
    </message>
    <message>
        <source>No such file or directory</source>
        <translation>Нет такого файла или папки</translation>
    </message>
    <message>
        <source>No such process</source>
        <translation>Нет такого процесса</translation>
    </message>
    <message>
        <source>Interrupted system call</source>
        <translation>Системный вызов прерван</translation>
    </message>
    <message>
        <source>Input/output error</source>
        <translation>Ошибка ввода-вывода</translation>
    </message>
    <message>
        <source>No such device or address</source>
        <translation>Нет такого устройства или адреса</translation>
    </message>
    <message>
        <source>Argument list too long</source>
        <translation>Слишком длинный список аргументов</translation>
    </message>
    <message>
        <source>Exec format error</source>
        <translation>Неверный формат исполняемого файла</translation>
    </message>
    <message>
        <source>Bad file descriptor</source>
        <translation>Неверный дескриптор файла</translation>
    </message>
    <message>
        <source>No child processes</source>
        <translation>Нет дочерних процессов</translation>
    </message>
    <message>
        <source>Resource temporarily unavailable</source>
        <translation>Ресурс временно недоступен</translation>
    </message>
    <message>
        <source>Cannot allocate memory</source>
        <translation>Не удаётся выделить память</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Доступ запрещён</translation>
    </message>
    <message>
        <source>Bad address</source>
        <translation>Неверный адрес</translation>
    </message>
    <message>
        <source>Block device required</source>
        <translation>Нужно блочное устройство</translation>
    </message>
    <message>
        <source>Device or resource busy</source>
        <translation>Устройство или ресурс занято</translation>
    </message>
    <message>
        <source>File exists</source>
        <translation>Файл уже существует</translation>
    </message>
    <message>
        <source>Invalid cross-device link</source>
        <translation>Ссылка между устройствами недопустима</translation>
    </message>
    <message>
        <source>No such device</source>
        <translation>Нет такого устройства</translation>
    </message>
    <message>
        <source>Not a directory</source>
        <translation>Это не папка</translation>
    </message>
    <message>
        <source>Is a directory</source>
        <translation>Это папка</translation>
    </message>
    <message>
        <source>Invalid argument</source>
        <translation>Недопустимый аргумент</translation>
    </message>
    <message>
        <source>Too many open files in system</source>
        <translation>В системе открыто слишком много файлов</translation>
    </message>
    <message>
        <source>Too many open files</source>
        <translation>Открыто слишком много файлов</translation>
    </message>
    <message>
        <source>Inappropriate ioctl for device</source>
        <translation>Неподходящая операция управления для устройства</translation>
    </message>
    <message>
        <source>Text file busy</source>
        <translation>Исполняемый файл занят</translation>
    </message>
    <message>
        <source>File too large</source>
        <translation>Файл слишком велик</translation>
    </message>
    <message>
        <source>No space left on device</source>
        <translation>На устройстве не осталось места</translation>
    </message>
    <message>
        <source>Illegal seek</source>
        <translation>Недопустимое позиционирование</translation>
    </message>
    <message>
        <source>Read-only file system</source>
        <translation>Файловая система только для чтения</translation>
    </message>
    <message>
        <source>Too many links</source>
        <translation>Слишком много ссылок</translation>
    </message>
    <message>
        <source>Broken pipe</source>
        <translation>Канал разорван</translation>
    </message>
    <message>
        <source>Numerical argument out of domain</source>
        <translation>Числовой аргумент вне области определения</translation>
    </message>
    <message>
        <source>Numerical result out of range</source>
        <translation>Числовой результат вне диапазона</translation>
    </message>
    <message>
        <source>Resource deadlock avoided</source>
        <translation>Предотвращена взаимная блокировка ресурса</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>Слишком длинное имя файла</translation>
    </message>
    <message>
        <source>No locks available</source>
        <translation>Нет свободных блокировок</translation>
    </message>
    <message>
        <source>Function not implemented</source>
        <translation>Функция не реализована</translation>
    </message>
    <message>
        <source>Directory not empty</source>
        <translation>Папка не пуста</translation>
    </message>
    <message>
        <source>Too many levels of symbolic links</source>
        <translation>Слишком много уровней символических ссылок</translation>
    </message>
    <message>
        <source>No message of desired type</source>
        <translation>Нет сообщения нужного типа</translation>
    </message>
    <message>
        <source>Identifier removed</source>
        <translation>Идентификатор удалён</translation>
    </message>
    <message>
        <source>Channel number out of range</source>
        <translation>Номер канала вне диапазона</translation>
    </message>
    <message>
        <source>Level 2 not synchronized</source>
        <translation>Уровень 2 не синхронизирован</translation>
    </message>
    <message>
        <source>Level 3 halted</source>
        <translation>Уровень 3 остановлен</translation>
    </message>
    <message>
        <source>Level 3 reset</source>
        <translation>Уровень 3 сброшен</translation>
    </message>
    <message>
        <source>Link number out of range</source>
        <translation>Номер связи вне диапазона</translation>
    </message>
    <message>
        <source>Protocol driver not attached</source>
        <translation>Драйвер протокола не подключён</translation>
    </message>
    <message>
        <source>No CSI structure available</source>
        <translation>Нет доступной структуры CSI</translation>
    </message>
    <message>
        <source>Level 2 halted</source>
        <translation>Уровень 2 остановлен</translation>
    </message>
    <message>
        <source>Invalid exchange</source>
        <translation>Недопустимый обмен</translation>
    </message>
    <message>
        <source>Invalid request descriptor</source>
        <translation>Недопустимый дескриптор запроса</translation>
    </message>
    <message>
        <source>Exchange full</source>
        <translation>Обмен переполнен</translation>
    </message>
    <message>
        <source>No anode</source>
        <translation>Нет анода</translation>
    </message>
    <message>
        <source>Invalid request code</source>
        <translation>Недопустимый код запроса</translation>
    </message>
    <message>
        <source>Invalid slot</source>
        <translation>Недопустимый слот</translation>
    </message>
    <message>
        <source>Bad font file format</source>
        <translation>Неверный формат файла шрифта</translation>
    </message>
    <message>
        <source>Device not a stream</source>
        <translation>Устройство не является потоком</translation>
    </message>
    <message>
        <source>No data available</source>
        <translation>Нет данных</translation>
    </message>
    <message>
        <source>Timer expired</source>
        <translation>Время таймера истекло</translation>
    </message>
    <message>
        <source>Out of streams resources</source>
        <translation>Нет ресурсов потоков</translation>
    </message>
    <message>
        <source>Machine is not on the network</source>
        <translation>Машина не в сети</translation>
    </message>
    <message>
        <source>Package not installed</source>
        <translation>Пакет не установлен</translation>
    </message>
    <message>
        <source>Object is remote</source>
        <translation>Объект удалённый</translation>
    </message>
    <message>
        <source>Link has been severed</source>
        <translation>Связь разорвана</translation>
    </message>
    <message>
        <source>Advertise error</source>
        <translation>Ошибка объявления</translation>
    </message>
    <message>
        <source>Srmount error</source>
        <translation>Ошибка srmount</translation>
    </message>
    <message>
        <source>Communication error on send</source>
        <translation>Ошибка связи при отправке</translation>
    </message>
    <message>
        <source>Protocol error</source>
        <translation>Ошибка протокола</translation>
    </message>
    <message>
        <source>Multihop attempted</source>
        <translation>Попытка многошагового перехода</translation>
    </message>
    <message>
        <source>RFS specific error</source>
        <translation>Ошибка RFS</translation>
    </message>
    <message>
        <source>Bad message</source>
        <translation>Неверное сообщение</translation>
    </message>
    <message>
        <source>Value too large for defined data type</source>
        <translation>Значение слишком велико для этого типа данных</translation>
    </message>
    <message>
        <source>Name not unique on network</source>
        <translation>Имя в сети не уникально</translation>
    </message>
    <message>
        <source>File descriptor in bad state</source>
        <translation>Дескриптор файла в неверном состоянии</translation>
    </message>
    <message>
        <source>Remote address changed</source>
        <translation>Удалённый адрес изменился</translation>
    </message>
    <message>
        <source>Can not access a needed shared library</source>
        <translation>Нет доступа к нужной разделяемой библиотеке</translation>
    </message>
    <message>
        <source>Accessing a corrupted shared library</source>
        <translation>Обращение к повреждённой разделяемой библиотеке</translation>
    </message>
    <message>
        <source>.lib section in a.out corrupted</source>
        <translation>Раздел .lib в a.out повреждён</translation>
    </message>
    <message>
        <source>Attempting to link in too many shared libraries</source>
        <translation>Попытка подключить слишком много разделяемых библиотек</translation>
    </message>
    <message>
        <source>Cannot exec a shared library directly</source>
        <translation>Разделяемую библиотеку нельзя запустить напрямую</translation>
    </message>
    <message>
        <source>Invalid or incomplete multibyte or wide character</source>
        <translation>Недопустимый или неполный многобайтный или широкий символ</translation>
    </message>
    <message>
        <source>Interrupted system call should be restarted</source>
        <translation>Прерванный системный вызов следует перезапустить</translation>
    </message>
    <message>
        <source>Streams pipe error</source>
        <translation>Ошибка канала потоков</translation>
    </message>
    <message>
        <source>Too many users</source>
        <translation>Слишком много пользователей</translation>
    </message>
    <message>
        <source>Socket operation on non-socket</source>
        <translation>Операция сокета не над сокетом</translation>
    </message>
    <message>
        <source>Destination address required</source>
        <translation>Нужен адрес назначения</translation>
    </message>
    <message>
        <source>Message too long</source>
        <translation>Слишком длинное сообщение</translation>
    </message>
    <message>
        <source>Protocol wrong type for socket</source>
        <translation>Протокол не того типа для сокета</translation>
    </message>
    <message>
        <source>Protocol not available</source>
        <translation>Протокол недоступен</translation>
    </message>
    <message>
        <source>Protocol not supported</source>
        <translation>Протокол не поддерживается</translation>
    </message>
    <message>
        <source>Socket type not supported</source>
        <translation>Тип сокета не поддерживается</translation>
    </message>
    <message>
        <source>Operation not supported</source>
        <translation>Операция не поддерживается</translation>
    </message>
    <message>
        <source>Protocol family not supported</source>
        <translation>Семейство протоколов не поддерживается</translation>
    </message>
    <message>
        <source>Address family not supported by protocol</source>
        <translation>Семейство адресов не поддерживается протоколом</translation>
    </message>
    <message>
        <source>Address already in use</source>
        <translation>Адрес уже используется</translation>
    </message>
    <message>
        <source>Cannot assign requested address</source>
        <translation>Не удаётся назначить запрошенный адрес</translation>
    </message>
    <message>
        <source>Network is down</source>
        <translation>Сеть не работает</translation>
    </message>
    <message>
        <source>Network is unreachable</source>
        <translation>Сеть недоступна</translation>
    </message>
    <message>
        <source>Network dropped connection on reset</source>
        <translation>Сеть разорвала соединение при сбросе</translation>
    </message>
    <message>
        <source>Software caused connection abort</source>
        <translation>Программа вызвала разрыв соединения</translation>
    </message>
    <message>
        <source>Connection reset by peer</source>
        <translation>Соединение сброшено другой стороной</translation>
    </message>
    <message>
        <source>No buffer space available</source>
        <translation>Нет места в буфере</translation>
    </message>
    <message>
        <source>Transport endpoint is already connected</source>
        <translation>Конечная точка передачи уже подключена</translation>
    </message>
    <message>
        <source>Transport endpoint is not connected</source>
        <translation>Конечная точка передачи не подключена</translation>
    </message>
    <message>
        <source>Cannot send after transport endpoint shutdown</source>
        <translation>Нельзя отправлять после закрытия конечной точки передачи</translation>
    </message>
    <message>
        <source>Too many references: cannot splice</source>
        <translation>Слишком много ссылок: соединение невозможно</translation>
    </message>
    <message>
        <source>Connection timed out</source>
        <translation>Время ожидания соединения истекло</translation>
    </message>
    <message>
        <source>Connection refused</source>
        <translation>В соединении отказано</translation>
    </message>
    <message>
        <source>Host is down</source>
        <translation>Узел не работает</translation>
    </message>
    <message>
        <source>No route to host</source>
        <translation>Нет маршрута до узла</translation>
    </message>
    <message>
        <source>Operation already in progress</source>
        <translation>Операция уже выполняется</translation>
    </message>
    <message>
        <source>Operation now in progress</source>
        <translation>Операция сейчас выполняется</translation>
    </message>
    <message>
        <source>Stale file handle</source>
        <translation>Устаревший дескриптор файла</translation>
    </message>
    <message>
        <source>Structure needs cleaning</source>
        <translation>Структура нуждается в очистке</translation>
    </message>
    <message>
        <source>Not a XENIX named type file</source>
        <translation>Это не именованный файл XENIX</translation>
    </message>
    <message>
        <source>No XENIX semaphores available</source>
        <translation>Нет доступных семафоров XENIX</translation>
    </message>
    <message>
        <source>Is a named type file</source>
        <translation>Это именованный файл</translation>
    </message>
    <message>
        <source>Remote I/O error</source>
        <translation>Ошибка удалённого ввода-вывода</translation>
    </message>
    <message>
        <source>Disk quota exceeded</source>
        <translation>Превышена дисковая квота</translation>
    </message>
    <message>
        <source>No medium found</source>
        <translation>Носитель не найден</translation>
    </message>
    <message>
        <source>Wrong medium type</source>
        <translation>Неверный тип носителя</translation>
    </message>
    <message>
        <source>Operation canceled</source>
        <translation>Операция отменена</translation>
    </message>
    <message>
        <source>Required key not available</source>
        <translation>Нужный ключ недоступен</translation>
    </message>
    <message>
        <source>Key has expired</source>
        <translation>Срок действия ключа истёк</translation>
    </message>
    <message>
        <source>Key has been revoked</source>
        <translation>Ключ отозван</translation>
    </message>
    <message>
        <source>Key was rejected by service</source>
        <translation>Ключ отклонён службой</translation>
    </message>
    <message>
        <source>Owner died</source>
        <translation>Владелец завершился</translation>
    </message>
    <message>
        <source>State not recoverable</source>
        <translation>Состояние невосстановимо</translation>
    </message>
    <message>
        <source>Operation not possible due to RF-kill</source>
        <translation>Операция невозможна из-за блокировки радио</translation>
    </message>
    <message>
        <source>Memory page has hardware error</source>
        <translation>На странице памяти аппаратная ошибка</translation>
    </message>
</context>
</TS>
