#pragma once
// The main window's seven table datasets with their data sources and persistent field
// objects, configured as the window stores them. Nothing here opens a table: the start-up
// does, in its own order.
//
// Field objects are named after their dataset and field ("AnagraficaFascia", "NucleoEta")
// and are QObject children of their dataset, so `Anagrafica().findChild<TField *>(...)`
// finds them. The handlers that the pages bind later:
//   Anagrafica.BeforePost     AnagraficaBeforePost   (household summary)
//   Anagrafica.OnFilterRecord AnagraficaFilterRecord (search and print criteria)
//   Nucleo.OnCalcFields       NucleoCalcFields       (age)
//   BeforeDelete of Anagrafica, Nucleo, Fascia, Ruolo, Occupazione (confirmations)

#include "db/TDataSource.h"
#include "stats/StatisticsDataSet.h"
#include "store/TArcTable.h"

#include <QStringList>

class TArcDatabase;
class TField;

class TMainData final {
public:
    explicit TMainData(TArcDatabase &database);
    TMainData(const TMainData &) = delete;
    TMainData &operator=(const TMainData &) = delete;

    TArcTable &Anagrafica() { return m_anagrafica; }
    TArcTable &Nucleo() { return m_nucleo; }
    TArcTable &Fascia() { return m_fascia; }
    TArcTable &Ruolo() { return m_ruolo; }
    TArcTable &Occupazione() { return m_occupazione; }
    TArcTable &stampe() { return m_stampe; }
    TArcTable &Gruppi() { return m_gruppi; }
    // The figures of the cards Anagrafica accepts, counted each time a list opens it.
    StatisticsDataSet &Statistiche() { return m_statistiche; }

    TDataSource &ds_anagrafica() { return m_dsAnagrafica; }
    TDataSource &ds_nucleo() { return m_dsNucleo; }
    TDataSource &ds_fascia() { return m_dsFascia; }
    TDataSource &ds_Ruolo() { return m_dsRuolo; }
    TDataSource &ds_occupazione() { return m_dsOccupazione; }
    TDataSource &ds_stampe() { return m_dsStampe; }
    TDataSource &ds_gruppi() { return m_dsGruppi; }

    // The persistent field object of that name ("AnagraficaFascia"), or null.
    TField *persistentField(const QString &objectName);

    // The values of one field from the first row to the end, as text; the dataset is left
    // on its first row.
    static QStringList columnTexts(TDataSet &dataSet, const QString &fieldName);

private:
    // Sources first: the datasets go before them, the detail before its master's source.
    TDataSource m_dsAnagrafica;
    TDataSource m_dsNucleo;
    TDataSource m_dsFascia;
    TDataSource m_dsRuolo;
    TDataSource m_dsOccupazione;
    TDataSource m_dsStampe;
    TDataSource m_dsGruppi;

    TArcTable m_anagrafica;
    TArcTable m_nucleo;
    TArcTable m_fascia;
    TArcTable m_ruolo;
    TArcTable m_occupazione;
    TArcTable m_stampe;
    TArcTable m_gruppi;
    StatisticsDataSet m_statistiche;
};
