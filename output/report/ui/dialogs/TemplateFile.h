#pragma once
// Layout templates (".qnt"): a layout with a description and a picture, kept in TemplateDir.

#include <QByteArray>
#include <QString>
#include <optional>

class TqnReport;

struct TqnTemplate {
    QString description;
    QByteArray picture;   // an image file's bytes (PNG, JPEG, ...), or empty
    QByteArray layout;    // the layout as a ".qnf" file holds it
};

// False when the file cannot be written; an earlier file of that name is then left as it was.
bool writeTemplate(const QString &path, const TqnTemplate &content);
// Empty when the file is missing or not a template.
std::optional<TqnTemplate> readTemplate(const QString &path);

// `name` as a template path: ".qnt" put on, and into TemplateDir when it has no folder.
QString templatePath(const TqnReport &report, const QString &name);
// The layout of `content` replaces the report's one; the report then has no file name.
void useTemplate(TqnReport &report, const TqnTemplate &content);
