// A catalogue on a database server in the program: opening it (from the command line's
// --server, the "Подключиться к серверу…" dialog, the last catalogues of "Файл"), the task
// window's title that names it ("Фолиарх — library@server", "только чтение" for a role that may
// only read), the changing commands greyed while it may not be changed (a read-only role, the
// connection lost: the watch reconnects by itself), another desk's change heard at once through
// the server's notification, and "Перенести каталог на сервер…".
#pragma once

#include <string>

#include "layer/layer.h"

class ХранилищеСервера;

struct АдресСервера;

// The folder of a server catalogue's cover pictures on this desk (host path): in the user's cache
// ($XDG_CACHE_HOME/foliarkh/covers/<the address without its password>, or ~/.cache/…); empty when
// neither is set. The program works in it while the server catalogue is open.
std::string папка_обложек_сервера(const АдресСервера& адрес);

// The working catalogue's server storage; null for a folder catalogue.
ХранилищеСервера* сервер_каталога();

// Makes the server catalogue at `uri` (a connection URI, UTF-8; `пароль` when the user gave one)
// the working one: connected first (refused with a message, and nothing changes, when it cannot
// be: false then), then the windows of the catalogue close, the model starts afresh and loads from
// the server, the title names it and it goes first among the last catalogues (without password).
bool открыть_сервер_каталога(Window task, const std::string& uri, const std::string& пароль = {});
// The n-th (0-based) of the last catalogues of "Файл": a server catalogue connected to, a folder
// opened (открыть_последний_каталог); false when there is none or it is refused.
bool открыть_из_последних(Window task, int n);
// The start asked for a server catalogue (--server): opened as the task window is made. A server
// that cannot be had is told and the program ends.
void открыть_сервер_запуска(Window task);

// The task window's title for the server catalogue: "Фолиарх — library@server", and
// " — только чтение" for a role that may only read.
std::string заголовок_сервера(const ХранилищеСервера& сервер);

// "Файл" / "Подключиться к серверу…": the dialog of host, port, database, user and password (left
// empty: ~/.pgpass), then открыть_сервер_каталога; asked again, with the reason, until it connects
// or is cancelled. False when cancelled.
bool подключиться_к_серверу(Window task);
// "Файл" / "Перенести каталог на сервер…": the same dialog for an empty database, then the folder
// catalogue open now copied there in one transaction and checked; told either way. False when
// cancelled or refused.
bool перенести_на_сервер(Window task);

// After the watch: when the catalogue became changeable or no longer is (the connection to the
// server lost or made again), the menus and buttons follow.
void следить_за_связью();
