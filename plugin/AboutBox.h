#pragma once
// The About box: the plug-in's name, what it does, and the maker's web host.
#include <cstdint>

namespace relief {

// Text and caption of the About box.
extern const char kAboutText[];
extern const char kAboutCaption[];

// Shows the About box, owned by the host's window `owner` (0: none).
int16_t ShowAbout(intptr_t owner);

}  // namespace relief
