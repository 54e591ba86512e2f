#include "output/report/ui/designer/DesignerDocument.h"

#include "output/report/TqnReport.h"
#include "output/report/file/LayoutWriter.h"

DesignerDocument::DesignerDocument(TqnReport &report, QObject *parent) : QObject(parent), m_report(report)
{
    restart();
}

TqnLayout &DesignerDocument::layout() const
{
    return m_report.layout();
}

QByteArray DesignerDocument::snapshot() const
{
    return writeLayout(m_report.layout(), m_report.selectedPrinter());
}

DesignerDocument::Copy DesignerDocument::current() const
{
    return {snapshot(), m_report.layout().FileName};
}

void DesignerDocument::restart()
{
    m_copies.assign(1, current());
    m_current = 0;
    emit changed();
}

void DesignerDocument::commit()
{
    Copy now = current();
    if (now.layout == m_copies[m_current].layout)
        return;
    m_copies.resize(m_current + 1);
    m_copies.push_back(std::move(now));
    m_current = m_copies.size() - 1;
    emit changed();
}

void DesignerDocument::load(size_t index)
{
    m_current = index;
    emit aboutToReplace();
    m_report.loadFromMemory(m_copies[index].layout);
    m_report.layout().FileName = m_copies[index].fileName;
    emit replaced();
    emit changed();
}

void DesignerDocument::undo()
{
    if (canUndo())
        load(m_current - 1);
}

void DesignerDocument::redo()
{
    if (canRedo())
        load(m_current + 1);
}

bool DesignerDocument::modified() const
{
    return snapshot() != m_copies.front().layout;
}

void DesignerDocument::revert()
{
    m_copies.resize(1);
    load(0);
}
