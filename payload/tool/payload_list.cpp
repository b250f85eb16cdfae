// payload-list: the build's one reader of payload lists. It checks a list
// against the installer's own rules (the name encoding and decoding, the
// preset kinds) and writes the payload resources as a resource script; it
// also tells what the installer makes of a resource name.
//
//   payload-list rc [--no-notes] LIST PLUGIN_X86 PLUGIN_X64 OUT.rc [DEPFILE]
//   payload-list describe        lines "TYPE<TAB>NAME" on stdin
//   payload-list encode NAME...
//   payload-list types           the payload's resource types, "TYPE<TAB>HOLDS"
//
// A list has one resource a line, TYPE<TAB>NAME<TAB>SOURCE; blank lines and
// lines that begin with # are left out.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "payload/PayloadResourceTypes.h"
#include "payload/PresetKinds.h"
#include "payload/ResourceName.h"
#include "payload/ResourceNameEncode.h"

namespace {

constexpr int kTypeCount = static_cast<int>(sizeof kPayloadResourceTypes / sizeof kPayloadResourceTypes[0]);

// A type as the list and the resource script write it: "3000".
std::string TypeText(int index) { return std::to_string(kPayloadResourceTypes[index].id); }

struct Entry {
  int line;
  int type;  // index into kPayloadResourceTypes
  std::string name;
  std::string resourceName;
  std::string source;  // as written
  std::string path;    // resolved
  const PresetKind* preset;
  // Where the installer meets it: kept in the list's order, or moved ahead
  // of an earlier line (aheadOf, an index into the list's entries) because
  // no resource name for it sorts after that line's.
  bool kept = true;
  int aheadOf = -1;
  NameProblem whyMoved = NameProblem::None;
};

class ListChecker {
 public:
  ListChecker(std::string list, std::string plugin32, std::string plugin64)
      : list_(std::move(list)), plugin32_(std::move(plugin32)), plugin64_(std::move(plugin64)) {
    const std::size_t slash = list_.rfind('/');
    folder_ = slash == std::string::npos ? "." : list_.substr(0, slash == 0 ? 1 : slash);
    // Sources are named to windres by absolute paths: it runs in another folder.
    if (char* absolute = realpath(folder_.c_str(), nullptr)) {
      folder_ = absolute;
      std::free(absolute);
    }
  }

  // Reads and checks the list; notes says whether moved lines are noted.
  bool Read(bool notes) {
    FILE* in = std::fopen(list_.c_str(), "rb");
    if (!in) {
      std::fprintf(stderr, "%s: cannot read the payload list: %s\n", list_.c_str(), std::strerror(errno));
      return false;
    }
    std::string text;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) text.append(chunk, n);
    const bool failed = std::ferror(in);
    std::fclose(in);
    if (failed) {
      std::fprintf(stderr, "%s: cannot read the payload list\n", list_.c_str());
      return false;
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    int number = 0;
    for (std::size_t at = 0; at < text.size();) {
      std::size_t end = text.find('\n', at);
      if (end == std::string::npos) end = text.size();
      std::string line = text.substr(at, end - at);
      at = end + 1;
      ++number;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
      CheckLine(number, line);
    }
    if (entries_.empty() && errors_ == 0) {
      std::fprintf(stderr, "%s: the payload list names no resource\n", list_.c_str());
      ++errors_;
    }
    if (errors_ == 0 && notes) NoteMoves();
    return errors_ == 0;
  }

  const std::vector<Entry>& entries() const { return entries_; }

 private:
  void Fail(int line, const std::string& what) {
    std::fprintf(stderr, "%s:%d: %s\n", list_.c_str(), line, what.c_str());
    ++errors_;
  }

