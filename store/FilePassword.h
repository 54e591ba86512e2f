#pragma once
// Gives a closed archive file a new password, as the open archive gets one: the backup copy
// beside the archive holds the same cards and must not stay readable under a password the
// user has just replaced or removed.

#include <QString>

namespace store {

// True when the file now has newPassword; false when it is missing, in use, or does not
// open with oldPassword (it is then left as it was).
bool changeFilePassword(const QString &path, const QString &oldPassword, const QString &newPassword);

} // namespace store
