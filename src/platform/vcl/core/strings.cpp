#include "platform/vcl/core/strings.h"

#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/core/files.h"

#include <algorithm>

namespace vcl {

TStrings& TStrings::operator=(const TStrings& other) {
    if (this != &other)
        Assign(other);
    return *this;
}

void TStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EListError::IndexOutOfBounds(index);
}

const std::string& TStrings::Strings(int index) const {
    CheckIndex(index);
    return FItems[static_cast<std::size_t>(index)];
}

void TStrings::Put(int index, std::string s) {
    CheckIndex(index);
    FItems[static_cast<std::size_t>(index)] = std::move(s);
    Changed();
}

int TStrings::Add(std::string s) {
    FItems.push_back(std::move(s));
    Changed();
    return Count() - 1;
}

void TStrings::Insert(int index, std::string s) {
    if (index < 0 || index > Count())
        throw EListError::IndexOutOfBounds(index);
    FItems.insert(FItems.begin() + index, std::move(s));
    Changed();
}

void TStrings::Delete(int index) {
    CheckIndex(index);
    FItems.erase(FItems.begin() + index);
    Changed();
}

void TStrings::Clear() {
    if (FItems.empty())
        return;
    FItems.clear();
    Changed();
}

int TStrings::IndexOf(std::string_view s) const {
    const auto it = std::find(FItems.begin(), FItems.end(), s);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TStrings::Assign(const TStrings& source) {
    if (this == &source)
        return;
    FItems = source.FItems;
    Changed();
}

std::string TStrings::Text() const {
    std::size_t size = 0;
    for (const auto& s : FItems)
        size += s.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& s : FItems) {
        text += s;
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);

    std::vector<std::string> items;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            items.emplace_back(text.substr(start));
            break;
        }
        items.emplace_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    FItems = std::move(items);
    Changed();
}

void TStrings::LoadFromFile(const std::string& path) {
    std::string bytes;
    if (auto err = ReadWholeFile(path, bytes))
        throw EFOpenError::ForFile(path, err.value());
    SetText(bytes);
}

void TStrings::SaveToFile(const std::string& path) const {
    if (auto err = WriteFileAtomically(path, Text()))
        throw EFCreateError::ForFile(path, err.value());
}

void TStrings::BeginUpdate() {
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount == 0)
        return;
    if (--FUpdateCount == 0 && FChangedDuringUpdate) {
        FChangedDuringUpdate = false;
        Changed();
    }
}

void TStrings::Changed() {
    if (FUpdateCount > 0) {
        FChangedDuringUpdate = true;
        return;
    }
    if (OnChange)
        OnChange(this);
}

} // namespace vcl
