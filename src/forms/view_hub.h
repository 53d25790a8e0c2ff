#pragma once

#include <vector>

namespace tobira {

class FormWidget;

// Every window view. After any event reaches the core (a click, a tick, a device notice) all
// views draw their models again, since a handler of one window may change another.
class ViewHub final {
  public:
    void add(FormWidget* view) { views_.push_back(view); }
    void refreshAll();

  private:
    std::vector<FormWidget*> views_;
};

} // namespace tobira
