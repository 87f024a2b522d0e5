#pragma once

#include <QChar>

namespace tarvin {

// The process-wide decimal separator used to read and write fractional numbers in message
// files. It is "." in every mode, whatever the desktop's locale: message files always write
// "." (the locale only shapes texts the user reads, such as dates).
QChar DecimalSeparator();
void SetDecimalSeparator(QChar separator);

} // namespace tarvin
