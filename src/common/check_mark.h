#pragma once

namespace krinu {

// What a check shows on its button: the help glyph until it ran, then pass or fail.
enum class CheckMark { Help, Passed, Failed };

}  // namespace krinu
