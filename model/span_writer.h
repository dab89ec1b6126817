// Writing the spans of one block in the text format's inline mark-up.
#pragma once

#include "model/model_view.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace qorva {

// How the start of the written text is read back: as running text only, as the start of
// a paragraph (where "[x]: ", "* ", "> ", "$$" and "![](<x>)" would begin other blocks),
// or as the text of an underlined heading (where definitions, images and "$$" would).
enum class TextStart { Running, Paragraph, Heading };

// Writes the spans of `block` from span index `first` on. With `escape` every character
// the span's kind lists gets a backslash. Without it a backslash goes only where the
// reader would otherwise take a character as mark-up (or pair a backslash with the
// next character), so ordinary text stays as typed.
// Spans from `end` on are left out.
std::string writeSpans(const ModelView& doc, const ModelBlock& block, std::size_t first, bool escape,
                       TextStart start, std::size_t end = SIZE_MAX);

// The link from span `first` (its text's first span, or a "url" of its own) to `end` (after
// its target and title) that stands whole in emphasis or strong emphasis, as a part of
// that style's run: every star escaped, the parts of its text in a style around it as text.
std::string writeOuterLink(const ModelView& doc, const ModelBlock& block, std::size_t first, std::size_t end);

}  // namespace qorva
