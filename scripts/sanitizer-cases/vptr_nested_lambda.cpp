// SPDX-License-Identifier: GPL-3.0-or-later
// GCC 12 with -fsanitize=vptr builds wrong code for a lambda nested in a lambda when the inner
// one reaches a member of the captured `this` to call through a member-function pointer: the
// check looks at the wrong object and reports "member access within address … which does not
// point to an object of type 'Widget' (possibly invalid vptr)" for a whole, living object, and
// the call then goes to a wrong address (misaligned 'Model', then a crash). Without the vptr
// check, without sanitizers and with clang the same code is right.
//
//   g++ -std=c++20 -O1 -g -fsanitize=address,undefined \
//       scripts/sanitizer-cases/vptr_nested_lambda.cpp -o /tmp/case && /tmp/case
//     -> the vptr report on line 32 only ("sound" on line 34 passes), then a crash
//   g++ -std=c++20 -O1 -g -fsanitize=address,undefined -fno-sanitize=vptr … -> prints 2
//   clang++ -std=c++20 -O1 -g -fsanitize=address,undefined …                 -> prints 2
//
// Since the instrumented call itself goes wrong, a suppression would only hide the report: the
// window views use the second form, whose inner lambda captures the model, not `this`.
#include <cstdio>
#include <functional>

struct Model {
    int clicks = 0;
    void click() { ++clicks; }
};

struct Base {
    virtual ~Base() = default;
    void dispatch(const std::function<void()>& f) { f(); }
};

struct Widget final : Base {
    Model& model_;
    std::function<void()> faulty, sound;
    explicit Widget(Model& m) : model_(m) {
        const auto bind = [this](void (Model::*click)()) {
            // What GCC mis-instruments:
            faulty = [this, click] { dispatch([this, click] { (model_.*click)(); }); };
            // What it instruments right:
            sound = [this, click] { dispatch([&model = model_, click] { (model.*click)(); }); };
        };
        bind(&Model::click);
    }
};

int main() {
    Model model;
    Widget widget(model);
    widget.sound();
    widget.faulty();
    std::printf("%d\n", model.clicks);
    return model.clicks == 2 ? 0 : 1;
}
