#pragma once
// The About box: the plug-in's name, what it does, and the maker's web host.
#include "FilterRecord.h"

namespace relief {

// Text and caption of the About box.
extern const char kAboutText[];
extern const char kAboutCaption[];

// Shows the About box, owned by the host's window when the record names one.
int16_t ShowAbout(const AboutRecordView* about);

}  // namespace relief
