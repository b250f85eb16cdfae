// A registry string on its way to the drop-down: the value test, the
// normalisation of a verified folder and the command-line reduction never
// write past their buffers, and what the normalisation accepts has one form.
#include <cstdlib>
#include <cstring>
#include <string>

#include "discovery/CandidateForm.h"
#include "discovery/CommandLineFolder.h"
#include "discovery/PathRules.h"
#include "discovery/PluginFolderValue.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzText folder(data, size, 400);
  if (NormaliseCandidate(folder.text(), 400)) {
    const std::string once = folder.text();
    if (once.empty() || once.back() != '\\') std::abort();
    if (once.size() + std::strlen(kMakerFolderSuffix) >= static_cast<std::size_t>(kPathCapacity)) std::abort();
    // A normalised folder keeps its form, unless a "mire" after a backslash
    // appeared only through the re-casing (it cannot: the cut is case-blind).
    FuzzText again(reinterpret_cast<const std::uint8_t*>(once.c_str()), once.size() + 1, 400);
    if (!NormaliseCandidate(again.text(), 400) || once != again.text()) std::abort();
  }
  folder.CheckBounds();

  // The same bytes as a value's data, name and key path.
  FuzzText keyPath(data, size, 400);
  FuzzText name(data, size, 256);
  FuzzText value(data, size, 256);
  if (IsPluginFolderValue(keyPath.text(), name.text(), value.text(), "") && value.text()[1] != ':') std::abort();
  keyPath.CheckBounds();
  name.CheckBounds();
  value.CheckBounds();

  FuzzText command(data, size, 400);
  if (FolderFromCommandLine(command.text()) && command.text()[1] != ':') std::abort();
  command.CheckBounds();
  FuzzText joined(data, 0, 400);
  JoinPath(joined.text(), 400, "plug-ins", command.text()[0] ? command.text() : nullptr);
  joined.CheckBounds();
  return 0;
}
