// Message boxes go through one replaceable presenter: the window layer installs one that shows
// real boxes, tests install a recorder, and nothing blocks a headless run.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vcl {

// Button sets and icons, with the platform's values.
enum : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest {
    std::string Text;
    std::string Caption;
    unsigned Flags = MB_OK; // buttons | icon
    const void* Owner = nullptr;
    unsigned Buttons() const { return Flags & 0x0F; }
    unsigned Icon() const { return Flags & 0xF0; }
};

// Returns the pressed button (IDOK, IDCANCEL, ...).
using DialogPresenter = std::function<int(const MessageBoxRequest&)>;

// Installs a presenter and returns the previous one. The default presses the first button
// without showing anything.
DialogPresenter SetDialogPresenter(DialogPresenter presenter);

int MessageBox(const void* owner, const std::string& text, const std::string& caption,
               unsigned flags);

// Records every box and answers with a fixed button; restores the previous presenter when
// destroyed.
class DialogRecorder {
public:
    explicit DialogRecorder(int answer = IDOK);
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    std::vector<MessageBoxRequest> Shown;
    int Answer;

private:
    DialogPresenter FPrevious;
};

} // namespace vcl
