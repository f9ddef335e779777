// The application object: the program's title, its forms (created in order, destroyed at the
// end, the first one being the main form), the event loop, and the general error handler that
// every entry from the window system reports to.
#pragma once

#include "platform/vcl/controls.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace vcl {

class TForm;

class TApplication : public TComponent {
public:
    // Makes this the global Application. One at a time; a test may create and destroy one per
    // test (the Qt application underneath is created once per process).
    TApplication();
    // Destroys the forms, last created first, and clears the global Application.
    ~TApplication() override;

    // Installs the on-screen message boxes (kept out when a test already installed a recorder).
    void Initialize();

    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value);
    // Full path of the running program.
    std::string ExeName() const;
    // Identity of the application for dialogs owned by no window.
    const void* Handle() const { return this; }

    // Constructs a form owned by the application, stores it in `ref`, then runs its creation
    // handler (OnCreate), so code in that handler already sees `ref`. The first form created is
    // the main form. `ref` is cleared when the form is destroyed.
    template <class T> void CreateForm(T*& ref) {
        T* form = new T(this);
        ref = form;
        T** slot = &ref;
        AdoptForm(form, [slot, form] {
            if (*slot == form)
                *slot = nullptr;
        });
    }

    TForm* MainForm() const { return FMainForm; }
    // Shows the main form and dispatches events until Terminate (closing the main form).
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Dispatches the pending events and returns.
    void ProcessMessages();

    // The general error handler: a message box with the error's text, the title as caption,
    // an error icon and OK.
    void HandleException(const std::exception& error);

    // Forms in creation order (for the window layer).
    const std::vector<TForm*>& Forms() const { return FForms; }

    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TForm;
    void AdoptForm(TForm* form, std::function<void()> clearRef);
    // Nested loops (Run, ShowModal) register so Terminate can end them all.
    // Destroys a form that closed with caFree once the current event is done.
    void ReleaseForm(TForm* form);
    void EnterLoop(void* loop);
    void LeaveLoop(void* loop);

    std::string FTitle;
    TForm* FMainForm = nullptr;
    std::vector<TForm*> FForms;
    std::vector<std::pair<TComponent*, std::function<void()>>> FRefClearers;
    std::vector<void*> FLoops;
    bool FTerminated = false;
};

extern TApplication* Application;

} // namespace vcl
