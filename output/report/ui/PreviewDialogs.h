#pragma once
// The dialogs the preview asks the user through: find, open, save and print. The preview
// calls them through this class so that tests can answer in their place.

#include "output/report/ui/TextSearch.h"

#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

struct FindRequest {
    QString text;
    FindOptions options;
};

struct FileChoice {
    QString path;
    int filter = 0;              // index of the chosen filter
};

class PreviewDialogs {
public:
    virtual ~PreviewDialogs() = default;
    // `previous` fills the dialog; none when cancelled.
    virtual std::optional<FindRequest> askFind(QWidget *parent, const FindRequest &previous);
    virtual std::optional<FileChoice> chooseOpenFile(QWidget *parent, const QString &title,
                                                     const QStringList &filters);
    // The first filter is preselected.
    virtual std::optional<FileChoice> chooseSaveFile(QWidget *parent, const QString &title,
                                                     const QStringList &filters);
    // Qt's print dialog on `printer` for pages 1..pageCount; false when cancelled.
    virtual bool askPrint(QWidget *parent, QPrinter &printer, int pageCount);
    virtual bool printersInstalled();
};
