#pragma once

#include <QChar>

namespace tarvin {

// The process-wide decimal separator used to read and write fractional numbers. It starts as
// the desktop locale's; viewer mode sets it to "." because message files write ".".
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);

} // namespace tarvin
