#pragma once
// The message boxes of the report engine go through this interface; windows implement it
// with a real box, the command line writes to standard error, tests record.

#include <QString>

enum class TqnMessageIcon { None, Information, Warning, Error };

class ReportMessages {
public:
    virtual ~ReportMessages() = default;
    virtual void show(const QString &text, const QString &caption, TqnMessageIcon icon) = 0;
    // The exclamation sound before the preparation error.
    virtual void beep() {}
};