  static std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
      const std::size_t tab = line.find('\t', at);
      fields.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
      if (tab == std::string::npos) return fields;
      at = tab + 1;
    }
  }

  // A name as a message shows it: a long one cut after its first 40 characters.
  static std::string Shown(const std::string& name) {
    return "\"" + (name.size() > 60 ? name.substr(0, 40) + "..." : name) + "\"";
  }

  static std::string Folded(const std::string& name) {
    std::string folded = name;
    for (char& c : folded)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return folded;
  }

  void CheckLine(int line, const std::string& text) {
    const std::vector<std::string> fields = Split(text);
    if (fields.size() != 3) {
      std::string what = "expected 3 fields (TYPE, NAME, SOURCE) separated by TAB characters, found " +
                         std::to_string(fields.size());
      if (fields.size() == 1 && text.find(' ') != std::string::npos) what += "; spaces do not separate fields";
      Fail(line, what);
      return;
    }
    Entry e{line, -1, fields[1], "", fields[2], "", nullptr};
    std::string known;
    for (int t = 0; t < kTypeCount; ++t) {
      if (fields[0] == TypeText(t)) e.type = t;
      known += std::string(t == 0 ? "" : t + 1 == kTypeCount ? " or " : ", ") + TypeText(t) + " (" +
               kPayloadResourceTypes[t].holds + ")";
    }
    if (e.type < 0) {
      Fail(line, "unknown type \"" + fields[0] + "\": use " + known);
      return;
    }
    bool ok = CheckName(e);
    ok = CheckSource(e) && ok;
    if (!ok) return;
    CheckOrder(e);
    entries_.push_back(e);
  }

  bool CheckName(Entry& e) {
    char encoded[kResourceNameCapacity];
    NameEncoding r = EncodeResourceName(e.name.c_str(), encoded, sizeof encoded);
    if (r.problem != NameProblem::None) {
      std::string what = "name " + Shown(e.name) + " cannot be encoded: " + DescribeNameProblem(r.problem);
      if (r.position >= 0) {
        const unsigned char c = static_cast<unsigned char>(e.name[static_cast<std::size_t>(r.position)]);
        char at[64];
        std::snprintf(at, sizeof at, " (character %d, code 0x%02X)", r.position + 1, c);
        what += at;
      }
      if (r.problem == NameProblem::TooLong) what += " (it needs " + std::to_string(r.length) + ")";
      Fail(e.line, what);
      return false;
    }
    e.resourceName = encoded;
    e.preset = FindPresetKind(e.name.c_str());
    for (const Entry& other : entries_) {
      if (other.type != e.type) continue;
      if (Folded(other.name) == Folded(e.name)) {
        Fail(e.line, "name \"" + e.name + "\" is the same file as \"" + other.name + "\" of line " +
                         std::to_string(other.line) + " in type " + TypeText(e.type) +
                         " (Windows does not tell file names apart by letter case)");
        return false;
      }
      if (e.preset && other.preset == e.preset) {
        Fail(e.line, "preset block \"" + e.name + "\" writes the same registry values as \"" + other.name +
                         "\" of line " + std::to_string(other.line) + " in type " + TypeText(e.type) + " (" +
                         e.preset->valuePrefix + "01 and on under HKEY_CURRENT_USER\\" + e.preset->key + ")");
        return false;
      }
    }
    return true;
  }

  bool CheckSource(Entry& e) {
    if (e.source.empty()) {
      Fail(e.line, "no source given");
      return false;
    }
    if (e.source == "@PLUGIN_X86@") {
      e.path = plugin32_;
    } else if (e.source == "@PLUGIN_X64@") {
      e.path = plugin64_;
    } else if (e.source.size() > 1 && e.source.front() == '@' && e.source.back() == '@') {
      Fail(e.line, "unknown placeholder \"" + e.source + "\": use @PLUGIN_X86@ or @PLUGIN_X64@");
      return false;
    } else {
      e.path = e.source[0] == '/' ? e.source : folder_ + "/" + e.source;
    }
    if (e.path.find_first_of("\"\n") != std::string::npos) {
      Fail(e.line, "source \"" + e.source + "\": a path with a double quote cannot be named in a resource script");
      return false;
    }
    const std::string shown = "source \"" + e.source + "\"" + (e.path == e.source ? "" : " (" + e.path + ")");
    struct stat info;
    if (stat(e.path.c_str(), &info) != 0) {
      Fail(e.line, "cannot read " + shown + ": " + std::strerror(errno));
      return false;
    }
    if (!S_ISREG(info.st_mode)) {
      Fail(e.line, "cannot read " + shown + ": not a file");
      return false;
    }
    FILE* in = std::fopen(e.path.c_str(), "rb");
    if (!in) {
      Fail(e.line, "cannot read " + shown + ": " + std::strerror(errno));
      return false;
    }
    unsigned long long size = 0;
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, in)) > 0) size += n;
    const bool failed = std::ferror(in);
    const int error = errno;
    std::fclose(in);
    if (failed) {
      Fail(e.line, "cannot read " + shown + ": " + std::strerror(error));
      return false;
    }
    if (size == 0) {
      Fail(e.line, shown + " is empty; an empty resource stops the installer before the rest of its type");
      return false;
    }
    const PresetKind* kind = FindPresetKind(e.name.c_str());
    if (kind && !PresetBlockComplete(*kind, size)) {
      Fail(e.line, "preset block \"" + e.name + "\" (" + kind->marker + ": " + std::to_string(kind->recordCount) +
                       " records of " + std::to_string(kind->recordSize) + " bytes) needs " +
                       std::to_string(PresetBlockBytes(*kind)) + " bytes; " + shown + " holds " + std::to_string(size));
      return false;
    }
    return true;
  }

  // Encodes e's name into e.resourceName so that it sorts after `after`;
  // false (and e unchanged) when no such name exists.
  static bool EncodeAfter(Entry& e, const std::string& after, NameProblem* problem) {
    char encoded[kResourceNameCapacity];
    const NameEncoding r = EncodeResourceName(e.name.c_str(), encoded, sizeof encoded, after.c_str());
    if (r.problem != NameProblem::None) {
      *problem = r.problem;
      return false;
    }
    e.resourceName = encoded;
    return true;
  }

  // The installer meets the resources of a type in the order of their names.
  // Where the shortest name would change the list's order, a longer one that
  // decodes the same keeps it. Where no name can, the entry is moved: it goes
  // as late as names allow, after as many of the lines kept in order as it
  // can, and after the lines moved to the same place before it where it can.
  // What the user gets is the same in any order.
  void CheckOrder(Entry& e) {
    std::vector<int> chain;  // the type's lines kept in order, ascending names
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].type == e.type && entries_[i].kept) chain.push_back(static_cast<int>(i));
    if (chain.empty() || e.resourceName > entries_[chain.back()].resourceName) return;
    NameProblem problem = NameProblem::None;
    if (EncodeAfter(e, entries_[chain.back()].resourceName, &problem)) return;

    e.kept = false;
    for (int link = static_cast<int>(chain.size()) - 1; link >= 0; --link) {
      // No name sorts after chain[link]; the latest place left is after
      // chain[link - 1] (or first of all), and lines moved there earlier
      // come first where names allow it.
      e.aheadOf = chain[static_cast<std::size_t>(link)];
      e.whyMoved = problem;
      const std::string floor = link > 0 ? entries_[chain[static_cast<std::size_t>(link - 1)]].resourceName : "";
      std::string movedThere = floor;
      for (const Entry& other : entries_)
        if (other.type == e.type && !other.kept && other.aheadOf == e.aheadOf && other.resourceName > movedThere)
          movedThere = other.resourceName;
      NameProblem ignored;
      if (movedThere != floor && EncodeAfter(e, movedThere, &ignored)) return;
      if (link == 0 || EncodeAfter(e, floor, &problem)) return;  // first of all: the shortest name
    }
  }

  // One note a moved line: the build goes on.
  void NoteMoves() const {
    const std::string shortEnough = "shorter than " + std::to_string(kResourceNameCapacity) + " characters ";
    for (const Entry& e : entries_) {
      if (e.kept) continue;
      const Entry& ahead = entries_[static_cast<std::size_t>(e.aheadOf)];
      std::fprintf(stderr,
                   "%s:%d: note: type %s writes \"%s\" before \"%s\" of line %d, out of the list's order: "
                   "no resource name for it %ssorts after \"%s\"\n",
                   list_.c_str(), e.line, TypeText(e.type).c_str(), e.name.c_str(), ahead.name.c_str(), ahead.line,
                   e.whyMoved == NameProblem::TooLong ? shortEnough.c_str() : "", ahead.resourceName.c_str());
    }
  }

  std::string list_, plugin32_, plugin64_, folder_;
  std::vector<Entry> entries_;
  int errors_ = 0;
};

