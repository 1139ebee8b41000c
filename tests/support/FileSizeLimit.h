#pragma once

#include <csignal>
#include <cstring>

#include <QtCore/QString>

#include <sys/resource.h>

namespace TestSupport {

// Makes the kernel refuse, for this process and while the object lives, every byte
// written to a regular file past the given size (EFBIG, "File too large"), as a full
// disk refuses them: a write that crosses the limit is cut short and the next one
// fails. No mount and no privilege needed. The signal such a write raises is ignored
// meanwhile, so the write fails instead of ending the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        m_ok = getrlimit(RLIMIT_FSIZE, &m_old) == 0;
        if (m_ok) {
            rlimit limited = m_old;
            limited.rlim_cur = bytes;
            m_ok = setrlimit(RLIMIT_FSIZE, &limited) == 0;
        }
    }
    ~FileSizeLimit()
    {
        if (m_ok)
            setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool isActive() const { return m_ok; }
    // The reason the system gives for a refused write.
    static QString reason() { return QString::fromLocal8Bit(std::strerror(EFBIG)); }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_ok = false;
};

} // namespace TestSupport
