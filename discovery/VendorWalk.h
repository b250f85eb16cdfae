#pragma once
// Depth-first walk over one vendor's registry subtree, in HKEY_CURRENT_USER
// and then HKEY_LOCAL_MACHINE, handing every value that holds a plug-in
// folder to AddCandidate.

constexpr int kKeyPathCapacity = 400;
constexpr int kFoundAtCapacity = 400;

// Walks root\vendor (lower case, for example "software", "adobe") and takes
// the values under keys whose path contains hostWord ("" for every key).
// Keys are entered down to 19 levels below root\vendor; a key whose path
// would not fit kKeyPathCapacity is passed over with everything below it.
void WalkVendorTree(const char* root, const char* vendor, const char* hostWord);
