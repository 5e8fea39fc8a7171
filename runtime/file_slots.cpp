// The slot table, the current devices and the buffered text-mode transfer between slots and the
// host's file descriptors.
//
// A slot's buffer serves one direction at a time: `use` says whether it holds bytes read ahead
// from the file (next..fill unread) or bytes waiting to be written (0..fill). Bytes are kept in
// the buffer exactly as they are in the file (reading) or in the program (writing); CR bytes are
// dropped as lines are taken out, and LF becomes CR LF as the buffer is written out.
#include "runtime/file_slots.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <exception>
#include <memory>

#include "file_bytes.h"
#include "host_error.h"
#include "runtime/console_output.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/scope_exit.h"

namespace {

enum class SlotKind : std::uint8_t { screen, keyboard, std_in, std_out, std_err, file };
enum class SlotState : std::uint8_t { closed, reading, writing, read_write };
enum class BufferUse : std::uint8_t { idle, reading, writing };

struct Slot {
  std::string symbol;
  SlotKind kind = SlotKind::file;
  SlotState state = SlotState::closed;
  int fd = -1;
  bool text = true;
  std::string name;
  std::unique_ptr<char[]> buf;
  std::size_t cap = 0;
  std::size_t fill = 0;
  std::size_t next = 0;
  BufferUse use = BufferUse::idle;

