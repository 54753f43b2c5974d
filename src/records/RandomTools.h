#pragma once

#include <cstdint>
#include <string>

namespace kesmaro {

class RandomGenerator;
struct Program;

// low + the whole part of (a uniform draw in [0, 1) × range): low to low + range − 1.
std::int32_t RandomInt(RandomGenerator& random, std::int32_t range, std::int32_t low);

// The numbers low to high in random order as the log shows them: a header line, then rows of
// `perLine` numbers in 5-character fields, each row indented by `indent` blanks.
std::string RandomSequence(RandomGenerator& random, std::int32_t high, std::int32_t low,
                           std::int32_t perLine, std::int32_t indent);

// The Tools menu: one random number up to a bound asked for, and a random permutation of as
// many numbers as asked for, written into txtLog. A cancelled dialog writes nothing.
void menuRandomOne_Click(Program& p);
void menuRandomSome_Click(Program& p);

} // namespace kesmaro
