#pragma once
// The one QApplication of a test program, on the offscreen platform unless the caller
// chose another.

#include <QApplication>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace testsupport {

// Makes the application when there is none yet; it then lives as long as the program.
void ensureApplication();

// Makes the application before the first test and removes it after the last, with the
// application title the windows show in their captions.
class QtApplicationEnvironment final : public testing::Environment {
public:
    explicit QtApplicationEnvironment(QString displayName = {}) : m_displayName(std::move(displayName)) {}
    void SetUp() override;
    void TearDown() override { m_application.reset(); }

private:
    QString m_displayName;
    std::unique_ptr<QApplication> m_application;
};

} // namespace testsupport
