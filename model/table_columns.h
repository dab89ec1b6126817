// A table's column alignments and relative widths, as the model's "align" and
// "widths" attributes on the table's first "row" block say them (model/README.md).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorva {

// One letter per column: 'l'eft, 'c'entre, 'r'ight or 'd'efault. Any other letter
// reads as 'd'.
std::vector<char> readColumnAlignments(std::string_view align);

// Space-separated widths, one per column: each a finite number from 0 (the default
// width) up, a share of the line. Text that is not such a list says nothing: empty.
std::vector<double> readColumnWidths(std::string_view widths);

// The attribute texts; "" when every column is at its default, so tables without
// them keep their model.
std::string columnAlignmentsText(const std::vector<char>& align);
std::string columnWidthsText(const std::vector<double>& widths);

// The shortest decimal that reads back as exactly this number ("0.25", "1e-05").
std::string widthText(double width);

// Entry k of either list, the default past its end.
inline char alignmentAt(const std::vector<char>& align, std::size_t k) { return k < align.size() ? align[k] : 'd'; }
inline double widthAt(const std::vector<double>& widths, std::size_t k) { return k < widths.size() ? widths[k] : 0.0; }

}  // namespace qorva
