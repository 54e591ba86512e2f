#pragma once
// The list page `tb_lista`: every card as one row of a read-only grid, narrowed by the
// search box and sorted by the column whose title is clicked. It owns the card dataset's
// record filter: search criteria normally, print criteria while a printed list is made.

#include "db/FilterCriteria.h"

#include <QWidget>
#include <functional>
#include <optional>

class CardCriteria;
class QLabel;
class QLineEdit;
class TDataSet;
class TExDBGrid;
class TField;
class TMainData;

class ListPage final : public QWidget {
    Q_OBJECT
public:
    using ErrorReporter = std::function<void(const std::exception &)>;
    // Whether the current card belongs in the printed list being made.
    using PrintCriteria = std::function<bool(const TDataSet &cards)>;

    explicit ListPage(TMainData &data, QWidget *parent = nullptr);
    ~ListPage() override;

    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }
    void setPrintCriteria(PrintCriteria criteria);
    // The print criteria of a printed list, which the card table can also hand to the engine
    // (null: none any more).
    void setPrintCriteria(const CardCriteria *criteria);
    // Raised by a double click on the grid (rows and titles alike).
    std::function<void()> OnShowCard;

    TExDBGrid *grid_anagrafica() const { return m_grid; }
    QLineEdit *cerca() const { return m_cerca; }

    void AnagraficaFilterRecord(TDataSet &cards, bool &accept);
    // What AnagraficaFilterRecord accepts now, as data; nothing for print criteria given only
    // as a function.
    std::optional<TFilterCriteria> AnagraficaFilterCriteria() const;
    void cercaChange();
    void grid_anagraficaTitleBtnClick(int aCol, TField *field);

private:
    QWidget *buildSearchPanel();
    template <class Handler> void reporting(Handler handler);

    TMainData &m_data;
    TExDBGrid *m_grid = nullptr;
    QLineEdit *m_cerca = nullptr;
    ErrorReporter m_reportError;
    PrintCriteria m_printCriteria;
    std::optional<TFilterCriteria> m_printFilterCriteria;
};
