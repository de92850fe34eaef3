#pragma once

#include <QString>

namespace kvo {

class RecordSet;

// The text of the current row from which its integrity digest is computed:
// every field that is not calculated, in field order, as "NAME=value" joined
// by "|". Values: texts as stored (trailing blanks removed), integers in
// decimal, amounts with "." and four decimals, dates "yyyy-MM-dd", date-times
// "yyyy-MM-dd HH:mm:ss", empty for null. The same row always gives the same
// text, whatever the machine's locale.
QString RegistroTextoDataSet(const RecordSet& rs);

} // namespace kvo
