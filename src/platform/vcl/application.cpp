#include "platform/vcl/application.h"

#include "platform/vcl/core/dialogs.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/peers.h"
#include "platform/vcl/termination.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vcl {

TApplication* Application = nullptr;

namespace {

int ShowQtMessageBox(const MessageBoxRequest& request) {
    QMessageBox box(detail::WidgetOfHandle(request.Owner));
    box.setText(detail::ToQString(request.Text));
    box.setWindowTitle(detail::ToQString(request.Caption));
    switch (request.Icon()) {
    case MB_ICONERROR:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONWARNING:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    switch (request.Buttons()) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace

void Guarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        if (Application)
            Application->HandleException(error);
        else
            std::fprintf(stderr, "%s\n", error.what());
    } catch (...) {
        const std::runtime_error unknown("Unknown error");
        if (Application)
            Application->HandleException(unknown);
        else
            std::fprintf(stderr, "%s\n", unknown.what());
    }
}

TApplication::TApplication() : TComponent(nullptr) {
    detail::EnsureQtApplication();
    Application = this;
}

TApplication::~TApplication() {
    // Forms go last created first, each with its OnDestroy, while the others still exist.
    DestroyComponents();
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize() {
    DialogPresenter previous = SetDialogPresenter(ShowQtMessageBox);
    if (previous)
        SetDialogPresenter(std::move(previous)); // a recorder (or our own presenter) stays
}

void TApplication::SetTitle(const std::string& value) {
    FTitle = value;
    QCoreApplication::setApplicationName(detail::ToQString(value));
}

std::string TApplication::ExeName() const {
    std::error_code ec;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return path.string();
    return QCoreApplication::applicationFilePath().toStdString();
}

void TApplication::AdoptForm(TForm* form, std::function<void()> clearRef) {
    FForms.push_back(form);
    FRefClearers.emplace_back(form, std::move(clearRef));
    if (!FMainForm)
        FMainForm = form;
    // An error in the creation handler ends that handler only; the form exists all the same.
    Guarded([form] { form->DoCreate(); });
}

void TApplication::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    FForms.erase(std::remove(FForms.begin(), FForms.end(), AComponent), FForms.end());
    if (FMainForm == AComponent)
        FMainForm = nullptr;
    for (auto it = FRefClearers.begin(); it != FRefClearers.end(); ++it) {
        if (it->first == AComponent) {
            it->second();
            FRefClearers.erase(it);
            break;
        }
    }
}

void TApplication::ReleaseForm(TForm* form) {
    QPointer<QWidget> alive(form->Widget());
    QTimer::singleShot(0, QCoreApplication::instance(), [this, form, alive] {
        if (alive && Application == this &&
            std::find(FForms.begin(), FForms.end(), form) != FForms.end())
            Free(form);
    });
}

void TApplication::EnterLoop(void* loop) {
    FLoops.push_back(loop);
}

void TApplication::LeaveLoop(void* loop) {
    FLoops.erase(std::remove(FLoops.begin(), FLoops.end(), loop), FLoops.end());
}

void TApplication::Run() {
    if (FMainForm)
        Guarded([this] { FMainForm->Show(); });
    if (FTerminated)
        return;
    // A termination request closes the main form as its close box would: settings are saved,
    // and a refused save keeps the program running like any other failed close.
    TerminationWatch watch([this] {
        if (FMainForm)
            FMainForm->Close();
    });
    QEventLoop loop;
    EnterLoop(&loop);
    loop.exec();
    LeaveLoop(&loop);
}

void TApplication::Terminate() {
    FTerminated = true;
    for (void* loop : FLoops)
        static_cast<QEventLoop*>(loop)->quit();
}

void TApplication::ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::HandleException(const std::exception& error) {
    MessageBox(nullptr, error.what(), FTitle, MB_OK | MB_ICONERROR);
}

} // namespace vcl
