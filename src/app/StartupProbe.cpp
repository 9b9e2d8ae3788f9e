#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

// The VmRSS line of /proc/self/status, in kB; -1 where there is none.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

class FirstPaint : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // After this paint has been done.
            QTimer::singleShot(0, [] {
                std::printf("startup-rss-kb %ld\n", ResidentKb());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

}  // namespace

void InstallStartupProbe(QWidget* widget)
{
    if (!widget || qEnvironmentVariableIsEmpty("VELTRA_STARTUP_PROBE"))
        return;
    widget->installEventFilter(new FirstPaint(widget));
}
