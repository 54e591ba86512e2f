#pragma once
// Small word-processing packages made on the spot, with exactly the XML a test needs, and a
// look at what a fill made of them.

#include "output/word/Application.h"
#include "tests/support/DocumentFiles.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace wordtest {

using testsupport::documentText;
using testsupport::modeOf;

// Readable failures: texts as text, carriage returns shown as \r.
std::string show(const QString &text);

// A .docx (or .dotx) whose body holds `body` (the children of w:body), with a header and
// footnotes part when given (their children of w:hdr / w:footnotes).
QByteArray docx(const QByteArray &body, const QByteArray &header = {}, const QByteArray &footnotes = {},
                bool asTemplate = false);
// An .odt (or .ott) whose office:text holds `body`, with a master-page header when given.
QByteArray odt(const QByteArray &body, const QByteArray &header = {}, bool asTemplate = false);

// A part of a package, or empty when there is none.
QByteArray entry(const QByteArray &package, const QString &name);

QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// A temporary folder with a template in it, and an application whose shown documents go to
// a private folder inside it and are not opened anywhere.
class WordTest : public testing::Test {
protected:
    WordTest();
    // Writes the template and returns its path.
    QString putTemplate(const QString &name, const QByteArray &bytes);
    // A new document from the template with every pair replaced (replace-all, case ignored),
    // saved; returns the saved package.
    QByteArray fill(const QString &templatePath, const std::vector<std::pair<QString, QString>> &pairs);

    QTemporaryDir m_dir;
    word::Application m_word;
    QStringList m_opened;
};

} // namespace wordtest
