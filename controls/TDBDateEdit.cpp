#include "controls/TDBDateEdit.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

namespace {

const QString kDateFormat = QStringLiteral("dd/MM/yyyy");

// A small desk calendar: a red header over a white leaf with day marks.
QIcon calendarPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 13, 12);
    painter.fillRect(2, 3, 12, 3, QColor(192, 0, 0));
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 4; ++col)
            painter.fillRect(3 + col * 3, 7 + row * 2, 2, 1, QColor(64, 64, 64));
    }
    return QIcon(picture);
}

// The calendar as a drop-down: it closes on Escape as well as on a click elsewhere.
class CalendarPopup final : public QCalendarWidget {
public:
    explicit CalendarPopup(QWidget *owner) : QCalendarWidget(owner)
    {
        setWindowFlags(Qt::Popup);
        setAttribute(Qt::WA_DeleteOnClose);
        setGridVisible(true);
        // The office reads Italian month and day names, whatever the desktop's language.
        setLocale(QLocale(QLocale::Italian, QLocale::Italy));
        setFirstDayOfWeek(Qt::Monday);
        setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape) {
            close();
            return;
        }
        QCalendarWidget::keyPressEvent(event);
    }
};

} // namespace

TDBDateEdit::TDBDateEdit(QWidget *parent) : TDBEdit(parent)
{
    m_calendarButton = addAction(calendarPicture(), QLineEdit::TrailingPosition);
    m_calendarButton->setObjectName(QStringLiteral("calendarButton"));
    connect(m_calendarButton, &QAction::triggered, this, [this] { dropDown(); });
}

TDBDateEdit::~TDBDateEdit() = default;

QDate TDBDateEdit::shownDate() const
{
    const QDate date = QDate::fromString(text().trimmed(), kDateFormat);
    return date.isValid() ? date : QDate::currentDate();
}

void TDBDateEdit::dropDown()
{
    if (m_calendar && m_calendar->isVisible())
        return;
    auto *calendar = new CalendarPopup(this);
    calendar->setSelectedDate(shownDate());
    connect(calendar, &QCalendarWidget::activated, this, [this](const QDate &date) { pickDate(date); });
    connect(calendar, &QCalendarWidget::clicked, this, [this](const QDate &date) { pickDate(date); });
    calendar->adjustSize();
    calendar->move(mapToGlobal(QPoint(0, height())));
    m_calendar = calendar;
    calendar->show();
    calendar->setFocus();
}

void TDBDateEdit::pickDate(const QDate &date)
{
    if (m_calendar)
        m_calendar->close();
    if (enterAsTyped(date.toString(kDateFormat)))
        dataLink().updateRecord();
}

// Alt+Down drops the calendar down, as it does a list.
void TDBDateEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down && event->modifiers().testFlag(Qt::AltModifier)) {
        dropDown();
        return;
    }
    TDBEdit::keyPressEvent(event);
}
