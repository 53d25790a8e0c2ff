#include "forms/view_hub.h"

#include "forms/form_widget.h"

namespace tobira {

void ViewHub::refreshAll() {
    for (FormWidget* view : views_)
        view->render();
}

} // namespace tobira
