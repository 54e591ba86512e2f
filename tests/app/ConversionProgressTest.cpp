// The box shown while a .doc template is converted: the user's "Annulla" ends the wait at
// once, a finished conversion closes it, and a cancelled fill reaches no one as an error.

#include "forms/main/ConversionProgress.h"
#include "output/word/Application.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ScopedHook.h"

#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ConversionProgress, AnnullaEndsTheWaitAndAFinishedConverterClosesTheBox)
{
    QProcess slow;
    slow.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(slow.waitForStarted());
    QString label;
    {
        apptest::ModalScript script({[&](QWidget *modal) {
            auto *box = qobject_cast<QProgressDialog *>(modal);
            ASSERT_NE(box, nullptr);
            label = box->labelText();
            box->findChild<QPushButton *>()->click();
        }});
        EXPECT_EQ(waitWithProgress(nullptr, slow, QStringLiteral("/m/Vecchia lettera.doc")), word::ConversionEnd::Cancelled);
    }
    EXPECT_TRUE(label.contains(QStringLiteral("\"Vecchia lettera.doc\""))) << label.toStdString();
    slow.kill();
    slow.waitForFinished();

    QProcess quick;
    quick.start(QStringLiteral("true"), {});
    ASSERT_TRUE(quick.waitForStarted());
    EXPECT_EQ(waitWithProgress(nullptr, quick, QStringLiteral("a.doc")), word::ConversionEnd::Finished);
}

TEST(ConversionProgress, ACancelledConversionMakesNoDocument)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QTemporaryDir dir;
    const QString doc = dir.filePath(QStringLiteral("vecchio.doc"));
    apptest::writeFile(doc, "\xD0\xCF\x11\xE0 un vecchio documento");
    word::setConversionWait([](QProcess &, const QString &) { return word::ConversionEnd::Cancelled; });
    const testsupport::OnScopeEnd restore([] { word::setConversionWait({}); });
    word::Application application;
    EXPECT_THROW(application.Documents().Add(doc), word::ConversionCancelled);
    EXPECT_EQ(application.Documents().Count(), 0);
}

} // namespace
