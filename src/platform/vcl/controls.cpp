#include "platform/vcl/controls.h"

#include "platform/vcl/peers.h"

#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace vcl {

TObject::~TObject() = default;

// ---- TComponent ----

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    FComponentState |= csDestroying;
    DestroyComponents();
    // Tell everyone who asked; they drop their references to us.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveNotifyLink(this);
        other->Notification(this, opRemove);
    }
    if (FOwner)
        FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    return FComponents.at(static_cast<std::size_t>(index));
}

void TComponent::InsertComponent(TComponent* AComponent) {
    AComponent->FOwner = this;
    FComponents.push_back(AComponent);
    Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
    auto it = std::find(FComponents.begin(), FComponents.end(), AComponent);
    if (it == FComponents.end())
        return;
    FComponents.erase(it);
    AComponent->FOwner = nullptr;
    Notification(AComponent, opRemove);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent)
        RemoveFreeNotification(AComponent);
    // Owned components hear of their siblings' arrival and departure too.
    const std::vector<TComponent*> owned = FComponents;
    for (TComponent* c : owned)
        if (c != AComponent &&
            std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(AComponent, Operation);
}

void TComponent::FreeNotification(TComponent* AComponent) {
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
    RemoveNotifyLink(AComponent);
    if (AComponent)
        AComponent->RemoveNotifyLink(this);
}

void TComponent::RemoveNotifyLink(TComponent* AComponent) {
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                        FFreeNotifies.end());
}

void TComponent::BeforeDestruction() {
    FComponentState |= csDestroying;
    FBeforeDestructionDone = true;
}

void TComponent::Free(TComponent* component) {
    if (!component)
        return;
    if (!component->FBeforeDestructionDone)
        component->BeforeDestruction();
    delete component;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        Free(last); // its destructor removes it from FComponents
        if (!FComponents.empty() && FComponents.back() == last)
            FComponents.pop_back();
    }
}

// ---- TFont ----

void TFont::SetName(const std::string& value) {
    if (FName == value)
        return;
    FName = value;
    Changed();
}

void TFont::SetHeight(int value) {
    if (FHeight == value)
        return;
    FHeight = value;
    Changed();
}

int TFont::Size() const {
    // Points at 96 pixels per inch, rounded as the platform does (MulDiv).
    return (-FHeight * 72 + (FHeight < 0 ? 48 : -48)) / 96;
}

void TFont::SetSize(int points) {
    SetHeight(-(points * 96 + 36) / 72);
}

void TFont::SetColor(TColor value) {
    if (FColor == value)
        return;
    FColor = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (FStyle == value)
        return;
    FStyle = value;
    Changed();
}

void TFont::Assign(const TFont& source) {
    if (*this == source)
        return;
    FName = source.FName;
    FHeight = source.FHeight;
    FColor = source.FColor;
    FStyle = source.FStyle;
    Changed();
}

bool TFont::operator==(const TFont& other) const {
    return FName == other.FName && FHeight == other.FHeight && FColor == other.FColor &&
           FStyle == other.FStyle;
}

void TFont::Changed() {
    if (OnChange)
        OnChange();
}

// ---- TControl ----

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
    detail::EnsureQtApplication();
    FFont.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
    if (FParent)
        FParent->RemoveControl(this);
    FParent = nullptr;
    if (FWidget)
        for (auto* events : FWidget->findChildren<detail::PeerEvents*>())
            events->Detach();
    delete FWidget;
    FWidget = nullptr;
}

void TControl::BeforeDestruction() {
    // No more events from the peer once destruction starts.
    if (FWidget) {
        for (auto* events : FWidget->findChildren<detail::PeerEvents*>())
            events->Detach();
    }
    TComponent::BeforeDestruction();
}

void TControl::AttachPeer(QWidget* widget) {
    FWidget = widget;
    FWidget->setAttribute(Qt::WA_DeleteOnClose, false);
    if (!detail::PeerEvents::Of(widget))
        detail::ForwardEvents(this, widget);
    ApplyBounds();
    ApplyFont();
    ApplyColor();
    ApplyCaption();
    FWidget->setEnabled(FEnabled);
    ApplyVisible();
}

void TControl::ApplyBounds() {
    if (FWidget && FParent)
        FWidget->setGeometry(FLeft, FTop, std::max(0, FWidth), std::max(0, FHeight));
}

