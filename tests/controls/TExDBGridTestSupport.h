#pragma once
// Helpers of the data grid tests: a grid on a small member table in a shown window, keys
// and mouse events sent as the user's would arrive, and an in-memory layout file.

#include "../db/MemoryDataSet.h"
#include "tests/support/QtApplication.h"
#include "controls/GridColumn.h"
#include "controls/LayoutKeys.h"
#include "controls/TExDBGrid.h"
#include "controls/TMessageBox.h"
#include "db/TDataSource.h"
#include "db/TField.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <map>

namespace gridtest {

using testsupport::ensureApplication;

inline std::vector<MemoryDataSet::Column> memberColumns()
{
    return {{QStringLiteral("Nome"), TFieldType::ftString, 30, false, QString()},
            {QStringLiteral("Ruolo"), TFieldType::ftString, 20, false, QString()},
            {QStringLiteral("Lavoro"), TFieldType::ftString, 20, false, QString()},
            {QStringLiteral("Data_nascita"), TFieldType::ftDate, 0, false, QString()},
            {QStringLiteral("Eta"), TFieldType::ftInteger, 0, false, QString()}};
}

// A member grid as the card page has it: five persistent columns, editable.
struct GridRig {
    // `window` holds the grid; its class name starts the grid's layout section.
    explicit GridRig(int rows, std::vector<MemoryDataSet::Column> columns = memberColumns(),
                     std::unique_ptr<QWidget> holder = nullptr)
        : data(columns), window(holder ? std::move(holder) : std::make_unique<QWidget>())
    {
        for (int i = 1; i <= rows; ++i)
            data.addRow({QStringLiteral("Nome%1").arg(i), QStringLiteral("Figlio"), QStringLiteral("Operaio"),
                         QString(), QString::number(i)});
        source.setDataSet(&data);
        grid = new TExDBGrid(window.get());
        grid->setObjectName(QStringLiteral("grid_nucleo"));
        grid->setFrameShape(QFrame::NoFrame);
        grid->setDefaultRowHeight(17);
        for (const auto &column : columns)
            grid->columns().add(column.name).setWidth(80);
        other = new QLineEdit(window.get());
        other->setGeometry(0, 310, 100, 20);
        grid->setGeometry(0, 0, 420, 300);
        window->resize(420, 340);
        grid->setDataSource(&source);
        data.open();
        window->show();
        QApplication::setActiveWindow(window.get());
        grid->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }
    TField *field(const QString &name) const { return data.fieldByName(name); }
    QString current(const QString &name) const { return field(name)->asString(); }

    // Before any widget: the application must exist.
    bool applicationReady = (ensureApplication(), true);
    MemoryDataSet data;
    TDataSource source;
    std::unique_ptr<QWidget> window;
    TExDBGrid *grid = nullptr;
    QLineEdit *other = nullptr;
};

// Keys go where the user's would: to the focused widget inside the grid, else the grid.
inline void key(TExDBGrid *grid, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString &text = {})
{
    QWidget *target = QApplication::focusWidget();
    if (!target || !grid->isAncestorOf(target))
        target = grid;
    QKeyEvent event(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &event);
}

inline void type(TExDBGrid *grid, const QString &text)
{
    for (const QChar c : text)
        key(grid, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

inline void mouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                  Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held, mods);
    QApplication::sendEvent(widget, &event);
}

inline void click(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, QEvent::MouseButtonPress, at, button, button);
    mouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// Press, move in steps past the drag threshold, release.
inline void drag(QWidget *widget, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton)
{
    mouse(widget, QEvent::MouseButtonPress, from, button, button);
    const QPoint step = (to - from) / 4;
    for (int i = 1; i <= 4; ++i)
        mouse(widget, QEvent::MouseMove, i == 4 ? to : from + step * i, Qt::NoButton, button);
    mouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

inline void doubleClick(QWidget *widget, QPoint at)
{
    click(widget, at);
    mouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

// The middle of a cell: grid column counts the indicator, screen row the title row.
inline QPoint cellCentre(const TExDBGrid *grid, int gridCol, int screenRow)
{
    return grid->cellRect(gridCol, screenRow).center();
}

inline QStringList columnOrder(const TExDBGrid *grid)
{
    QStringList names;
    for (int i = 0; i < grid->columns().count(); ++i)
        names << grid->columns().at(i)->fieldName();
    return names;
}

// A layout file in memory: sections of keys in the order written.
class MemoryLayoutKeys final : public LayoutKeys {
public:
    std::optional<QString> read(const QString &section, const QString &key) const override
    {
        for (const auto &entry : m_entries) {
            if (entry.section == section && entry.key == key)
                return entry.value;
        }
        return std::nullopt;
    }
    void write(const QString &section, const QString &key, const QString &value) override
    {
        for (auto &entry : m_entries) {
            if (entry.section == section && entry.key == key) {
                entry.value = value;
                return;
            }
        }
        m_entries.push_back({section, key, value});
    }
    void eraseSection(const QString &section) override
    {
        std::erase_if(m_entries, [&](const Entry &e) { return e.section == section; });
        ++erasures;
    }
    QStringList lines(const QString &section) const
    {
        QStringList result;
        for (const auto &entry : m_entries) {
            if (entry.section == section)
                result << entry.key + QLatin1Char('=') + entry.value;
        }
        return result;
    }
    int erasures = 0;

private:
    struct Entry {
        QString section;
        QString key;
        QString value;
    };
    std::vector<Entry> m_entries;
};

// Records the questions asked through the message box and answers them.
struct Answers {
    explicit Answers(bool yes)
        : guard([this, yes](const TMessageBox::Request &request) {
              asked << request.text;
              return yes;
          })
    {
    }
    QStringList asked;
    TMessageBox::ScopedExecHook guard;
};

} // namespace gridtest
