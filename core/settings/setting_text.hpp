#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace zvkob {

// The text form of stored values. Ticks are "0" or "1"; positions and sizes in
// twips are the shortest decimal text that reads back as the same
// single-precision number ("1000", "-1500", "1234.5").

std::string tick_text(int tick);
std::string twips_text(float twips);

// A tick read back as a 16-bit integer; only 0 and 1 are ticks. Anything else
// (not a number, out of range, another number) gives no value.
std::optional<int> parse_tick(std::string_view text);

// A position in twips: any finite single-precision number.
std::optional<float> parse_position(std::string_view text);

// A size in twips: a finite single-precision number above zero.
std::optional<float> parse_size(std::string_view text);

}  // namespace zvkob
