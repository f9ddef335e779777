// Orvanta: start-up. The six windows are created hidden, main window first, and the event loop
// shows the main window.
#include "app/form1.h"
#include "platform/vcl/application.h"
#include "settings/form2.h"
#include "settings/form3.h"
#include "visual/companions.h"

int main() {
    vcl::TApplication application;
    vcl::Application->Initialize();
    vcl::Application->SetTitle("Orvanta");
    vcl::Application->CreateForm(Form1);
    vcl::Application->CreateForm(Form2);
    vcl::Application->CreateForm(Form3);
    vcl::Application->CreateForm(f1);
    vcl::Application->CreateForm(f2);
    vcl::Application->CreateForm(Form8);
    vcl::Application->Run();
    return 0;
}
