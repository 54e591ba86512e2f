#pragma once
// The preparation error of one run: only the first error is kept, with the object, band and
// layout page being printed when it happened. Recording it sets the stop flag.

#include <QString>

class PreparationError final {
public:
    static QString opening() { return QStringLiteral("Si è verificato un errore durante la fase di preparazione"); }
    // The detail of a failed object or band starts so, the reason follows.
    static QString failure() { return QStringLiteral("Errore. "); }
    // A band or a variable names a dataset the report does not have (also said on loading).
    static QString missingDataSet(const QString &name) { return QStringLiteral("Non è stato trovato il qnDataset: ") + name; }

    // What is being printed now; the text takes it at the moment of recording.
    struct Where {
        QString object;          // empty: no object of the band being printed
        int bandType = -1;       // -1: no band
        int layoutPage = 0;      // from 1
    };

    void record(const QString &detail, const Where &where);
    bool hasError() const { return !m_text.isEmpty(); }
    const QString &text() const { return m_text; }
    bool stopped() const { return m_stop; }
    void stop() { m_stop = true; }
    void clear();

private:
    QString m_text;
    bool m_stop = false;
};
