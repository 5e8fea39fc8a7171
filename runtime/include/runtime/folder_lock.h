// The lock of a catalogue folder: one lock file beside the catalogue's files, locked with an
// fcntl record lock, so that the desks (processes, on this computer or others sharing the folder)
// that change the catalogue take turns. A lock is a value: it is held while the value lives and
// released when it goes; the system releases it when the holding process ends in any way.
//
// What it promises:
// - Exclusive holders exclude every other holder; shared holders exclude only exclusive ones.
//   Where the host has open-file-description locks, two locks taken in one process exclude each
//   other like locks of two processes; on a host without them (classic fcntl locks, used only
//   there) the locks of one process never exclude each other.
// - A process that ends, also by SIGKILL or a crash, frees its lock at once; the system does it.
// - Network shares: on NFS the lock is the server's (NFSv4, or the lock manager of NFSv3), so it
//   holds between computers.
// What it does not promise:
// - It is advisory: it binds only processes that take it. A person editing a file by hand, or
//   another program, is not stopped (the catalogue's file identities, runtime/file_identity.h,
//   tell that a file changed).
// - A share mounted without locks between computers (NFS with "nolock"/"local_lock", SMB/CIFS
//   with "nobrl") locks only on its own computer; a share whose server has no lock service fails
//   with the host's error (ENOLCK). A computer that loses its connection to the server may lose
//   its lock when the server's lease ends (NFSv4, about 90 s) without being told.
// - A holder that is stopped (SIGSTOP, a debugger) or hangs keeps the lock; waiting for it ends
//   by the timeout. A share whose server does not answer makes the host's calls wait, as every
//   access to it does.
// - A child made by fork without exec shares the lock of its parent's open lock file; the lock
//   file is closed on exec, so a started program never holds it.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The lock file's name in the catalogue folder. It is hidden, created when missing (writable by
// whoever may write in the folder) and never deleted: deleting it would let two desks lock two
// different files of one name. Its contents are nothing; a backup copy leaves it out.
inline constexpr std::string_view RUN_FolderLockFileName = ".foliarkh.lock";

// What a lock excludes.
enum class FolderLockMode {
  exclusive,  // a writer: no other holder at the same time
  shared,     // a reader: other readers may hold it too, writers wait
};

// A held lock of a catalogue folder; move-only. Destroying it (or unlock()) releases the lock.
class FolderLock {
 public:
  FolderLock(FolderLock&& other) noexcept;
  FolderLock& operator=(FolderLock&& other) noexcept;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();

  // Releases the lock now (it is no longer held afterwards); nothing when already released.
  void unlock() noexcept;
  bool held() const noexcept { return fd_ >= 0; }
  FolderLockMode mode() const noexcept { return mode_; }

 private:
  friend std::optional<FolderLock> RUN_LockFolder(std::string_view, FolderLockMode, std::chrono::milliseconds,
                                                  const std::function<void()>&);
  FolderLock(int fd, FolderLockMode mode) noexcept : fd_(fd), mode_(mode) {}

  int fd_ = -1;  // the open lock file, whose whole length the lock covers
  FolderLockMode mode_ = FolderLockMode::exclusive;
};

// How often RUN_LockFolder runs its waiting callback.
inline constexpr std::chrono::milliseconds RUN_FolderLockCallbackPeriod{50};

// Takes the lock of the catalogue folder `folder` (code page 1251; empty: the current directory)
// in `mode`, creating the lock file when it is missing. When another holder has it, waits up to
// `timeout` (0: only tries) and fails (nullopt) when it is still held then. While waiting,
// `on_wait` (when given) runs about every RUN_FolderLockCallbackPeriod, first right after the
// first refused try: the program processes its events there. A lock freed while waiting is taken
// within about 10 ms.
// Raises 7000 + errno, without waiting, when the folder is missing or not a folder, the lock file
// cannot be made or opened (a read-only folder, say: an exclusive lock needs the file opened for
// writing), or the host refuses the lock itself (ENOLCK on a share without locks); an error of
// on_wait goes on to the caller, and nothing is held then. `on_wait` must not wait for the lock of
// the same folder: with the host's open-file-description locks that waits for itself.
std::optional<FolderLock> RUN_LockFolder(std::string_view folder, FolderLockMode mode,
                                         std::chrono::milliseconds timeout,
                                         const std::function<void()>& on_wait = {});