  bool can_read() const { return state == SlotState::reading || state == SlotState::read_write; }
  bool can_write() const { return state == SlotState::writing || state == SlotState::read_write; }
};

constexpr std::size_t kTextChunk = 65536;  // largest piece handed to the host at once

// std::deque keeps every slot at its address while program symbols are declared.
std::deque<Slot>& slots() {
  static std::deque<Slot> table = [] {
    std::deque<Slot> t;
    auto add = [&t](const char* symbol, SlotKind kind, SlotState state, int fd) {
      Slot s;
      s.symbol = symbol;
      s.kind = kind;
      s.state = state;
      s.fd = fd;
      s.text = kind == SlotKind::keyboard || kind == SlotKind::std_in;
      t.push_back(std::move(s));
    };
    add("screen", SlotKind::screen, SlotState::writing, STDOUT_FILENO);
    add("keyboard", SlotKind::keyboard, SlotState::reading, STDIN_FILENO);
    add("stdin", SlotKind::std_in, SlotState::reading, STDIN_FILENO);
    add("stdout", SlotKind::std_out, SlotState::writing, STDOUT_FILENO);
    add("stderr", SlotKind::std_err, SlotState::writing, STDERR_FILENO);
    add("IO_SystemPF", SlotKind::file, SlotState::closed, -1);
    return t;
  }();
  return table;
}

int g_out = IO_Screen;
int g_in = IO_Keyboard;
bool g_layer_running = false;

bool predefined(int slot) { return slot >= IO_Screen && slot <= IO_Stderr; }

// The slot with that number; 1104 when there is none.
Slot& slot_ref(int slot, SrcLoc loc = SrcLoc::current()) {
  auto& t = slots();
  if (slot < 1 || static_cast<std::size_t>(slot) > t.size()) RUN_Error(errcode::kFileNotOpen, loc);
  return t[static_cast<std::size_t>(slot - 1)];
}

// Hands all bytes to the host; 7000 + errno when it refuses.
void write_or_raise(int fd, const char* p, std::size_t n) {
  if (!write_all(fd, p, n)) raise_errno(errno);
}

// Hands bytes to the host, LF as CR LF in text mode, in pieces of at most kTextChunk bytes.
void write_out(const Slot& s, std::string_view data) {
  if (!s.text) {
    write_or_raise(s.fd, data.data(), data.size());
    return;
  }
  static const std::unique_ptr<char[]> chunk(new char[kTextChunk]);
  std::size_t o = 0;
  for (const char c : data) {
    if (o + 2 > kTextChunk) {
      write_or_raise(s.fd, chunk.get(), o);
      o = 0;
    }
    if (c == '\n') chunk[o++] = '\r';
    chunk[o++] = c;
  }
  if (o > 0) write_or_raise(s.fd, chunk.get(), o);
}

// Writes out pending output. The buffer is emptied first: bytes that the host refused are not
// offered again (part of them may already be on disk).
void flush_buffer(Slot& s) {
  if (s.use != BufferUse::writing) return;
  const std::size_t n = s.fill;
  s.fill = 0;
  s.use = BufferUse::idle;
  if (n > 0) write_out(s, std::string_view(s.buf.get(), n));
}

// Gives up read-ahead before writing: the file position goes back to the first unread byte.
void drop_read_ahead(Slot& s) {
  if (s.use != BufferUse::reading) return;
  const auto unread = static_cast<off_t>(s.fill - s.next);
  s.fill = s.next = 0;
  s.use = BufferUse::idle;
  if (unread > 0 && ::lseek(s.fd, -unread, SEEK_CUR) < 0) raise_errno(errno);
}

void ensure_buffer(Slot& s) {
  if (!s.buf) {
    s.cap = IO_FileBufferSize;
    s.buf.reset(new char[s.cap]);
  }
}

void slot_write(Slot& s, std::string_view data) {
  drop_read_ahead(s);
  if (data.size() > s.cap - s.fill) flush_buffer(s);
  if (data.size() > s.cap) {
    write_out(s, data);
    return;
  }
  std::memcpy(s.buf.get() + s.fill, data.data(), data.size());
  s.fill += data.size();
  s.use = BufferUse::writing;
}

// Refills the buffer from the host; false at the end of the file.
bool refill(Slot& s) {
  flush_buffer(s);
  ensure_buffer(s);
  const ssize_t n = retry_on_eintr([&] { return ::read(s.fd, s.buf.get(), s.cap); });
  if (n < 0) raise_errno(errno);
  s.fill = static_cast<std::size_t>(n);
  s.next = 0;
  s.use = n > 0 ? BufferUse::reading : BufferUse::idle;
  return n > 0;
}

// Appends bytes to a line, dropping CR bytes in text mode.
void append_line_bytes(std::string& line, const char* p, std::size_t n, bool text) {
  if (!text) {
    line.append(p, n);
    return;
  }
  const char* end = p + n;
  while (p < end) {
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
    const char* stop = cr ? cr : end;
    line.append(p, static_cast<std::size_t>(stop - p));
    p = cr ? cr + 1 : end;
  }
}

// Whether the file's own name, the text after the last "/" (the host's only separator: "\\" and
// ":" are ordinary characters of a name here), is a serial device's: "COM" and a digit.
bool is_serial_device_name(std::string_view name) {
  const auto cut = name.find_last_of('/');
  const std::string_view base = cut == std::string_view::npos ? name : name.substr(cut + 1);
  if (base.size() < 4) return false;
  auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
  return up(base[0]) == 'C' && up(base[1]) == 'O' && up(base[2]) == 'M' && base[3] >= '0' && base[3] <= '9';
}

void open_slot(int slot, std::string_view file_name, int flags, SlotState state, bool at_end) {
  Slot& s = slot_ref(slot);
  if (s.state != SlotState::closed) RUN_Error(errcode::kFileAlreadyOpen);
  if (file_name.find('\0') != std::string_view::npos) raise_errno(ENOENT);
  const std::string host = RUN_HostPath(file_name);
  const int fd = retry_on_eintr([&] { return ::open(host.c_str(), flags | O_CLOEXEC, 0666); });
  if (fd < 0) raise_errno(errno);
  if (at_end && ::lseek(fd, 0, SEEK_END) < 0) {
    const int err = errno;
    ::close(fd);
    raise_errno(err);
  }
  s.fd = fd;
  s.state = state;
  s.text = true;
  s.name = std::string(file_name);
  s.cap = (is_serial_device_name(file_name) || ::isatty(fd)) ? 1 : IO_FileBufferSize;
  s.buf.reset(new char[s.cap]);
  s.fill = s.next = 0;
  s.use = BufferUse::idle;
}

void release_slot(int slot, Slot& s) {
  s.fd = -1;
  s.state = SlotState::closed;
  s.buf.reset();
  s.cap = s.fill = s.next = 0;
  s.use = BufferUse::idle;
  std::string().swap(s.name);
  if (g_in == slot) g_in = IO_Keyboard;
  if (g_out == slot) g_out = IO_Screen;
}

}  // namespace

int IO_DeclareFile(std::string_view symbol) {
  auto& t = slots();
  for (std::size_t i = 0; i < t.size(); ++i)
    if (t[i].symbol == symbol) return static_cast<int>(i + 1);
  Slot s;
  s.symbol = std::string(symbol);
  t.push_back(std::move(s));
  return static_cast<int>(t.size());
}

bool IO_IsOpen(int slot) {
  auto& t = slots();
  return slot >= 1 && static_cast<std::size_t>(slot) <= t.size() &&
         t[static_cast<std::size_t>(slot - 1)].state != SlotState::closed;
}

void IO_O_Read(int slot, std::string_view file_name) {
  open_slot(slot, file_name, O_RDONLY, SlotState::reading, false);
}

void IO_O_Write(int slot, std::string_view file_name) {
  open_slot(slot, file_name, O_WRONLY | O_CREAT | O_TRUNC, SlotState::writing, false);
}

void IO_O_App(int slot, std::string_view file_name) {
  open_slot(slot, file_name, O_RDWR | O_CREAT, SlotState::read_write, true);
}

