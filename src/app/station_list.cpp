// The three station lists of the main window: the visible names, and the hidden names and URLs
// the player takes the stream address from. They hold the same stations in the same order.
#include "app/form1.h"

#include "platform/vcl/core/files.h"

using namespace vcl;

std::string TForm1::NamesPath() const {
    return JoinPath(StartDir, "names.txt");
}
std::string TForm1::UrlsPath() const {
    return JoinPath(StartDir, "sait.txt");
}

void TForm1::LoadStations() {
    ListBox2->Items().LoadFromFile(NamesPath());
    ListBox3->Items().LoadFromFile(UrlsPath());
    ListBox1->Items().Assign(ListBox2->Items());
}

void TForm1::CreateEmptyStationFiles() {
    TStrings empty;
    empty.SaveToFile(NamesPath());
    empty.SaveToFile(UrlsPath());
}

void TForm1::SelectStation(int index) {
    ListBox1->SetItemIndex(index);
    ListBox2->SetItemIndex(index);
    ListBox3->SetItemIndex(index);
}

void TForm1::ListBox1Click(TObject* /*Sender*/) {
    ListBox2->SetItemIndex(ListBox1->ItemIndex());
    ListBox3->SetItemIndex(ListBox1->ItemIndex());
}

void TForm1::ListBox1DblClick(TObject* /*Sender*/) {
    BitBtn1->Click();
}

void TForm1::AppendStation(const std::string& name, const std::string& url) {
    ListBox2->Items().Add(name);
    ListBox3->Items().Add(url);
    ListBox1->Items().Add(name);
}

namespace {
// Removes entry `index` keeping the selection on the same entry; a selected entry that goes
// away leaves nothing selected.
void DeleteKeepingSelection(TListBox& list, int index) {
    if (index < 0 || index >= list.Items().Count())
        return;
    const int selected = list.ItemIndex();
    list.Items().Delete(index);
    if (selected == index)
        list.SetItemIndex(-1);
    else if (selected > index)
        list.SetItemIndex(selected - 1);
    else
        list.SetItemIndex(selected);
}
} // namespace

void TForm1::DeleteStation(int index) {
    DeleteKeepingSelection(*ListBox1, index);
    DeleteKeepingSelection(*ListBox2, index);
    DeleteKeepingSelection(*ListBox3, index);
}
