#include "platform/vcl/stdctrls.h"

#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/peers.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>

namespace vcl {

// ---- TLabel ----

TLabel::TLabel(TComponent* AOwner) : TControl(AOwner) {
    FParentColor = true;
    FWidth = 65;
    FHeight = 17;
    auto* label = new QLabel;
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    AttachPeer(label);
    SetAlignment(taLeftJustify);
}

void TLabel::ApplyCaption() {
    if (!FWidget)
        return;
    static_cast<QLabel*>(FWidget)->setText(detail::ToQString(FCaption));
    AdjustBounds();
}

void TLabel::ApplyColor() {
    if (!FWidget)
        return;
    TControl::ApplyColor();
    FWidget->setAutoFillBackground(!FTransparent);
}

void TLabel::CMFontChanged() {
    AdjustBounds();
}

void TLabel::SetAutoSize(bool value) {
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
    FAlignment = value;
    Qt::Alignment a = Qt::AlignTop;
    a |= value == taCenter ? Qt::AlignHCenter
                           : (value == taRightJustify ? Qt::AlignRight : Qt::AlignLeft);
    static_cast<QLabel*>(FWidget)->setAlignment(a);
}

void TLabel::SetTransparent(bool value) {
    FTransparent = value;
    ApplyColor();
}

void TLabel::SetWordWrap(bool value) {
    FWordWrap = value;
    static_cast<QLabel*>(FWidget)->setWordWrap(value);
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || FWordWrap || !FWidget)
        return;
    const QFontMetrics metrics(detail::ToQFont(FFont));
    const QString text = detail::ToQString(FCaption);
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    // A right-aligned label grows to the left, as its text is anchored on the right.
    const int left = FAlignment == taRightJustify ? FLeft + FWidth - w : FLeft;
    SetBounds(left, FTop, w, h);
}

// ---- TButton / TBitBtn ----

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 75;
    FHeight = 25;
    FTabStop = true;
    auto* button = new QPushButton;
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, [this] { Guarded([this] { Click(); }); });
    AttachPeer(button);
}

void TButton::Click() {
    TWinControl::Click();
    if (FModalResult == 0)
        return;
    for (TControl* c = this; c; c = c->Parent())
        if (auto* form = dynamic_cast<TForm*>(c)) {
            form->SetModalResult(FModalResult);
            break;
        }
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    static_cast<QPushButton*>(FWidget)->setDefault(value);
}

void TButton::ApplyCaption() {
    // '&' marks an accelerator in both worlds.
    if (FWidget)
        static_cast<QPushButton*>(FWidget)->setText(detail::ToQString(FCaption));
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {}

void TBitBtn::SetGlyph(const TBitmap& value) {
    FGlyph = value;
    auto* button = static_cast<QPushButton*>(FWidget);
    if (FGlyph.Empty()) {
        button->setIcon(QIcon());
        return;
    }
    const QPixmap pixmap = QPixmap::fromImage(detail::ImageView(FGlyph).copy());
    button->setIcon(QIcon(pixmap));
    button->setIconSize(pixmap.size());
}

// ---- TCheckBox ----

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 97;
    FHeight = 17;
    FTabStop = true;
    auto* box = new QCheckBox;
    QObject::connect(box, &QCheckBox::clicked,
                     [this](bool checked) { Guarded([this, checked] { UserToggled(checked); }); });
    AttachPeer(box);
}

void TCheckBox::ApplyCaption() {
    if (FWidget)
        static_cast<QCheckBox*>(FWidget)->setText(detail::ToQString(FCaption));
}

void TCheckBox::SetChecked(bool value) {
    if (FChecked == value)
        return;
    FChecked = value;
    static_cast<QCheckBox*>(FWidget)->setChecked(value);
    Click();
}

void TCheckBox::UserToggled(bool checked) {
    if (FChecked == checked)
        return;
    FChecked = checked;
    Click();
}

// ---- TEdit ----

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    auto* edit = new QLineEdit;
    QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& text) {
        const std::string utf8 = detail::FromQString(text);
        Guarded([this, &utf8] { UserEdited(utf8); });
    });
    AttachPeer(edit);
}

void TEdit::ApplyCaption() {
    if (!FWidget || FFromUser)
        return;
    static_cast<QLineEdit*>(FWidget)->setText(detail::ToQString(FCaption));
}

void TEdit::ApplyColor() {
    if (!FWidget)
        return;
    QPalette pal = FWidget->palette();
    pal.setColor(QPalette::Base, detail::ToQColor(EffectiveColor()));
    FWidget->setPalette(pal);
}

void TEdit::CMTextChanged() {
    if (OnChange)
        OnChange(this);
}

void TEdit::SetMaxLength(int value) {
    FMaxLength = value;
    static_cast<QLineEdit*>(FWidget)->setMaxLength(value > 0 ? value : 32767);
}

void TEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    static_cast<QLineEdit*>(FWidget)->setReadOnly(value);
}

void TEdit::UserEdited(const std::string& text) {
    FFromUser = true;
    try {
        SetCaption(text);
    } catch (...) {
        FFromUser = false;
        throw;
    }
    FFromUser = false;
}

// ---- TGroupBox ----

TGroupBox::TGroupBox(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 185;
    FHeight = 105;
    FParentColor = true;
    FControlStyle |= csAcceptsControls;
    AttachPeer(new QGroupBox);
}

void TGroupBox::ApplyCaption() {
    if (FWidget)
        static_cast<QGroupBox*>(FWidget)->setTitle(detail::ToQString(FCaption));
}

// ---- TScrollBar ----

TScrollBar::TScrollBar(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 121;
    FHeight = 17;
    FTabStop = true;
    auto* bar = new QScrollBar(Qt::Horizontal);
    QObject::connect(bar, &QScrollBar::valueChanged,
                     [this](int value) { Guarded([this, value] { UserScrolled(value); }); });
    AttachPeer(bar);
    ApplyRange();
}

void TScrollBar::ApplyRange() {
    auto* bar = static_cast<QScrollBar*>(FWidget);
    const QSignalBlocker block(bar);
    bar->setRange(FMin, FMax);
    bar->setPageStep(FPageSize > 0 ? FPageSize : FLargeChange);
    bar->setSingleStep(FSmallChange);
    bar->setValue(FPosition);
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin)
        throw Exception("Scroll bar property out of range");
    APosition = std::clamp(APosition, AMin, AMax);
    const bool changed = APosition != FPosition;
    FMin = AMin;
    FMax = AMax;
    FPosition = APosition;
    ApplyRange();
    if (changed && OnChange)
        OnChange(this);
}

void TScrollBar::SetPageSize(int value) {
    FPageSize = std::max(0, value);
    ApplyRange();
}

void TScrollBar::SetSmallChange(int value) {
    FSmallChange = value;
    ApplyRange();
}

void TScrollBar::SetLargeChange(int value) {
    FLargeChange = value;
    ApplyRange();
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value)
        return;
    FKind = value;
    static_cast<QScrollBar*>(FWidget)->setOrientation(value == sbHorizontal ? Qt::Horizontal
                                                                            : Qt::Vertical);
    SetBounds(FLeft, FTop, FHeight, FWidth);
}

void TScrollBar::UserScrolled(int value) {
    SetPosition(value);
}

} // namespace vcl