// Make's depfile syntax: spaces, # and $ escaped.
std::string DepPath(const std::string& path) {
  std::string out;
  for (char c : path) {
    if (c == ' ' || c == '#') out += '\\';
    if (c == '$') out += '$';
    out += c;
  }
  return out;
}

bool WriteFileAtomically(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  FILE* out = std::fopen(temporary.c_str(), "wb");
  if (!out) return false;
  const bool wrote = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !wrote || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

// --no-notes: a second build of the same list (the 64-bit twin's) leaves the
// notes to the first.
int WriteResourceScript(int argc, char** argv) {
  const bool notes = !(argc > 2 && std::strcmp(argv[2], "--no-notes") == 0);
  if (!notes) {
    ++argv;
    --argc;
  }
  if (argc < 6 || argc > 7) {
    std::fprintf(stderr, "usage: payload-list rc [--no-notes] LIST PLUGIN_X86 PLUGIN_X64 OUT.rc [DEPFILE]\n");
    return 2;
  }
  const std::string list = argv[2], out = argv[5];
  ListChecker checker(list, argv[3], argv[4]);
  if (!checker.Read(notes)) {
    std::remove(out.c_str());
    std::fprintf(stderr, "%s: the payload list has errors; no payload was built\n", list.c_str());
    return 1;
  }
  std::string rc = "// Generated from " + list + " by payload-list. Each resource's name encodes\n"
                   "// the installed file name; the type says which hosts the file is for:\n";
  for (const PayloadResourceType& type : kPayloadResourceTypes)
    rc += "//   " + std::to_string(type.id) + " holds " + type.holds + "\n";
  std::string deps = DepPath(out) + ": " + DepPath(list);
  for (const Entry& e : checker.entries()) {
    // The directive between two entries also keeps windres from joining their strings.
    rc += "LANGUAGE 9, 1\n\"" + e.resourceName + "\" " + TypeText(e.type) + " \"" + e.path + "\"\n";
    deps += " \\\n  " + DepPath(e.path);
  }
  if (!WriteFileAtomically(out, rc) || (argc == 7 && !WriteFileAtomically(argv[6], deps + "\n"))) {
    std::fprintf(stderr, "%s: cannot write %s: %s\n", list.c_str(), out.c_str(), std::strerror(errno));
    std::remove(out.c_str());
    return 1;
  }
  return 0;
}

// For each "TYPE<TAB>NAME": TYPE, NAME and what the installer makes of it,
// "file<TAB>DECODED", "preset<TAB>MARKER<TAB>KEY<TAB>FIRST-LAST<TAB>BYTES" or
// "unusable<TAB>WHY".
int Describe() {
  std::string line;
  while (std::getline(std::cin, line)) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string name = line.substr(tab + 1);
    std::cout << line << '\t';
    char decoded[kResourceNameCapacity];
    bool plain = true;
    for (char c : name) plain = plain && IsPrintableAscii(c);
    if (name.size() >= sizeof decoded || !plain) {
      std::cout << "unusable\tnot a usable file name\n";
      continue;
    }
    std::memcpy(decoded, name.c_str(), name.size() + 1);
    DecodeResourceName(decoded);
    if (const PresetKind* kind = FindPresetKind(decoded)) {
      char first[64], last[64];
      FormatPresetValueName(first, sizeof first, *kind, 1);
      FormatPresetValueName(last, sizeof last, *kind, kind->recordCount);
      std::cout << "preset\t" << kind->marker << "\tHKEY_CURRENT_USER\\" << kind->key << '\t' << first << '-' << last
                << '\t' << PresetBlockBytes(*kind) << '\n';
    } else {
      std::cout << "file\t" << decoded << '\n';
    }
  }
  return 0;
}

