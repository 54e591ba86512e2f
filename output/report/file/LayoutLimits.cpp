#include "output/report/file/LayoutLimits.h"

#include "output/report/file/ByteStream.h"
#include "output/report/model/TqnLayout.h"

namespace {

constexpr qsizetype kShort = 255;
constexpr qsizetype kLine = 1024;
constexpr qsizetype kLines = 0xFFFF;

class Check {
public:
    // `what` names the text, `owner` what holds it ("l'oggetto \"Memo1\"").
    void shortText(const QString &text, const char *what, const QString &owner)
    {
        if (m_message.isEmpty() && ansiBytes(text).size() > kShort)
            refuse(what, owner, kShort);
    }
    void lines(const QStringList &lines, const char *what, const QString &owner)
    {
        if (!m_message.isEmpty())
            return;
        if (lines.size() > kLines) {
            m_message = QStringLiteral("Il report non può essere salvato: %1 di %2 ha più di %3 righe.")
                            .arg(QString::fromUtf8(what), owner).arg(kLines);
            return;
        }
        for (const QString &line : lines)
            if (ansiBytes(line).size() > kLine) {
                refuse(what, owner, kLine);
                return;
            }
    }
    const QString &message() const { return m_message; }

private:
    void refuse(const char *what, const QString &owner, qsizetype limit)
    {
        m_message = QStringLiteral("Il report non può essere salvato: %1 di %2 supera i %3 caratteri che il file "
                                   "può contenere.\r\nAccorciarlo e salvare di nuovo.")
                        .arg(QString::fromUtf8(what), owner).arg(limit);
    }
    QString m_message;
};

QString named(const char *kind, const QString &name)
{
    return QStringLiteral("%1 \"%2\"").arg(QString::fromUtf8(kind), name);
}

} // namespace

QString layoutOverLimits(const TqnLayout &layout)
{
    Check check;
    for (int i = 0; i < layout.DataSets.count(); ++i) {
        const TqnDataset *entry = layout.DataSets.at(i);
        const QString owner = named("la sorgente dati", entry->name());
        check.shortText(entry->name(), "il nome", owner);
        if (const auto *bound = qobject_cast<const TqnDBDataSet *>(entry)) {
            check.shortText(bound->ComponentText, "il componente", owner);
            check.shortText(bound->Filter, "il filtro", owner);
        }
    }
    for (const TqnPage &page : layout.Pages)
        for (const auto &object : page.Objects) {
            const QString owner = named("l'oggetto", object->Name);
            check.shortText(object->Name, "il nome", owner);
            check.lines({object->FormatText}, "il formato", owner);
            check.lines(object->Memo, "una riga del testo", owner);
            if (const auto *memo = dynamic_cast<const TqnMemoView *>(object.get())) {
                check.lines({memo->FontName}, "il carattere", owner);
                check.lines({memo->HighlightCondition}, "la condizione di evidenziazione", owner);
            } else if (const auto *band = dynamic_cast<const TqnBandView *>(object.get())) {
                check.lines({band->GroupCondition}, "la condizione del gruppo", owner);
            }
        }
    for (const TqnVariable &v : layout.Values.items()) {
        const QString owner = named("la variabile", v.Name);
        check.shortText(v.Name, "il nome", owner);
        check.shortText(v.DataSet, "la sorgente dati", owner);
        check.shortText(v.Field, "il campo", owner);
        check.lines({v.Text}, "l'espressione", owner);
    }
    check.lines(layout.VariableList, "una riga", QStringLiteral("l'elenco delle variabili"));
    return check.message();
}
