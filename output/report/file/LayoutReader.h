#pragma once
// Reads a layout file (".qnf") into a layout; see the comment in LayoutReader.cpp for every
// byte. Reading never throws: a damaged pages block leaves an empty one-page layout and is
// reported through the messages, as the user sees it.

#include "output/report/ReportMessages.h"

#include <QByteArray>
#include <functional>

class TDataSet;
class TqnLayout;

struct LayoutReadHooks {
    // The table dataset named "window.component", or null.
    std::function<TDataSet *(const QString &componentText)> findComponent;
    // Old files (no dataset table): whether a record source of that name exists outside
    // the layout (a report dataset component of the report's window or a top-level one).
    std::function<bool(const QString &name)> outsideDataSetExists;
    ReportMessages *messages = nullptr;
};

struct LayoutReadResult {
    int version = 0;
    bool pagesRead = false;     // false: the damaged-layout box was shown, layout emptied
    qsizetype failedAt = -1;    // byte offset of the failure
    QString detail;             // technical reason of the failure
};

// The record that carries the texts the code page cannot hold (see LayoutReader.cpp).
constexpr quint8 kWideTextsTag = 253;

// Layouts are small; a longer file is read only this far (and then is damaged).
constexpr qint64 kMaxLayoutBytes = 64 * 1024 * 1024;

LayoutReadResult readLayout(const QByteArray &data, TqnLayout &layout, const LayoutReadHooks &hooks);

// The texts the reader shows.
namespace layouttext {
QString damaged();
QString addInMissing(const QString &className);
QString dataSetNotFound(const QString &name);
} // namespace layouttext
