#pragma once
// The prepared-report file (".qnp"): built pages saved from the preview and opened again.
// Its bytes are described at the reader in PreparedFile.cpp.

#include "output/report/pages/PreparedPage.h"

#include <QByteArray>
#include <optional>

QByteArray writePreparedPages(const PreparedPages &pages);
// None when the bytes are not a prepared report or are damaged.
std::optional<PreparedPages> readPreparedPages(const QByteArray &data);
