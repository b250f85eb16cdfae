#pragma once
// Unpacks a zlib stream (RFC 1950 around RFC 1951 deflate data) into a
// buffer the caller owns. No system calls.
#include <cstddef>
#include <cstdint>

// Writes at most capacity bytes to out and stores how many in *written.
// Returns true only for a complete, well-formed stream whose Adler-32
// checksum matches and whose data fit: a truncated, malformed or oversized
// stream returns false (what was written so far is not to be used).
bool InflateZlib(const std::uint8_t* in, std::size_t size, std::uint8_t* out, std::size_t capacity,
                 std::size_t* written);
