// The standard controls: labels, buttons, check boxes, list boxes, edits, group boxes and
// scroll bars. Each keeps its values itself; its Qt peer only shows them and reports the user.
#pragma once

#include "platform/vcl/controls.h"
#include "platform/vcl/core/strings.h"

#include <memory>

namespace vcl {

// A line of text. AutoSize (on by default) fits the bounds to the text.
class TLabel : public TControl {
public:
    explicit TLabel(TComponent* AOwner);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    // A transparent label shows what lies behind it instead of its Color.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

protected:
    void ApplyCaption() override;
    void ApplyColor() override;
    void CMFontChanged() override;

private:
    void AdjustBounds();
    bool FAutoSize = true;
    TAlignment FAlignment = taLeftJustify;
    bool FTransparent = false;
    bool FWordWrap = false;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    // Runs OnClick, then hands ModalResult (if any) to the form showing this button modally.
    void Click() override;
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value);

protected:
    void ApplyCaption() override;

private:
    int FModalResult = 0;
    bool FDefault = false;
};

// A push button that may carry a picture beside its caption.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    const TBitmap& Glyph() const { return FGlyph; }
    // An empty bitmap removes the picture.
    void SetGlyph(const TBitmap& value);

private:
    TBitmap FGlyph;
};

class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    // A change fires OnClick, whoever makes it.
    void SetChecked(bool value);

protected:
    void ApplyCaption() override;

private:
    friend struct detail::PeerAccess;
    void UserToggled(bool checked);
    bool FChecked = false;
};

// A single-selection list of text items. The items are the stored bytes, shown readably.
class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;

    // Changing the items refreshes the list; the selection follows its item (a removed selected
    // item leaves no selection).
    TStrings& Items() { return FItems; }
    const TStrings& Items() const { return FItems; }
    int Count() const { return FItems.Count(); }
    void Clear() { FItems.Clear(); }

    // -1 when nothing is selected.
    int ItemIndex() const { return FItemIndex; }
    // An index outside 0..Count-1 selects nothing.
    void SetItemIndex(int value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    int TopIndex() const;

    // OnClick runs when the user changes the selection (mouse or keyboard).

protected:
    void ApplyColor() override;

private:
    friend struct detail::PeerAccess;
    struct Peer;
    void ItemsChanged();
    void ShowSelection();
    void UserSelected(int row);

    TStrings FItems;
    int FItemIndex = -1;
    int FItemHeight = 13;
    std::unique_ptr<Peer> FPeer;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    // What the user typed is stored as UTF-8.
    const std::string& Text() const { return Caption(); }
    void SetText(const std::string& value) { SetCaption(value); }
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);

    TNotifyEvent OnChange;

protected:
    void ApplyCaption() override;
    void ApplyColor() override;
    void CMTextChanged() override;

private:
    friend struct detail::PeerAccess;
    void UserEdited(const std::string& text);
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FFromUser = false;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* AOwner);

protected:
    void ApplyCaption() override;
};

enum TScrollBarKind { sbHorizontal, sbVertical };

// Position always lies within Min..Max.
class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    int PageSize() const { return FPageSize; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    void SetPageSize(int value);
    // Throws when Max < Min; clamps the position into the range.
    void SetParams(int APosition, int AMin, int AMax);
    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value);

    // After every change of Position, by the program or the user.
    TNotifyEvent OnChange;

private:
    friend struct detail::PeerAccess;
    void ApplyRange();
    void UserScrolled(int value);
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    TScrollBarKind FKind = sbHorizontal;
};

} // namespace vcl
