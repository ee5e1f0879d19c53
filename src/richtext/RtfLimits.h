#pragma once

// Bounds the reader holds hostile or broken RTF to. Real documents stay far
// inside them; past them the reader keeps going and keeps the text, it only
// stops remembering more structure.

namespace corvadel::richtext::detail {

// Nested groups that get their own formatting state. Deeper groups share the
// state of the deepest one kept (word processors nest a few dozen at most).
inline constexpr int kMaxGroupDepth = 256;

// Entries kept from the font, colour and list tables, and their sizes.
inline constexpr int kMaxFonts = 2048;
inline constexpr int kMaxFontNameLength = 128;
inline constexpr int kMaxColors = 2048;
inline constexpr int kMaxLists = 1024;
inline constexpr int kMaxListOverrides = 1024;
inline constexpr int kMaxListLevels = 9;
inline constexpr int kMaxLevelTextLength = 64;
inline constexpr int kMaxNumberAffixLength = 16;

// Items in one list. Adding an item costs QTextList time in proportion to its
// size, so one endless list would take quadratic time; past this many items a
// list goes on as a new one (its numbers start again).
inline constexpr int kMaxListItems = 1000;

// Numeric parameters are clamped to 32 bits by the lexer; these clamp them
// further to what a document can sensibly use.
inline constexpr int kMaxUnicodeSkip = 16;        // \ucN
inline constexpr int kMaxHalfPoints = 3276;       // \fsN: 1638 pt
inline constexpr int kMaxTwips = 31680;           // 22 inches, any indent

} // namespace corvadel::richtext::detail
