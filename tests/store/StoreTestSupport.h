#pragma once
// Archives for the connection tests: a small table of known rows, so that a test can tell
// whether a file still holds all of them after maintenance.

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace store_test {

inline const QString RowTable = QStringLiteral("Voci");

// Creates an archive at path with a table of `rows` numbered rows; encrypted with password.
void makeArchive(const QString &path, const QString &password, int rows);
// Opens the archive with its own engine and counts the table's rows; throws on failure.
int rowCount(const QString &path, const QString &password);
QByteArray fileBytes(const QString &path);
// Entries of a folder other than "." and "..", sorted.
QStringList folderEntries(const QString &folder);

// The exit status of a process killed at an armed crash point.
inline constexpr int CrashStatus = 77;
// Runs body in a forked child whose exit status is body's result (2 when it throws) and
// returns how the child ended: its exit status, or -1 when a signal killed it.
int runInChild(const std::function<int()> &body);

// A fresh folder per test; the engine registry and crash points are restored afterwards.
class StoreTest : public ::testing::Test {
protected:
    void TearDown() override;
    QString pathOf(const QString &name) const { return m_dir.path() + u'/' + name; }
    QString folder() const { return m_dir.path() + u'/'; }

    QTemporaryDir m_dir;
};

} // namespace store_test