void TControl::ApplyVisible() {
    if (!FWidget)
        return;
    // A control without a parent would become a window of its own if shown.
    FWidget->setVisible(FVisible && FParent != nullptr);
}

void TControl::ApplyColor() {
    if (!FWidget)
        return;
    QPalette pal = FWidget->palette();
    pal.setColor(QPalette::Window, detail::ToQColor(EffectiveColor()));
    FWidget->setPalette(pal);
}

void TControl::ApplyFont() {
    if (!FWidget)
        return;
    FWidget->setFont(detail::ToQFont(FFont));
    if (FFont.Color() != clWindowText) {
        QPalette pal = FWidget->palette();
        const QColor c = detail::ToQColor(FFont.Color());
        pal.setColor(QPalette::WindowText, c);
        pal.setColor(QPalette::ButtonText, c);
        pal.setColor(QPalette::Text, c);
        FWidget->setPalette(pal);
    }
}

TColor TControl::EffectiveColor() const {
    if (FParentColor && FParent)
        return FParent->EffectiveColor();
    return FColor;
}

void TControl::StoreBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    if (resized)
        WMSize();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight)
        return;
    const bool resized = AWidth != FWidth || AHeight != FHeight;
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    ApplyBounds();
    if (resized)
        WMSize();
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

void TControl::SetClientSize(int AWidth, int AHeight) {
    SetBounds(FLeft, FTop, FWidth + AWidth - ClientWidth(), FHeight + AHeight - ClientHeight());
}

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent)
        return;
    if (AParent == this)
        return;
    if (FParent)
        FParent->RemoveControl(this);
    FParent = AParent;
    if (FParent)
        FParent->InsertControl(this);
    if (FWidget) {
        FWidget->setParent(FParent ? FParent->FWidget : nullptr);
        ApplyBounds();
    }
    if (FParent) {
        if (FParentFont)
            ParentFontChanged(FParent->FFont);
        if (FParentColor)
            ApplyColor();
        if (FAlign != alNone)
            FParent->Realign();
    }
    ApplyVisible();
    if (auto* win = dynamic_cast<TWinControl*>(this); win && FParent)
        win->EnsureCreated();
}

void TControl::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    ApplyVisible();
    CMVisibleChanged();
    if (FParent && FAlign != alNone)
        FParent->Realign();
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible)
            return false;
    return true;
}

void TControl::SetEnabled(bool value) {
    if (FEnabled == value)
        return;
    FEnabled = value;
    if (FWidget)
        FWidget->setEnabled(value);
    CMEnabledChanged();
}

void TControl::SetCaption(const std::string& value) {
    if (FCaption == value)
        return;
    FCaption = value;
    ApplyCaption();
    CMTextChanged();
}

void TControl::SetColor(TColor value) {
    if (FColor == value && !FParentColor)
        return;
    FColor = value;
    FParentColor = false;
    ApplyColor();
    Invalidate();
}

void TControl::SetParentColor(bool value) {
    if (FParentColor == value)
        return;
    FParentColor = value;
    if (value)
        ParentColorChanged();
}

void TControl::ParentColorChanged() {
    ApplyColor();
    CMParentColorChanged();
}

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value && FParent)
        ParentFontChanged(FParent->FFont);
}

void TControl::ParentFontChanged(const TFont& parentFont) {
    FApplyingParentFont = true;
    FFont.Assign(parentFont);
    FApplyingParentFont = false;
}

void TControl::FontChanged() {
    if (!FApplyingParentFont)
        FParentFont = false;
    ApplyFont();
    CMFontChanged();
}

void TControl::SetHint(const std::string& value) {
    FHint = value;
    if (FWidget)
        FWidget->setToolTip(FShowHint ? detail::ToQString(value) : QString());
}

void TControl::SetShowHint(bool value) {
    FShowHint = value;
    SetHint(FHint);
}

void TControl::SetCursor(TCursor value) {
    FCursor = value;
    if (!FWidget)
        return;
    switch (value) {
    case crHandPoint:
        FWidget->setCursor(Qt::PointingHandCursor);
        break;
    case crCross:
        FWidget->setCursor(Qt::CrossCursor);
        break;
    case crIBeam:
        FWidget->setCursor(Qt::IBeamCursor);
        break;
    case crSizeAll:
        FWidget->setCursor(Qt::SizeAllCursor);
        break;
    case crHourGlass:
        FWidget->setCursor(Qt::WaitCursor);
        break;
    default:
        FWidget->unsetCursor();
        break;
    }
}

