// The process the save crash test kills: it writes a catalogue of catalogue records, saves it
// again and again until it is killed, and checks what a killed run left.
//
//   save_crash_worker prepare <dir> <records>   writes "Литература1.pbs" with the records
//   save_crash_worker save <dir> <records>      saves the records plus one changing record, in a loop
//   save_crash_worker check <dir> <records>     prints "<lost> <unreadable> <leftovers>": records
//                                               missing from the file, 1 when it does not load,
//                                               and the temporaries of the file left in <dir>
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/codepage.h"
#include "runtime/fact_file.h"
#include "runtime/fact_store.h"
#include "runtime/host_path.h"
#include "runtime/run_error.h"
#include "runtime/value_type.h"

namespace {

const std::string kFile = "Литература1.pbs";  // the host's form

struct Catalogue {
  FactSection s;
  std::size_t kind = s.add_kind("база_лит"_cps, {&scalar_type(TypeCode::Integer), &scalar_type(TypeCode::String),
                                                 &scalar_type(TypeCode::String), &scalar_type(TypeCode::String),
                                                 &scalar_type(TypeCode::String), &scalar_type(TypeCode::Integer),
                                                 &scalar_type(TypeCode::Integer), &scalar_type(TypeCode::String)});

  Term record(long code, const std::string& title) const {
    return Term::compound(static_cast<std::uint32_t>(kind),
                          {code, "Автор "_cps + std::to_string(code), title, "Проза"_cps, "Роман"_cps, code % 2, 1,
                           "обложка"_cps + std::to_string(code) + ".bmp"});
  }
  Term original(long code) const { return record(code, "Название "_cps + std::to_string(code)); }
};

int usage() {
  std::fprintf(stderr, "usage: save_crash_worker prepare|save|check <dir> <records>\n");
  return 2;
}

int leftovers(const std::string& dir) {
  int n = 0;
  if (DIR* d = ::opendir(dir.c_str())) {
    const std::string prefix = kFile + ".tmp-";
    while (const dirent* e = ::readdir(d))
      if (std::string(e->d_name).rfind(prefix, 0) == 0) ++n;
    ::closedir(d);
  }
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return usage();
  const std::string mode = argv[1], dir = argv[2];
  const long records = std::atol(argv[3]);
  const std::string file = RUN_FromHostPath(dir + "/" + kFile);
  Catalogue c;
  try {
    if (mode == "prepare" || mode == "save") {
      for (long code = 1; code <= records; ++code) RNT_Assertz(c.s, c.original(code));
      if (mode == "prepare") {
        RNT_Save(c.s, file);
        return 0;
      }
      RNT_Asserta(c.s, c.record(records + 1, "0"));
      for (long round = 1;; ++round) {
        RNT_Save(c.s, file);
        (void)RNT_RetractDeterm(c.s, c.kind);  // the front record: the changing one
        RNT_Asserta(c.s, c.record(records + 1, std::to_string(round)));
      }
    }
    if (mode != "check") return usage();
  } catch (const RunError& e) {
    std::fprintf(stderr, "save_crash_worker: run-time error %d\n", e.code());
    return 1;
  }
  long lost = 0;
  int unreadable = 0;
  try {
    RNT_Consult(c.s, file);
    std::vector<bool> seen(static_cast<std::size_t>(records) + 1);
    for (const Term& t : c.s.facts(c.kind)) {
      const std::int64_t code = t.args()[0].as_int();
      if (code >= 1 && code <= records && t == c.original(code)) seen[static_cast<std::size_t>(code)] = true;
    }
    for (long code = 1; code <= records; ++code) lost += seen[static_cast<std::size_t>(code)] ? 0 : 1;
  } catch (const RunError&) {
    unreadable = 1;
  }
  std::printf("%ld %d %d\n", lost, unreadable, leftovers(dir));
  return 0;
}
