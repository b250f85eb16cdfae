#pragma once
// What the elevated installer does first, before any library is loaded on
// demand: libraries come from the system folder only, and the process
// takes the protections that the system offers. Every call is looked up at
// run time, since older systems lack some of them.

void HardenProcess();
