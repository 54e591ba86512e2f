#include "output/report/ui/PreviewDialogs.h"

#include "output/report/ui/FindDialog.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

std::optional<FileChoice> runFileDialog(QFileDialog &dialog, const QStringList &filters)
{
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileChoice{dialog.selectedFiles().front(), int(filters.indexOf(dialog.selectedNameFilter()))};
}

} // namespace

std::optional<FindRequest> PreviewDialogs::askFind(QWidget *parent, const FindRequest &previous)
{
    FindDialog dialog(parent);
    dialog.setRequest(previous.text, previous.options);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return FindRequest{dialog.text(), dialog.options()};
}

std::optional<FileChoice> PreviewDialogs::chooseOpenFile(QWidget *parent, const QString &title,
                                                         const QStringList &filters)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return runFileDialog(dialog, filters);
}

std::optional<FileChoice> PreviewDialogs::chooseSaveFile(QWidget *parent, const QString &title,
                                                         const QStringList &filters)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    return runFileDialog(dialog, filters);
}

bool PreviewDialogs::askPrint(QWidget *parent, QPrinter &printer, int pageCount)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

bool PreviewDialogs::printersInstalled()
{
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}
