#pragma once
// The printed-list layouts supplied with the program (data/stampe in the source tree), laid
// into a test's application folder as the installation lays them.

#include <QString>

namespace testsupport {

QString suppliedLayoutFolder();
// Copies every supplied layout into `appFolder`/stampe; false when one could not be copied.
bool copySuppliedLayouts(const QString &appFolder);

} // namespace testsupport
