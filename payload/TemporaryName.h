#pragma once
// The name under which a payload file is written before it is moved over its
// destination: the destination's name, a dot, 16 hexadecimal digits of a
// random number and ".tmp", in the same folder. Drawn afresh for every
// attempt, so that nobody can place a link at it beforehand.
#include <cstddef>
#include <cstdint>

// Characters the name adds to the destination's.
constexpr std::size_t kTemporarySuffixLength = 21;

// Attempts with fresh names before a folder counts as one that cannot be
// written safely: a name is taken only when something already has it.
constexpr int kTemporaryNameAttempts = 8;

// Writes the name into out (capacity characters, terminator included); false,
// with out left untouched, when it does not fit.
bool ComposeTemporaryName(char* out, std::size_t capacity, const char* destination, std::uint64_t random);