void TControl::SetAlign(TAlign value) {
    if (FAlign == value)
        return;
    FAlign = value;
    if (FParent)
        FParent->Realign();
}

void TControl::Invalidate() {
    if (FWidget)
        FWidget->update();
}

void TControl::Repaint() {
    if (FWidget && FWidget->isVisible())
        FWidget->repaint();
}

void TControl::Update() {
    if (FWidget && FWidget->isVisible())
        FWidget->repaint();
}

void TControl::BringToFront() {
    if (FWidget)
        FWidget->raise();
}

void TControl::SendToBack() {
    if (FWidget)
        FWidget->lower();
}

void TControl::Click() {
    if (OnClick)
        OnClick(this);
}

TPoint TControl::ClientToScreen(TPoint p) const {
    if (!FWidget)
        return p;
    const QPoint g = FWidget->mapToGlobal(QPoint(p.X, p.Y));
    return TPoint{g.x(), g.y()};
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TControl::WMSize() {
    if (OnResize)
        OnResize(this);
}

// ---- TWinControl ----

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl() {
    // Owned components go while our peer still holds theirs; children owned elsewhere are
    // unhooked so Qt does not delete their peers with ours.
    DestroyComponents();
    while (!FControls.empty())
        FControls.back()->SetParent(nullptr);
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
    FControls.erase(std::remove(FControls.begin(), FControls.end(), control), FControls.end());
}

void TWinControl::EnsureCreated() {
    if (FWndCreated)
        return;
    FWndCreated = true;
    CreateWnd();
}

void TWinControl::SetTabStop(bool value) {
    FTabStop = value;
    if (FWidget && dynamic_cast<TCustomControl*>(this))
        FWidget->setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
    else if (FWidget && !value)
        FWidget->setFocusPolicy(Qt::ClickFocus);
}

void TWinControl::SetTabOrder(int value) {
    FTabOrder = value;
    if (FParent)
        FParent->ApplyTabOrder();
}

void TWinControl::ApplyTabOrder() {
    std::vector<TWinControl*> ordered;
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FWidget && w->FTabOrder >= 0)
            ordered.push_back(w);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](TWinControl* a, TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
    for (std::size_t i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(ordered[i - 1]->FWidget, ordered[i]->FWidget);
}

bool TWinControl::CanFocus() const {
    return FWidget && Showing() && FEnabled;
}

void TWinControl::SetFocus() {
    if (FWidget)
        FWidget->setFocus(Qt::OtherFocusReason);
}

bool TWinControl::Focused() const {
    return FWidget && FWidget->hasFocus();
}

void TWinControl::SetColor(TColor value) {
    TControl::SetColor(value);
    for (TControl* c : FControls)
        if (c->FParentColor)
            c->ParentColorChanged();
}

void TWinControl::ApplyFont() {
    TControl::ApplyFont();
    for (TControl* c : FControls)
        if (c->FParentFont)
            c->ParentFontChanged(FFont);
}

void TWinControl::WMSize() {
    Realign();
    TControl::WMSize();
}

void TWinControl::Realign() {
    if (FAligning)
        return;
    FAligning = true;
    int left = 0, top = 0, right = ClientWidth(), bottom = ClientHeight();
    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : FControls) {
            if (c->FAlign != pass || !c->FVisible)
                continue;
            switch (pass) {
            case alTop:
                c->SetBounds(left, top, right - left, c->FHeight);
                top += c->FHeight;
                break;
            case alBottom:
                c->SetBounds(left, bottom - c->FHeight, right - left, c->FHeight);
                bottom -= c->FHeight;
                break;
            case alLeft:
                c->SetBounds(left, top, c->FWidth, bottom - top);
                left += c->FWidth;
                break;
            case alRight:
                c->SetBounds(right - c->FWidth, top, c->FWidth, bottom - top);
                right -= c->FWidth;
                break;
            default:
                c->SetBounds(left, top, right - left, bottom - top);
                break;
            }
        }
    }
    FAligning = false;
}

void TWinControl::KeyDown(unsigned short& Key, TShiftState Shift) {
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(unsigned short& Key, TShiftState Shift) {
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress)
        OnKeyPress(this, Key);
}

void TWinControl::WMSetFocus() {
    if (OnEnter)
        OnEnter(this);
}

void TWinControl::WMKillFocus() {
    if (OnExit)
        OnExit(this);
}

} // namespace vcl
