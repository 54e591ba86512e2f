#pragma once
// The files the preview reads and writes: prepared reports (".qnp"), one page as a vector
// drawing (".svg", standing in for the enhanced metafile) and all pages as PDF.

#include "output/report/pages/PreparedPage.h"

#include <QString>
#include <optional>

namespace previewfiles {

// `name` with `extension` (".svg") appended, unless it already ends so in any case.
QString withExtension(const QString &name, const QString &extension);

// False when the file cannot be written; an earlier file of that name is then kept.
bool savePrepared(const PreparedPages &pages, const QString &path);
bool saveSvgPage(const PreparedPage &page, const QString &path, const QString &title);
bool savePdf(const PreparedPages &pages, const QString &path, const QString &title);
// None when the file cannot be read or is not a prepared report.
std::optional<PreparedPages> openPrepared(const QString &path);

} // namespace previewfiles
