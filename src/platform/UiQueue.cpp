#include "platform/UiQueue.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <atomic>
#include <deque>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

namespace {

class UiQueue final : public QObject {
public:
    explicit UiQueue(QObject* parent) : QObject(parent)
    {
        if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            m_pipe[0] = m_pipe[1] = -1;
            return;
        }
        m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] { Run(); });
    }
    ~UiQueue() override
    {
        delete m_notifier;
        for (int fd : m_pipe)
            if (fd >= 0)
                ::close(fd);
    }
    UiQueue(const UiQueue&) = delete;
    UiQueue& operator=(const UiQueue&) = delete;

    bool Valid() const { return m_pipe[1] >= 0; }

    void Post(std::function<void()> call)
    {
        const std::lock_guard lock(m_mutex);
        m_calls.push_back(std::move(call));
        // One byte in the pipe stands for every call queued behind it.
        if (!m_signalled) {
            const char byte = 1;
            m_signalled = ::write(m_pipe[1], &byte, 1) == 1;
        }
    }

    void Discard()
    {
        std::deque<std::function<void()>> dropped;
        const std::lock_guard lock(m_mutex);
        dropped.swap(m_calls);
    }

private:
    void Run()
    {
        std::deque<std::function<void()>> calls;
        {
            const std::lock_guard lock(m_mutex);
            char bytes[16];
            while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
            }
            m_signalled = false;
            calls.swap(m_calls);
        }
        for (auto& call : calls)
            call();
    }

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    std::mutex m_mutex;
    std::deque<std::function<void()>> m_calls;
    bool m_signalled = false;
};

std::atomic<UiQueue*> g_queue{nullptr};

}  // namespace

void InstallUserInterfaceQueue()
{
    if (g_queue.load())
        return;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    auto* queue = new UiQueue(app);  // owned by the application object
    if (!queue->Valid()) {
        delete queue;
        return;
    }
    QObject::connect(queue, &QObject::destroyed, [] { g_queue.store(nullptr); });
    g_queue.store(queue);
}

bool PostToUserInterface(std::function<void()> call)
{
    UiQueue* queue = g_queue.load();
    if (!queue)
        return false;
    queue->Post(std::move(call));
    return true;
}

void DiscardUserInterfaceCalls()
{
    if (UiQueue* queue = g_queue.load())
        queue->Discard();
}
