#pragma once
// The box shown while LibreOffice converts a .doc template: the window keeps repainting and
// the user can stop a conversion that takes too long.

#include "output/word/DocConverter.h"

class QProcess;
class QWidget;

// Runs a nested event loop until the converter ends, the box's "Annulla" is pressed or
// timeoutMs pass.
word::ConversionEnd waitWithProgress(QWidget *parent, QProcess &converter, const QString &docPath,
                                     int timeoutMs = 120000);

// Installs waitWithProgress for the conversions made while it lives.
class ScopedConversionProgress final {
public:
    explicit ScopedConversionProgress(QWidget *parent);
    ~ScopedConversionProgress();
    ScopedConversionProgress(const ScopedConversionProgress &) = delete;
    ScopedConversionProgress &operator=(const ScopedConversionProgress &) = delete;
};
