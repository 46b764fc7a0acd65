#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvik {

// C0 controls (line feed and carriage return among them), DEL and the C1 controls.
[[nodiscard]] bool IsControlCharacter(wchar_t c);

// The text as one line: every control character and every line or paragraph separator becomes a
// blank, so it can neither end a line nor begin one.
[[nodiscard]] std::wstring OneLineText(std::wstring_view text);

// Text from outside the program (a network answer) made fit for a list, a log or a file: control
// characters, line and paragraph separators and the characters that turn the direction of text
// (embeddings, overrides, isolates, marks) are removed, half of a surrogate pair without its other
// half too, and it is cut after `most` characters, never inside a pair.
[[nodiscard]] std::wstring UntrustedText(std::wstring_view text, size_t most);

}  // namespace tarvik
