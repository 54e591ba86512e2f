// A .doc conversion stopped halfway leaves no LibreOffice process behind: its launcher's
// child, the converter proper, is stopped with it.

#include "output/word/Application.h"
#include "output/word/DocConverter.h"
#include "tests/support/ScopedHook.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QByteArray commandLineOf(const QString &pid)
{
    QFile file(QStringLiteral("/proc/%1/cmdline").arg(pid));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool anyProcessMentions(const QByteArray &text)
{
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (pid.toInt() > 0 && commandLineOf(pid).contains(text))
            return true;
    }
    return false;
}

// The first child of a process, 0 when it has none yet. Every thread's list is read: the
// launcher starts the converter proper from a thread of its own.
qint64 firstChild(qint64 pid)
{
    for (const QString &task : QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(QStringLiteral("/proc/%1/task/%2/children").arg(pid).arg(task));
        if (!children.open(QIODevice::ReadOnly))
            continue;
        if (const qint64 child = children.readAll().trimmed().split(' ').front().toLongLong())
            return child;
    }
    return 0;
}

// Field 5 of /proc/PID/stat; the command name before it is in parentheses and may hold blanks.
qint64 processGroupOf(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 2 ? fields[2].toLongLong() : -1;
}

TEST(DocConversion, CancellingStopsTheConverterAndItsChildren)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("da fermare.doc"));
    QFile file(doc);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xD0\xCF\x11\xE0 un vecchio documento");
    file.close();

    qint64 launcher = 0;
    qint64 child = 0;
    qint64 childGroup = -1;
    word::setConversionWait([&](QProcess &converter, const QString &) {
        // Cancelled once the launcher has started the converter proper.
        converter.waitForStarted();
        launcher = converter.processId();
        const QDeadlineTimer limit(30000);
        while (converter.state() == QProcess::Running && !limit.hasExpired() && !(child = firstChild(launcher)))
            QThread::msleep(10);
        childGroup = processGroupOf(child);
        return word::ConversionEnd::Cancelled;
    });
    const testsupport::OnScopeEnd restore([] { word::setConversionWait({}); });
    word::Application application;
    EXPECT_THROW(application.Documents().Add(doc), word::ConversionCancelled);
    ASSERT_NE(child, 0);
    // The launcher leads a group of its own with its child in it, so stopping the group
    // stops the converter proper too.
    EXPECT_EQ(childGroup, launcher);

    // What was killed is gone at once; its children only once reaped by init, so look a while.
    const QDeadlineTimer limit(10000);
    while (anyProcessMentions(doc.toUtf8()) && !limit.hasExpired())
        QThread::msleep(20);
    EXPECT_FALSE(anyProcessMentions(doc.toUtf8()));
}

} // namespace
