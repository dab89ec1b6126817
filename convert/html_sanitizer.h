// Raw HTML from a document, made safe to put into an exported page: nothing in it
// may run script or load code. It is parsed as a browser parses it (an HTML5
// parser), and written back without scripts, frames, plugins, forms' targets,
// event attributes, links and sources whose scheme is not one an exported link may
// use, styles that load anything, comments, and raw-text or foreign (SVG, MathML)
// elements whose parsing could differ from one browser to the next.
#pragma once

#include <string>
#include <string_view>

namespace qorva::convert {

// `html` is a fragment as it stands inside a page's body. What is kept is written
// as it was written (tags, attributes, entities) unless something had to be removed
// from it; elements left open are closed, so the result never swallows what
// follows it. Unknown elements lose their tags and keep their content. A fragment
// nested hundreds deep or with hundreds of attributes on a tag, which would take
// the parser minutes, is written as text instead.
std::string sanitizeHtml(std::string_view html);

}  // namespace qorva::convert
