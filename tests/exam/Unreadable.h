#pragma once

// A file this process cannot read, as a learner's copy without read
// permission is. Root reads anything, so as root the process acts as the
// unprivileged user "nobody" while the object lives (its effective user
// only: it switches back), with the folder opened to that user.

#include <QByteArray>
#include <QFile>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace morvela::test {

class Unreadable {
public:
    Unreadable(const QString& folder, const QString& file)
    {
        QVERIFY(::chmod(QFile::encodeName(file).constData(), 0) == 0);
        if (::geteuid() != 0)
            return;
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        QVERIFY(::seteuid(Nobody) == 0);
        m_switched = true;
    }
    ~Unreadable()
    {
        if (m_switched && ::seteuid(0) != 0)
            qFatal("cannot become root again");
    }
    Unreadable(const Unreadable&) = delete;
    Unreadable& operator=(const Unreadable&) = delete;

private:
    static constexpr uid_t Nobody = 65534;
    bool m_switched = false;
};

} // namespace morvela::test
