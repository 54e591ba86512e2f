#include "LayoutTestSupport.h"

#include <QFile>
#include <algorithm>

Tfrm_main::Tfrm_main()
{
    move(214, 164);
    resize(597, 643);
}

namespace layouttest {

void FakeGrid::saveLayout(LayoutKeys &keys)
{
    keys.eraseSection(section());
    for (size_t i = 0; i < columns.size(); ++i)
        keys.write(section(), name + u'.' + columns[i].field, QStringLiteral("%1,%2").arg(i).arg(columns[i].width));
}

void FakeGrid::loadLayout(LayoutKeys &keys)
{
    std::vector<std::pair<int, Column>> placed;
    for (size_t i = 0; i < columns.size(); ++i) {
        Column column = columns[i];
        int position = int(i);
        if (const auto value = keys.read(section(), name + u'.' + column.field)) {
            position = value->section(u',', 0, 0).toInt();
            column.width = value->section(u',', 1, 1).toInt();
        }
        placed.emplace_back(position, column);
    }
    std::stable_sort(placed.begin(), placed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (size_t i = 0; i < placed.size(); ++i)
        columns[i] = placed[i].second;
}

MainWindowRun::MainWindowRun(const QString &iniPath)
{
    store.linkClient(&nucleo);
    store.linkClient(&anagrafica);
    store.setErrorHandler([this](const std::exception &error) { errors << QString::fromUtf8(error.what()); });
    store.setIniFileName(iniPath);
    store.restoreLayout();
}

MainWindowRun::~MainWindowRun()
{
    store.formDestroy();
    store.unlinkClient(&nucleo);
    store.unlinkClient(&anagrafica);
}

QStringList fileEntries(const QString &path)
{
    QStringList entries;
    for (const QByteArray &raw : fileBytes(path).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            entries << line;
        else if (line.contains(u'='))
            entries << line.section(u'=', 0, 0);
    }
    return entries;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace layouttest
