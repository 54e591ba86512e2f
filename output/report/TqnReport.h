#pragma once
// The report component: holds one layout, loads and saves it, builds it over the data into
// prepared pages, hands them to the preview window and prints them. Windows show what it
// reports through ReportMessages; the preview and designer windows plug in through hooks.

#include "output/report/ReportMessages.h"
#include "output/report/build/PreparationError.h"
#include "output/report/model/TqnLayout.h"
#include "output/report/pages/PreparedPage.h"

#include <QDateTime>
#include <QObject>
#include <QVariant>
#include <functional>
#include <stdexcept>

class ReportPrinter;
class TqnBandView;
class TqnView;
namespace report {
class ExprScope;
}

// An error raised to the caller of OpenLayout and StoreLayout, with its Italian text.
class EReportError final : public std::runtime_error {
public:
    explicit EReportError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

enum TqnDesignerOption { doSaveConfirm = 1 };

class TqnReport final : public QObject {
    Q_OBJECT
public:
    // `owner` is the window the report sits on; its name qualifies the report ("frm_main").
    explicit TqnReport(QObject *owner = nullptr, const QString &name = QStringLiteral("qnReport1"));
    ~TqnReport() override;

    // --- published properties ---------------------------------------------------------
    QString Title;
    bool ShowProgress = true;
    bool DisableDataSetControls = true;
    bool ModalPreview = true;
    QString ReportDir;
    QString PathFromExe;
    QString TemplateDir;
    int DesignerOptions = doSaveConfirm;
    int PixelsPerInch = 96;
    bool Scaled = true;
    const QString &AutoLoad() const { return m_autoLoad; }
    void setAutoLoad(const QString &fileName);   // empty resets the layout
    TqnVariables &Values() { return m_layout.Values; }

    // --- events, called only when assigned ---------------------------------------------
    std::function<void(TqnReport &, const QString &dataSetName)> OnDataSetWork;
    std::function<void(const TqnView &)> OnBeforePrint, OnAfterPrint;
    std::function<void(TqnReport &)> OnBeginDoc, OnEndDoc;
    std::function<void(TqnReport &, int layoutPage)> OnBeginPage, OnEndPage;
    std::function<void(const QString &name, QVariant &value)> OnGetValue;
    std::function<void(const QString &name, const QVariantList &args, QVariant &result)> OnUserFunction;
    std::function<void(TqnReport &, int page)> OnProgress;
    std::function<void(const TqnView &, QRectF box)> OnDrawObject;

    // --- operations --------------------------------------------------------------------
    // Throws EReportError when the file is missing or outside ReportDir; other failures are
    // shown through the messages and leave an empty layout.
    void OpenLayout(const QString &fileName);
    // Throws EReportError; a failed save leaves any earlier file as it was.
    void StoreLayout(const QString &fileName);
    bool BuildPages();
    void PresentPages();
    void RunPreview();
    void PrintPages(int first, int last, bool collate, int copies);
    void OpenDesigner();
    void ResetLayout();
    // Replaces the layout with one held in memory (the designer's undo copies and its preview);
    // the file name stays.
    void loadFromMemory(const QByteArray &data) { readFrom(data); }

    // --- state -------------------------------------------------------------------------
    TqnLayout &layout() { return m_layout; }
    const TqnLayout &layout() const { return m_layout; }
    PreparedPages &preparedPages() { return m_prepared; }
    const QString &preparationError() const { return m_error.text(); }
    void stop() { m_error.stop(); }
    // "frm_main.qnReport1"
    QString qualifiedName() const;
    QString windowName() const;
    QString previewCaption() const;
    QString progressCaption() const;
    // The printer selected now: the layout's when SystemPrinter is zero and it was
    // installed, the system's otherwise (empty).
    const QString &selectedPrinter() const { return m_printer; }
    void setSelectedPrinter(const QString &name) { m_printer = name; }

    // --- seams -------------------------------------------------------------------------
    void setMessages(ReportMessages *messages) { m_messages = messages; }
    ReportMessages &messages() const;
    // The printer PrintPages uses; by default the system printer of the selected name.
    void setPrinterFactory(std::function<std::unique_ptr<ReportPrinter>(const QString &printer)> f)
    {
        m_printerFactory = std::move(f);
    }
    const std::function<std::unique_ptr<ReportPrinter>(const QString &printer)> &printerFactory() const
    {
        return m_printerFactory;
    }
    // Sees each band as it lands on the final pages (BuildEvents::onBandDrawn); none by default.
    std::function<void(const TqnBandView &, report::ExprScope &)> bandDrawnHook;
    // Building's "now" (DATE and TIME); the clock by default.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // The preview window and the designer window of later issues: set once by them. The
    // preview hook runs inside PresentPages; a preview that stays open after it returns
    // (ModalPreview off) keeps its own copy of the prepared pages, which RunPreview discards.
    static std::function<void(TqnReport &)> &previewHook();
    static std::function<void(TqnReport &)> &designerHook();
    // The progress window of building and printing (ShowProgress on): its caption, its text
    // ("Pagina in costruzione: 3"); false when the user cancels.
    static std::function<bool(const QString &caption, const QString &text)> &progressHook();
    // The system's printers, set once by a program with windows (useQtPrinters): the printer
    // of a name (empty: the default one) and the installed ones, for selecting the layout's.
    // Without them no printer is installed and PrintPages reports that it cannot start.
    static std::function<std::unique_ptr<ReportPrinter>(const QString &printer)> &systemPrinter();
    static std::function<QStringList()> &installedPrinters();
    // Set by the designer window while it is open: building then leaves its layout as it was.
    static bool &designerOpen();
    // The report last loaded, prepared or designed.
    static TqnReport *current();

signals:
    // The layout's pages and objects are about to be destroyed (a load, a reset, a copy read
    // back): windows that point into them let go now, before any message of the load shows.
    void layoutAboutToBeReplaced();
    // A new layout was loaded or saved under a new name, or the layout was reset: an open
    // designer shows it again.
    void layoutReplaced();

private:
    QString withExtension(const QString &fileName) const;
    void reloadIfChanged();
    void readFrom(const QByteArray &data);
    void collatePages();

    TqnLayout m_layout;
    PreparedPages m_prepared;
    PreparationError m_error;
    QString m_autoLoad;
    QDateTime m_autoLoadTime;
    QString m_printer;
    ReportMessages *m_messages = nullptr;
    std::function<std::unique_ptr<ReportPrinter>(const QString &)> m_printerFactory;
    std::function<QDateTime()> m_clock;
};

// The designer component: its presence on a window is what makes the designer available.
class TqnDesigner final : public QObject {
    Q_OBJECT
public:
    explicit TqnDesigner(QObject *owner = nullptr);
    ~TqnDesigner() override;
    static bool present();
};
