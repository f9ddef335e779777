#include "platform/vcl/peers.h"
#include "platform/vcl/stdctrls.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QListView>

#include <algorithm>

namespace vcl {

namespace {

// The rows the view shows: a copy of the items as of the last refresh, converted for display
// only when a row is drawn (a list of thousands costs nothing until scrolled to).
class ListModel : public QAbstractListModel {
public:
    std::vector<std::string> Shown;
    int ItemHeight = 13;

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(Shown.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= static_cast<int>(Shown.size()))
            return {};
        if (role == Qt::DisplayRole)
            return detail::ToQString(Shown[static_cast<std::size_t>(index.row())]);
        if (role == Qt::SizeHintRole)
            return QSize(1, ItemHeight);
        return {};
    }
    void RemoveRows(int first, int count) {
        beginRemoveRows(QModelIndex(), first, first + count - 1);
        Shown.erase(Shown.begin() + first, Shown.begin() + first + count);
        endRemoveRows();
    }
    template <class It> void InsertRows(int first, It from, It to) {
        beginInsertRows(QModelIndex(), first, first + static_cast<int>(to - from) - 1);
        Shown.insert(Shown.begin() + first, from, to);
        endInsertRows();
    }
    void Relayout() {
        beginResetModel();
        endResetModel();
    }
};

} // namespace

struct TListBox::Peer {
    QListView* View = nullptr;
    ListModel Model;
    // Set while the program changes the view, so only the user's changes count as clicks.
    bool Updating = false;
};

TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner), FPeer(std::make_unique<Peer>()) {
    FWidth = 121;
    FHeight = 97;
    FTabStop = true;
    FColor = clWindow;
    auto* view = new QListView;
    FPeer->View = view;
    view->setModel(&FPeer->Model);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setUniformItemSizes(true);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (FPeer->Updating)
                             return;
                         const int row = current.isValid() ? current.row() : -1;
                         Guarded([this, row] { UserSelected(row); });
                     });
    AttachPeer(view);
    detail::ForwardEvents(this, view->viewport());
    FItems.OnChange = [this](TStrings*) { ItemsChanged(); };
}

TListBox::~TListBox() {
    FItems.OnChange = nullptr;
    if (FWidget)
        static_cast<QListView*>(FWidget)->setModel(nullptr);
}

int TListBox::TopIndex() const {
    const QModelIndex top = FPeer->View->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void TListBox::ApplyColor() {
    if (!FWidget)
        return;
    QPalette pal = FWidget->palette();
    pal.setColor(QPalette::Base, detail::ToQColor(EffectiveColor()));
    FWidget->setPalette(pal);
}

void TListBox::SetItemHeight(int value) {
    if (value <= 0 || value == FItemHeight)
        return;
    FItemHeight = value;
    FPeer->Model.ItemHeight = value;
    FPeer->Updating = true;
    FPeer->Model.Relayout();
    FPeer->Updating = false;
    ShowSelection();
}

void TListBox::SetItemIndex(int value) {
    FItemIndex = value >= 0 && value < FItems.Count() ? value : -1;
    ShowSelection();
}

void TListBox::ShowSelection() {
    QListView* view = FPeer->View;
    FPeer->Updating = true;
    if (FItemIndex < 0) {
        view->selectionModel()->clear();
    } else {
        const QModelIndex index = FPeer->Model.index(FItemIndex);
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(index);
    }
    FPeer->Updating = false;
}

void TListBox::UserSelected(int row) {
    if (row == FItemIndex)
        return;
    FItemIndex = row;
    Click();
}

void TListBox::ItemsChanged() {
    // Find what changed between the rows shown and the items now: the rows before and after the
    // change keep their identity, so a selection there follows its item.
    std::vector<std::string>& shown = FPeer->Model.Shown;
    const int oldCount = static_cast<int>(shown.size());
    const int newCount = FItems.Count();
    int prefix = 0;
    const int common = std::min(oldCount, newCount);
    while (prefix < common && shown[static_cast<std::size_t>(prefix)] == FItems[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < common - prefix &&
           shown[static_cast<std::size_t>(oldCount - 1 - suffix)] == FItems[newCount - 1 - suffix])
        ++suffix;
    const int removed = oldCount - prefix - suffix;
    const int inserted = newCount - prefix - suffix;

    int selection = FItemIndex;
    if (selection >= oldCount + 0 || selection < 0)
        selection = -1;
    else if (selection >= oldCount - suffix)
        selection += newCount - oldCount;
    else if (selection >= prefix && !(removed == 1 && inserted == 1))
        selection = -1; // the selected item itself went away

    FPeer->Updating = true;
    if (removed > 0)
        FPeer->Model.RemoveRows(prefix, removed);
    if (inserted > 0)
        FPeer->Model.InsertRows(prefix, FItems.begin() + prefix,
                                FItems.begin() + prefix + inserted);
    FPeer->Updating = false;
    FItemIndex = selection;
    ShowSelection();
}

} // namespace vcl
