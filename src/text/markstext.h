#pragma once

#include <QString>

namespace text {

// A mark or score as a learner reads it: rounded to two decimals, trailing zeros dropped, a whole
// number without a decimal point ("20", "12.5", "26.66"). Marks are whole numbers, sub-item shares
// of two decimals or case marks of one, so two decimals hold every value a sum of them can take and
// hide the binary noise of the sum (26.659999999999997).
QString marksText(double marks);

} // namespace text
