#include "platform/vcl/core/dialogs.h"

#include <utility>

namespace vcl {

namespace {
DialogPresenter& CurrentPresenter() {
    static DialogPresenter presenter;
    return presenter;
}
} // namespace

DialogPresenter SetDialogPresenter(DialogPresenter presenter) {
    return std::exchange(CurrentPresenter(), std::move(presenter));
}

int MessageBox(const void* owner, const std::string& text, const std::string& caption,
               unsigned flags) {
    MessageBoxRequest request{text, caption, flags, owner};
    if (CurrentPresenter())
        return CurrentPresenter()(request);
    switch (request.Buttons()) {
    case MB_YESNO:
        return IDYES;
    default:
        return IDOK;
    }
}

DialogRecorder::DialogRecorder(int answer) : Answer(answer) {
    FPrevious = SetDialogPresenter([this](const MessageBoxRequest& r) {
        Shown.push_back(r);
        return Answer;
    });
}

DialogRecorder::~DialogRecorder() {
    SetDialogPresenter(std::move(FPrevious));
}

} // namespace vcl
