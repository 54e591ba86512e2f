#pragma once
// Writes a layout as a version 27 file (see LayoutReader.cpp for the bytes).

#include <QByteArray>
#include <QString>

class TqnLayout;

constexpr quint8 kLayoutVersion = 27;

// `printerName` is the printer selected at the moment of writing.
QByteArray writeLayout(const TqnLayout &layout, const QString &printerName);
