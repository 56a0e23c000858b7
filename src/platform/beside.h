// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second core for pure computation (building a document from a sheet, deflating a page)
// while this thread lays out and paints: jobs run one after another, in the order given.
// A job touches no Qt object: Qt's fonts belong to the thread that loaded them.
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace equat {

class Beside {
  public:
    Beside();
    ~Beside();  // runs the jobs still waiting, then stops
    Beside(const Beside&) = delete;
    Beside& operator=(const Beside&) = delete;

    template <class F>
    auto Run(F job) -> std::future<decltype(job())> {
        auto task = std::make_shared<std::packaged_task<decltype(job())()>>(std::move(job));
        auto result = task->get_future();
        Push([task] { (*task)(); });
        return result;
    }

  private:
    void Push(std::function<void()> job);
    void Loop();

    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<std::function<void()>> jobs_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace equat
