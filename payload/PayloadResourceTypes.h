#pragma once
// The resource types that carry the payload, one table for every reader: the
// installer enumerates them, payload-list writes them (and prints the table
// for scripts/payload-info with "payload-list types").

constexpr int kPayload32 = 3000;  // files for 32-bit hosts
constexpr int kPayload64 = 3001;  // files for 64-bit hosts

struct PayloadResourceType {
  int id;
  const char* holds;
};

// In the order payload-info lists them.
constexpr PayloadResourceType kPayloadResourceTypes[] = {
    {kPayload32, "files for 32-bit hosts"},
    {kPayload64, "files for 64-bit hosts"},
};
