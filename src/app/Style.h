#pragma once

#include <QString>

class QLineEdit;

namespace corvadel::app {

// Every letter typed into the box becomes its capital.
void makeUpperCase(QLineEdit *edit);
// Every character typed into the box shows as "*".
void makeMasked(QLineEdit *edit);
// The line of the maker's notice on the splash and login windows.
QString makerNotice();

} // namespace corvadel::app
