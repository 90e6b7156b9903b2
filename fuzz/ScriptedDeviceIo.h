#pragma once

#include <cstddef>
#include <cstdint>

// The bridge library's report I/O for the fuzzer: every write is taken, and
// every read hands out the next 64 bytes of the fuzzer's input as the chip's
// response; past the end of the input the chip answers no more.
namespace fuzzio {

void SetResponses(const std::uint8_t* data, std::size_t size);

// Output reports written since SetResponses.
std::size_t WrittenReports();

} // namespace fuzzio
