#pragma once
// The link between one dataset and the controls bound to it: it passes the dataset's
// events to its data links and tells its own listeners of data and state changes.

#include "db/DbTypes.h"
#include "db/TDataSet.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class TDataSet;
class TDataLink;
class TField;

class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject *owner = nullptr);
    ~TDataSource() override;

    TDataSet *dataSet() const { return m_dataSet; }
    void setDataSet(TDataSet *dataSet);
    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool on) { m_autoEdit = on; }
    // The dataset's state, or inactive when there is none or the source is disabled.
    TDataSetState state() const;
    void edit();   // puts the dataset into edit when AutoEdit and in browse

    std::function<void(TDataSource &, TField *)> OnDataChange;
    std::function<void(TDataSource &)> OnStateChange;
    std::function<void(TDataSource &)> OnUpdateData;

    // For datasets and links.
    void notifyDataEvent(TDataEvent event, qintptr info);
    void addDataLink(TDataLink *link);
    void removeDataLink(TDataLink *link);
    const QList<TDataLink *> &dataLinks() const { return m_links; }

private:
    void updateState();
    void notifyLinks(TDataEvent event, qintptr info);

    QPointer<TDataSet> m_dataSet;
    bool m_enabled = true;
    bool m_autoEdit = true;
    TDataSetState m_lastState = TDataSetState::dsInactive;
    QList<TDataLink *> m_links;
};