void IO_O_Mod(int slot, std::string_view file_name) {
  open_slot(slot, file_name, O_RDWR | O_CREAT, SlotState::read_write, false);
}

void IO_Close(int slot) {
  Slot& s = slot_ref(slot);
  if (predefined(slot) || s.state == SlotState::closed) return;
  // The descriptor is closed and the slot released however the flush ends; a failed flush is the
  // error that goes on.
  int close_err = 0;
  {
    const auto release = on_scope_exit([&] {
      close_err = ::close(s.fd) < 0 ? errno : 0;
      release_slot(slot, s);
    });
    flush_buffer(s);
  }
  // EINTR from close still closed the descriptor on this host; only a real failure is reported.
  if (close_err != 0 && close_err != EINTR) raise_errno(close_err);
}

void IO_Flush(int slot, bool to_disk) {
  Slot& s = slot_ref(slot);
  if (s.state == SlotState::closed) RUN_Error(errcode::kFileNotOpen);
  if (s.kind == SlotKind::screen || s.kind == SlotKind::std_out) {
    std::fflush(stdout);
    return;
  }
  if (s.kind != SlotKind::file) return;
  flush_buffer(s);
  if (to_disk && ::fsync(s.fd) < 0) raise_errno(errno);
}

void IO_WrDev_i(int slot) {
  Slot& s = slot_ref(slot);
  if (s.state == SlotState::closed) RUN_Error(errcode::kFileNotOpen);
  if (!s.can_write()) RUN_Error(errcode::kFileReadOnly);
  g_out = slot;
}

int IO_WrDev_o() { return g_out; }

void IO_RdDev_i(int slot) {
  Slot& s = slot_ref(slot);
  if (!s.can_read()) RUN_Error(errcode::kFileNotOpen);
  g_in = slot;
}

int IO_RdDev_o() { return g_in; }

void IO_WrStr(std::string_view text) {
  Slot& s = slot_ref(g_out);
  switch (s.kind) {
    case SlotKind::screen:
    case SlotKind::std_out:
      IO_WrStrCon(text);
      return;
    case SlotKind::std_err:
      write_or_raise(s.fd, text.data(), text.size());
      return;
    case SlotKind::file:
      slot_write(s, text);
      return;
    case SlotKind::keyboard:
    case SlotKind::std_in:
      RUN_Error(errcode::kFileReadOnly);
  }
}

void IO_WrCh(char ch) {
  const Slot& s = slot_ref(g_out);
  if (s.kind == SlotKind::screen || s.kind == SlotKind::std_out)
    IO_WrChCon(ch);
  else
    IO_WrStr(std::string_view(&ch, 1));
}

void IO_Nl() { IO_WrCh('\n'); }

std::optional<std::string> IO_RdLine() {
  Slot& s = slot_ref(g_in);
  if ((s.kind == SlotKind::keyboard || s.kind == SlotKind::std_in) && g_layer_running)
    RUN_Error(errcode::kKeyboardInWindows);
  if (!s.can_read()) RUN_Error(errcode::kFileNotOpen);
  std::string line;
  for (;;) {
    if (s.use != BufferUse::reading || s.next == s.fill) {
      if (!refill(s)) {
        if (line.empty()) return std::nullopt;
        return line;
      }
    }
    const char* p = s.buf.get() + s.next;
    const std::size_t avail = s.fill - s.next;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', avail));
    const std::size_t take = lf ? static_cast<std::size_t>(lf - p) : avail;
    append_line_bytes(line, p, take, s.text);
    if (lf) {
      s.next += take + 1;
      return line;
    }
    s.next = s.fill;
  }
}

std::string IO_RdFile(std::string_view file_name) {
  std::string out = RUN_ReadFileBytes(file_name, FileExtent::as_opened);
  out.erase(std::remove(out.begin(), out.end(), '\r'), out.end());
  return out;
}

std::optional<std::string> IO_RdFileBytes(std::string_view file_name, std::size_t max_bytes) {
  return RUN_ReadFileBytes(file_name, FileExtent::to_end, max_bytes);
}

void IO_SetLayerRunning(bool running) { g_layer_running = running; }
bool IO_LayerRunning() { return g_layer_running; }

void IO_InitFiles() {
  slots();
  g_out = IO_Screen;
  g_in = IO_Keyboard;
}

void IO_EndFiles() {
  std::fflush(stdout);
  std::fflush(stderr);
  std::exception_ptr first;
  auto& t = slots();
  for (std::size_t i = IO_Stderr; i < t.size(); ++i) {
    if (t[i].state == SlotState::closed) continue;
    try {
      IO_Close(static_cast<int>(i + 1));
    } catch (const RunError&) {
      if (!first) first = std::current_exception();
    }
  }
  g_out = IO_Screen;
  g_in = IO_Keyboard;
  if (first) std::rethrow_exception(first);
}
