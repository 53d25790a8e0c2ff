// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recording fakes of the ports, for core tests: messages are recorded, questions answered from
// a script, random numbers drawn from a script, posted tasks run when the test says so.

#include "forms/form_model.h"
#include "ports/ports.h"

#include <atomic>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tobira::testing {

class FakeMessages final : public MessagePort {
  public:
    void showMessage(const std::string& text) override {
        shown.push_back(text);
        if (onShow)
            onShow();
    }
    bool askYesNo(const std::string& text) override {
        asked.push_back(text);
        if (answers.empty())
            return false;
        bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    Answer askYesNoCancel(const std::string& text) override {
        asked.push_back(text);
        if (threeWayAnswers.empty())
            return Answer::Cancel;
        Answer answer = threeWayAnswers.front();
        threeWayAnswers.pop_front();
        return answer;
    }
    void beep() override { ++beeps; }
    std::vector<std::string> shown; // code page 932, as the core passed them
    std::function<void()> onShow;   // runs while the box would be up
    std::vector<std::string> asked;
    std::deque<bool> answers;           // scripted answers; "No" once they run out
    std::deque<Answer> threeWayAnswers; // "Cancel" once they run out
    int beeps = 0;
};

class FakeChoosers final : public ChooserPort {
  public:
    std::optional<std::string> chooseOpenFile(const std::string&, const std::string&,
                                              const std::string&) override {
        return take(files);
    }
    std::optional<std::string> chooseFolder(const std::string&, const std::string&) override {
        return take(folders);
    }
    std::optional<FontChoice> chooseFont(const FontChoice&) override {
        if (fonts.empty())
            return std::nullopt;
        auto f = fonts.front();
        fonts.pop_front();
        return f;
    }
    std::deque<std::optional<std::string>> files, folders;
    std::deque<std::optional<FontChoice>> fonts;

  private:
    static std::optional<std::string> take(std::deque<std::optional<std::string>>& q) {
        if (q.empty())
            return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

// Runs the work given to runBusy on a thread of its own, as the program does, and counts it.
class FakeBusy final : public BusyCursorPort {
  public:
    void beginBusy() override { ++depth, ++begun; }
    void endBusy() override { --depth; }
    void runBusy(const std::function<void()>& work) override {
        ++asides;
        const BusyCursor busy(*this);
        std::exception_ptr failure;
        std::thread([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
        }).join();
        if (failure)
            std::rethrow_exception(failure);
    }
    int depth = 0;
    int begun = 0;
    int asides = 0;
};

class FakeScreen final : public ScreenPort {
  public:
    ScreenSize screenSize() override { return size; }
    ScreenPoint pointerPosition() override { return pointer; }
    ScreenArea workArea() override { return area ? *area : ScreenPort::workArea(); }
    ScreenSize size{1920, 1080};
    std::optional<ScreenArea> area; // the whole screen unless set
    ScreenPoint pointer{};
};

class FakeRepaint final : public RepaintPort {
  public:
    void repaintNow() override { ++count; }
    int count = 0;
};

class FakeClock final : public ClockPort {
  public:
    std::chrono::system_clock::time_point now() override { return time; }
    std::chrono::system_clock::time_point time{};
};

// Draws from `script` while it lasts (each value taken modulo k), then returns 0.
class FakeRandom final : public RandomPort {
  public:
    int random(int k) override {
        requests.push_back(k);
        if (k <= 0)
            return 0;
        if (script.empty())
            return 0;
        int v = script.front();
        script.pop_front();
        return v % k;
    }
    std::deque<int> script;
    std::vector<int> requests;
};

class FakeProcesses final : public ProcessPort {
  public:
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return succeed;
    }
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<Start> started;
    bool succeed = true;
};

// Collects the tasks of raised wakes (from any thread); runPending() runs them on the test's
// thread.
class FakeUiPost final : public UiPostPort {
  public:
    void post(std::function<void()> task) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    // A raise posts one task, unless one is already waiting.
    std::unique_ptr<UiWake> makeWake(std::function<void()> task) override {
        return std::make_unique<Wake>(*this, std::move(task));
    }
    // Runs every task posted so far, and those they post in turn. Returns how many ran.
    int runPending() {
        int ran = 0;
        for (;;) {
            std::function<void()> task;
            {
                std::lock_guard lock(mutex_);
                if (tasks_.empty())
                    return ran;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
            ++ran;
        }
    }

  private:
    class Wake final : public UiWake {
      public:
        Wake(FakeUiPost& owner, std::function<void()> task)
            : owner_(owner), state_(std::make_shared<State>()) {
            state_->task = std::move(task);
        }
        ~Wake() override { state_->alive = false; }
        void raise() override {
            if (state_->raised.exchange(true))
                return;
            owner_.post([state = state_] {
                state->raised = false;
                if (state->alive)
                    state->task();
            });
        }

      private:
        struct State {
            std::function<void()> task;
            std::atomic<bool> raised{false};
            std::atomic<bool> alive{true};
        };
        FakeUiPost& owner_;
        std::shared_ptr<State> state_;
    };

    std::mutex mutex_;
    std::deque<std::function<void()>> tasks_;
};

// Records what was asked of the windowing system. A modal window is shown and, by default,
// hidden again at once (as if the user closed it); `onModal` can act while it is up.
class FakeWindows final : public WindowPort {
  public:
    void iconifyApplication() override { ++iconified; }
    void closeMainWindow() override { ++closeRequests; }
    void raiseMainWindow() override { ++raises; }
    void showModal(FormModel& form) override;
    int iconified = 0;
    int closeRequests = 0;
    int raises = 0;
    std::vector<FormModel*> modals;
    std::function<void(FormModel&)> onModal;
};

// Every byte 6 pixels wide, in a label of `labelWidth` pixels.
class FakeTextWidth final : public TextWidthPort {
  public:
    int titleTextWidth(const std::string& cp932) override {
        return 6 * static_cast<int>(cp932.size());
    }
    int titleLabelWidth() override { return labelWidth; }
    int labelWidth = 196;
};

// All fakes together, with a Ports view of them.
struct FakePorts {
    FakeMessages messages;
    FakeChoosers choosers;
    FakeBusy busy;
    FakeScreen screen;
    FakeRepaint repaint;
    FakeClock clock;
    FakeRandom random;
    FakeProcesses processes;
    FakeUiPost uiPost;
    FakeWindows windows;
    FakeTextWidth textWidth;
    Ports ports() {
        return {.messages = messages,
                .choosers = choosers,
                .busy = busy,
                .screen = screen,
                .repaint = repaint,
                .clock = clock,
                .random = random,
                .processes = processes,
                .uiPost = uiPost,
                .windows = windows,
                .textWidth = textWidth};
    }
};

inline void FakeWindows::showModal(FormModel& form) {
    modals.push_back(&form);
    form.Show();
    if (onModal)
        onModal(form);
    form.Hide();
}

} // namespace tobira::testing
