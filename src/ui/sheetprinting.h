#pragma once

#include "ui/sheetpage.h"

class QWidget;

namespace zev {

// Asks in the desktop's print dialog where and how to print the page of a sheet, and prints it
// there; Cancel prints nothing. Gives the user's words when the page could not be printed where
// the dialog said, and nothing otherwise.
[[nodiscard]] QString printSheet(QWidget* parent, const NamedSheet& page);

} // namespace zev
