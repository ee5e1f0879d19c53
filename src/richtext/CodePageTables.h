#pragma once

namespace corvadel::richtext::detail {

// The characters of bytes 0x80-0xFF in a single-byte code page (the lower
// half is ASCII in all of them), or nullptr when the page is not one we carry.
const char16_t *singleByteUpperHalf(int codePage);

} // namespace corvadel::richtext::detail
