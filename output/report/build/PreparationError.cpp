#include "output/report/build/PreparationError.h"

#include "output/report/model/BandType.h"

void PreparationError::record(const QString &detail, const Where &where)
{
    m_stop = true;
    if (hasError())
        return;
    const QChar cr(13);
    m_text = opening();
    if (!detail.isEmpty())
        m_text += cr + detail;
    if (!where.object.isEmpty() && where.bandType >= 0)
        m_text += cr + QStringLiteral("Oggetto: ") + where.object;
    if (where.bandType >= 0)
        m_text += cr + QStringLiteral("Banda: ") + bandTypeName(where.bandType);
    m_text += cr + QStringLiteral("Pagina: ") + QString::number(where.layoutPage);
}

void PreparationError::clear()
{
    m_text.clear();
    m_stop = false;
}
