#include "output/report/ui/dialogs/DesignerDialogs.h"

#include "output/report/ComponentDirectory.h"
#include "output/report/TqnReport.h"
#include "output/report/ui/dialogs/BandOptionsDialog.h"
#include "output/report/ui/dialogs/BandSourceDialog.h"
#include "output/report/ui/dialogs/GroupConditionDialog.h"
#include "output/report/ui/dialogs/HighlightDialog.h"
#include "output/report/ui/dialogs/PageOptionsDialog.h"
#include "output/report/ui/dialogs/PictureDialog.h"
#include "output/report/ui/dialogs/ReportOptionsDialog.h"
#include "output/report/ui/dialogs/TemplateDialogs.h"
#include "output/report/ui/dialogs/TextEditorDialog.h"
#include "output/report/ui/dialogs/VariablesDialog.h"
#include "output/report/ui/dialogs/WizardDialog.h"

#include <QInputDialog>

namespace report::dialogs {

namespace {

template <typename Dialog, typename... Args>
bool run(QWidget *parent, Args &&...args)
{
    Dialog dialog(std::forward<Args>(args)..., parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

bool hasEditor(const TqnView &view)
{
    switch (view.kind()) {
    case TqnViewKind::vkBand: {
        const TqnBandType type = static_cast<const TqnBandView &>(view).BandType;
        return type == TqnBandType::btGroupHeader || isDataBand(type) || BandOptionsDialog::offered(type);
    }
    case TqnViewKind::vkMemo:
    case TqnViewKind::vkPicture:
    case TqnViewKind::vkSubReport:
        return true;
    default:
        return false;
    }
}

bool editObject(TqnReport &report, TqnView &view, QWidget *parent)
{
    switch (view.kind()) {
    case TqnViewKind::vkBand: {
        auto &band = static_cast<TqnBandView &>(view);
        if (band.BandType == TqnBandType::btGroupHeader)
            return editGroupCondition(report, view, parent);
        if (isDataBand(band.BandType))
            return editBandSource(report, view, parent);
        return BandOptionsDialog::offered(band.BandType) && run<BandOptionsDialog>(parent, band);
    }
    case TqnViewKind::vkMemo: return editText(report, view, parent);
    case TqnViewKind::vkPicture: return editPicture(report, view, parent);
    case TqnViewKind::vkSubReport: return editSubReportPage(report, view, parent);
    default: break;
    }
    return false;
}

bool editGroupCondition(TqnReport &report, TqnView &band, QWidget *parent)
{
    auto *view = dynamic_cast<TqnBandView *>(&band);
    return view && view->BandType == TqnBandType::btGroupHeader && run<GroupConditionDialog>(parent, report, *view);
}

bool editPicture(TqnReport &report, TqnView &picture, QWidget *parent)
{
    auto *view = dynamic_cast<TqnPictureView *>(&picture);
    return view && run<PictureDialog>(parent, report, *view);
}

bool editSubReportPage(TqnReport &report, TqnView &subReport, QWidget *parent)
{
    auto *view = dynamic_cast<TqnSubReportView *>(&subReport);
    const int pages = int(report.layout().Pages.size());
    if (!view || pages == 0)
        return false;
    QStringList names;
    for (int p = 0; p < pages; ++p)
        names << QStringLiteral("Pagina %1").arg(p + 1);
    bool ok = false;
    const QString chosen = QInputDialog::getItem(parent, QStringLiteral("Sottoreport"), QStringLiteral("Pagina stampata:"),
                                                 names, std::min(int(view->SubPage), pages - 1), false, &ok);
    const int page = int(names.indexOf(chosen));
    if (!ok || page < 0 || page == view->SubPage)
        return false;
    view->SubPage = quint8(page);
    return true;
}

bool editBandSource(TqnReport &report, TqnView &band, QWidget *parent)
{
    auto *view = dynamic_cast<TqnBandView *>(&band);
    if (!view || !isDataBand(view->BandType))
        return false;
    return run<BandSourceDialog>(parent, report, *view, ComponentDirectory::instance().dataSetTexts());
}

bool editText(TqnReport &report, TqnView &memo, QWidget *parent)
{
    auto *view = dynamic_cast<TqnMemoView *>(&memo);
    return view && run<TextEditorDialog>(parent, report, *view);
}

bool editHighlight(TqnReport &, TqnView &memo, QWidget *parent)
{
    auto *view = dynamic_cast<TqnMemoView *>(&memo);
    return view && run<HighlightDialog>(parent, *view);
}

bool editVariables(TqnReport &report, QWidget *parent) { return run<VariablesDialog>(parent, report); }

bool editReportOptions(TqnReport &report, QWidget *parent) { return run<ReportOptionsDialog>(parent, report); }

bool editPageOptions(TqnReport &report, int page, QWidget *parent)
{
    std::vector<TqnPage> &pages = report.layout().Pages;
    return page >= 0 && page < int(pages.size()) && run<PageOptionsDialog>(parent, pages[size_t(page)]);
}

bool newFromTemplate(TqnReport &report, QWidget *parent) { return run<NewFromTemplateDialog>(parent, report); }

bool saveTemplate(TqnReport &report, const QString &fileName, QWidget *parent)
{
    return run<SaveTemplateDialog>(parent, report, fileName);
}

bool runWizard(TqnReport &report, QWidget *parent) { return run<WizardDialog>(parent, report); }

} // namespace report::dialogs
