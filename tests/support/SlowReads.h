#pragma once

#include "model/GWMessage.h"
#include "view/MessageLoader.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>

namespace tarvin::testing {

// Stands in for a slow source (a stalled network mount) while it lives: message reads of files
// whose path contains `slowPart` wait on their worker thread until Release() (at most 20 s),
// then read the file; other files read at once.
class TSlowReads {
public:
    explicit TSlowReads(const QString &slowPart) {
        auto gate = m_gate;
        auto started = m_started;
        TMessageLoader::SetReadFunction([slowPart, gate, started](const QString &path) {
            if (path.contains(slowPart)) {
                ++*started;
                gate->wait_for(std::chrono::seconds(20));
            }
            auto message = std::make_unique<TGWMessage>();
            message->LoadFromFile(path);
            return message;
        });
    }
    ~TSlowReads() {
        Release();
        TMessageLoader::SetReadFunction({});
    }
    TSlowReads(const TSlowReads &) = delete;
    TSlowReads &operator=(const TSlowReads &) = delete;

    // Lets the waiting reads (and every later one) go on.
    void Release() {
        if (!m_released.exchange(true))
            m_open.set_value();
    }
    // Slow reads begun so far.
    int Started() const { return *m_started; }

private:
    std::promise<void> m_open;
    std::shared_ptr<std::shared_future<void>> m_gate =
        std::make_shared<std::shared_future<void>>(m_open.get_future().share());
    std::shared_ptr<std::atomic<int>> m_started = std::make_shared<std::atomic<int>>(0);
    std::atomic<bool> m_released{false};
};

} // namespace tarvin::testing
