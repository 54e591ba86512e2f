#pragma once
// Everything the designer asks the user through a window, behind one seam: the real windows
// here, a script in the tests. The dialogs of the record source, text editor with fields,
// variables, report and page options, templates and wizard plug in through DesignerExtensions.

#include "output/report/ReportMessages.h"

#include <QStringList>
#include <functional>
#include <optional>

class QWidget;
class TqnReport;
class TqnView;

class DesignerDialogs {
public:
    enum class Answer { Yes, No, Cancel };
    virtual ~DesignerDialogs() = default;

    virtual void setOwner(QWidget *owner) { m_owner = owner; }
    // Yes/No/Cancel with "Attenzione".
    virtual Answer askSave(const QString &text);
    // Yes/No; `noByDefault` preselects No.
    virtual bool confirm(const QString &text, const QString &caption, bool noByDefault);
    virtual void message(const QString &text, const QString &caption, TqnMessageIcon icon);
    // File dialogs; empty when cancelled. `filterIndex` in: preselected entry, out: the chosen one.
    virtual QString openFile(const QString &caption, const QString &filter);
    virtual QString saveFile(const QString &caption, const QString &filter, const QString &preset, int &filterIndex);
    // The small windows of a report folder: one of `names`, or a new name; empty when cancelled.
    virtual QString chooseInFolder(const QStringList &names);
    virtual QString askName(const QString &preset);
    virtual std::optional<int> chooseItem(const QString &caption, const QString &label, const QStringList &items);
    virtual std::optional<quint32> chooseColor(quint32 current);

protected:
    QWidget *m_owner = nullptr;
};

// The designer's further dialogs; each returns true when it changed the layout. The program
// installs them where it starts (designerwindows::installDialogs); an empty entry leaves its
// command disabled.
struct DesignerExtensions {
    std::function<bool(TqnReport &, TqnView &, QWidget *)> editObject;
    // Whether editObject has anything to show for the object; without it every object is offered.
    std::function<bool(const TqnView &)> canEditObject;
    std::function<bool(TqnReport &, TqnView &, QWidget *)> highlight;
    std::function<bool(TqnReport &, int page, QWidget *)> pageOptions;
    std::function<bool(TqnReport &, QWidget *)> reportOptions;
    std::function<bool(TqnReport &, QWidget *)> variables;
    std::function<bool(TqnReport &, QWidget *)> newFromTemplate;
    std::function<bool(TqnReport &, QWidget *)> wizard;
    // Saves the layout as a template named `fileName` in the report's TemplateDir.
    std::function<bool(TqnReport &, const QString &fileName, QWidget *)> saveTemplate;

    static DesignerExtensions &instance();
};
