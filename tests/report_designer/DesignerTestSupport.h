#pragma once
// Shared by the designer's tests: dialogs that answer from a script and record what they
// were asked, a folder laid out as the program's (application folder with "stampe"), a
// supplied-style list saved there, and mouse drags on the canvas in layout pixels.

#include "output/report/ui/designer/TqnDesignerWindow.h"
#include "tests/report/ReportTestSupport.h"

#include <QTimer>
#include <deque>
#include <functional>

namespace designertest {

class ScriptedDialogs final : public DesignerDialogs {
public:
    Answer askSave(const QString &text) override;
    bool confirm(const QString &text, const QString &caption, bool noByDefault) override;
    void message(const QString &text, const QString &caption, TqnMessageIcon icon) override;
    QString openFile(const QString &caption, const QString &filter) override;
    QString saveFile(const QString &caption, const QString &filter, const QString &preset, int &filterIndex) override;
    QString chooseInFolder(const QStringList &names) override;
    QString askName(const QString &preset) override;
    std::optional<int> chooseItem(const QString &caption, const QString &label, const QStringList &items) override;
    std::optional<quint32> chooseColor(quint32 current) override;

    // The answers, used up in order; an empty queue cancels.
    std::deque<Answer> saveAnswers;
    std::deque<bool> confirmAnswers;
    QString fileName;           // the open or save dialog's choice (one use)
    int saveFilterIndex = 0;
    QString name;               // chooseInFolder / askName
    std::deque<int> items;
    std::optional<quint32> color;

    // What was asked or shown.
    QStringList questions;      // save and confirmation texts
    std::vector<reporttest::Message> messages;
    QString filter;
    QString preset;
    QStringList folderNames;
    QStringList itemsOffered;
};

class DesignerFixture : public reporttest::ArchiveReportFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A list like the supplied ones (page header, a data band over the cards with a
    // text box "Capofamiglia", page footer), written as stampe/<name> and loaded.
    QString makeSuppliedList(const QString &name = QStringLiteral("elenco_capofamiglia.qnf"));
    TqnDesignerWindow &openDesigner();
    void closeDesigner();
    // A press, moves and a release between two layout points.
    void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void click(QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    TqnView *object(const QString &name) const;
    QByteArray fileBytes(const QString &path) const;

    // Runs `answer` on the next dialog of type D once it shows modally (inside its own event
    // loop, as a user would); the answer accepts or rejects it.
    template <typename D>
    void answerDialog(std::function<void(D &)> answer)
    {
        answerModal([answer](QWidget *w) {
            auto *dialog = qobject_cast<D *>(w);
            if (dialog)
                answer(*dialog);
            return dialog != nullptr;
        });
    }
    void answerModal(std::function<bool(QWidget *)> answer);

    QString m_app;              // the application folder, current while the test runs
    QString m_savedFolder;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<TqnDesignerWindow> m_designer;
    QTimer m_dialogWatch;
};

} // namespace designertest