int Encode(int argc, char** argv) {
  int failed = 0;
  for (int i = 2; i < argc; ++i) {
    char encoded[kResourceNameCapacity];
    NameEncoding r = EncodeResourceName(argv[i], encoded, sizeof encoded);
    if (r.problem == NameProblem::None) {
      std::printf("%s\t%s\n", argv[i], encoded);
    } else {
      std::printf("%s\t(none: %s)\n", argv[i], DescribeNameProblem(r.problem));
      ++failed;
    }
  }
  return failed ? 1 : 0;
}

// The payload's resource types, for scripts/payload-info: "TYPE<TAB>HOLDS"
// lines in the order it lists them.
int Types() {
  for (const PayloadResourceType& type : kPayloadResourceTypes) std::printf("%d\t%s\n", type.id, type.holds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "rc") return WriteResourceScript(argc, argv);
  if (command == "describe") return Describe();
  if (command == "encode") return Encode(argc, argv);
  if (command == "types") return Types();
  std::fprintf(stderr,
               "usage: payload-list rc [--no-notes] LIST PLUGIN_X86 PLUGIN_X64 OUT.rc [DEPFILE]\n"
               "       payload-list describe < TYPE<TAB>NAME lines\n"
               "       payload-list encode FILE-NAME...\n"
               "       payload-list types\n");
  return 2;
}
