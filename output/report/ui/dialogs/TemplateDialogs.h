#pragma once
// The two template windows: "Nuovo report da modello" lists the templates of TemplateDir with
// their descriptions and pictures; "Salva come modello" asks for a description and a picture.

#include "output/report/ui/dialogs/TemplateFile.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class TqnReport;

class NewFromTemplateDialog final : public QDialog {
    Q_OBJECT
public:
    explicit NewFromTemplateDialog(TqnReport &report, QWidget *parent = nullptr);

    QListWidget *templates() const { return m_list; }
    QLabel *description() const { return m_description; }
    // The chosen template's layout replaces the report's; a damaged file leaves it as it was.
    void accept() override;

private:
    void chosen();

    TqnReport &m_report;
    QListWidget *m_list;
    QLabel *m_description;
    QLabel *m_picture;
};

class SaveTemplateDialog final : public QDialog {
    Q_OBJECT
public:
    SaveTemplateDialog(TqnReport &report, const QString &fileName, QWidget *parent = nullptr);

    QPlainTextEdit *description() const { return m_description; }
    // The picture file's bytes; false when it is no image Qt can read.
    bool setPictureFile(const QString &path);
    const QString &path() const { return m_path; }

    // Writes the template; a failure is shown and the dialog stays open.
    void accept() override;

private:
    TqnReport &m_report;
    QString m_path;
    QPlainTextEdit *m_description;
    QLabel *m_preview;
    QByteArray m_picture;
};
