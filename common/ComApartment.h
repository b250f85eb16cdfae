#pragma once
// The GUI thread joins a single-threaded COM apartment the first time
// something needs one (the folder browser, the help page, the object handed
// to assistive technology), so that COM and its libraries are loaded only by
// a user who uses them. Joined once, here, and left once, at exit.

// True when the thread is in a single-threaded apartment.
bool JoinComApartment();

// Leaves the apartment at exit when JoinComApartment entered it.
void LeaveComApartment();
