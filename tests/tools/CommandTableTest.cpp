// The companion's command table against what people read: the usage text and --help, the
// commands the executable accepts, the manual page's and README's exit statuses.

#include "tools/cli/CommandTable.h"
#include "tools/cli/Commands.h"

#include "ToolsHarness.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

QString sourceText(const char *relative)
{
    QFile file(QStringLiteral(TAVORIO_SOURCE_DIR "/") + QLatin1String(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative;
    return QString::fromUtf8(file.readAll());
}

std::map<int, std::string> tableExits()
{
    std::map<int, std::string> exits;
    for (const cli::ExitEntry &exit : cli::exitTable())
        exits[int(exit.code)] = exit.meaning;
    return exits;
}

// The section's ".TP / .B code / meaning" entries, the meaning's lines joined and unescaped.
std::map<int, std::string> manualExits(const QString &page)
{
    const qsizetype start = page.indexOf(QLatin1String(".SH CODICI DI USCITA"));
    const qsizetype end = page.indexOf(QLatin1String("\n.SH "), start + 1);
    std::map<int, std::string> exits;
    const QStringList entries = page.mid(start, end - start).split(QLatin1String("\n.TP\n")).mid(1);
    for (const QString &entry : entries) {
        QStringList lines = entry.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const int code = lines.takeFirst().remove(QLatin1String(".B ")).toInt();
        for (QString &line : lines)
            line.remove(QRegularExpression(QStringLiteral("^\\.[A-Z]+ "))).replace(QLatin1String("\\-"), QLatin1String("-"));
        exits[code] = lines.join(QLatin1Char(' ')).toStdString();
    }
    return exits;
}

} // namespace

TEST(CommandTable, HelpIsTheUsageOnStandardOutputAndEveryCommandIsKnownByItsName)
{
    QTemporaryDir dir;
    const auto help = toolstest::runCli({QStringLiteral("--help")}, dir.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, cli::usageText());
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
    EXPECT_TRUE(help.out.endsWith(cli::exitCodesText()));
    for (const cli::ExitEntry &exit : cli::exitTable())
        EXPECT_TRUE(help.out.simplified().contains(QStringLiteral("%1 %2").arg(int(exit.code)).arg(QString::fromUtf8(exit.meaning))))
            << exit.meaning;

    for (const cli::CommandEntry &command : cli::commandTable()) {
        EXPECT_TRUE(help.out.contains(cli::synopsisText(command))) << command.name;
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(command.summary))) << command.name;
        EXPECT_EQ(command.exits.front(), cli::ExitCode::Ok) << command.name;
        EXPECT_TRUE(command.exits.contains(cli::ExitCode::Usage)) << command.name;
        // Without its arguments a command is known but incomplete: the reason is never
        // "unknown command", and nothing is written.
        const auto bare = toolstest::runCli({QString::fromUtf8(command.name)}, dir.path());
        EXPECT_EQ(bare.exitCode, int(cli::ExitCode::Usage)) << command.name;
        EXPECT_FALSE(bare.err.contains(QStringLiteral("comando sconosciuto"))) << command.name << bare.err.toStdString();
    }
    const auto unknown = toolstest::runCli({QStringLiteral("cancella")}, dir.path());
    EXPECT_EQ(unknown.exitCode, int(cli::ExitCode::Usage));
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("comando sconosciuto \"cancella\""))) << unknown.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST(CommandTable, ManualPageAndReadmeGiveTheTablesCommandsAndExitStatuses)
{
    const QString page = sourceText("packaging/man/tavorio-cli.1");
    EXPECT_EQ(manualExits(page), tableExits());
    const QString synopsis = page.section(QLatin1String(".SH SINTASSI"), 1).section(QLatin1String(".SH "), 0, 0);
    QStringList named;
    for (const auto &match : QRegularExpression(QStringLiteral("^\\.B tavorio-cli (\\S+)$"),
                                                QRegularExpression::MultilineOption).globalMatch(synopsis))
        named << match.captured(1);
    QStringList table;
    for (const cli::CommandEntry &command : cli::commandTable())
        table << QString::fromUtf8(command.name);
    EXPECT_EQ(named.join(' ').toStdString(), table.join(' ').toStdString());

    // README's table: "| status | meaning |" rows under its heading.
    const QString readme = sourceText("README.md");
    const QString section = readme.section(QLatin1String("### Exit statuses of the companion"), 1).section(QLatin1String("\n\n"), 0, 1);
    std::map<int, std::string> readmeExits;
    for (const auto &match : QRegularExpression(QStringLiteral("^\\| (\\d+) \\| (.+) \\|$"),
                                                QRegularExpression::MultilineOption).globalMatch(section))
        readmeExits[match.captured(1).toInt()] = match.captured(2).toStdString();
    ASSERT_EQ(readmeExits.size(), tableExits().size()) << section.toStdString();
    for (const cli::ExitEntry &exit : cli::exitTable())
        EXPECT_TRUE(readmeExits.count(int(exit.code))) << int(exit.code);
}
