#pragma once
// Constants of the archive format. An archive is an SQLite file; with a password it is
// encrypted page by page by SQLCipher. The key-derivation rounds are not stored in the
// file, so they are fixed here once: 256 000 PBKDF2 rounds, four times the library's
// default, because office passwords are short and a stolen copy may be attacked offline.
// Changing this number makes every encrypted archive unreadable.

namespace dao::format {

inline constexpr int kKdfIterations = 256000;
inline constexpr int kCipherPageSize = 1024;
inline constexpr int kBusyTimeoutMs = 10000;
inline constexpr char kPlainHeader[] = "SQLite format 3";   // 16 bytes with its terminator

} // namespace dao::format
