#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QTemporaryFile>

namespace TestSupport {

// Sends everything the process writes to its standard error (file descriptor 2) to a
// temporary file while it lives, then puts the old standard error back.
class StderrCapture
{
public:
    StderrCapture();
    ~StderrCapture();

    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    // What was written so far.
    QByteArray text();

private:
    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace TestSupport
