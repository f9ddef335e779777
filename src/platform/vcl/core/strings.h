// A list of text lines as the station lists and list boxes keep them. Items are the file's
// bytes, stored and written back unchanged; only a display peer converts them for showing.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vcl {

class TStrings {
public:
    TStrings() = default;
    // Copies the items; the copy has no OnChange handler of its own.
    TStrings(const TStrings& other) : FItems(other.FItems) {}
    // Same as Assign: the items change, the handler stays.
    TStrings& operator=(const TStrings& other);

    int Count() const { return static_cast<int>(FItems.size()); }
    // Throw EListError "List index out of bounds (%d)" when `index` is outside 0..Count-1.
    const std::string& Strings(int index) const;
    const std::string& operator[](int index) const { return Strings(index); }
    void Put(int index, std::string s);

    // Returns the index of the new item.
    int Add(std::string s);
    // `index` may be 0..Count; anything else throws EListError.
    void Insert(int index, std::string s);
    // Throws EListError when `index` is outside 0..Count-1.
    void Delete(int index);
    void Clear();
    // Exact byte comparison; -1 when not found.
    int IndexOf(std::string_view s) const;
    void Assign(const TStrings& source);

    // Every item followed by CR LF; an empty list gives empty text.
    std::string Text() const;
    // Cuts `text` into items at every CR LF, lone CR and lone LF. A last line without a line
    // end is an item, the line end after the last line adds no empty item, and a NUL byte ends
    // the text.
    void SetText(std::string_view text);

    // Replaces the items by the file's lines. Throws EFOpenError (full path and the system's
    // message) when the file cannot be read; the items are then left as they were.
    void LoadFromFile(const std::string& path);
    // Writes Text() to the file, replacing it as a whole (an empty list gives zero bytes).
    // Throws EFCreateError when the file cannot be written; the old file then stays intact.
    void SaveToFile(const std::string& path) const;

    // Batch several changes into one OnChange call at the matching EndUpdate.
    void BeginUpdate();
    void EndUpdate();

    std::vector<std::string>::const_iterator begin() const { return FItems.begin(); }
    std::vector<std::string>::const_iterator end() const { return FItems.end(); }

    // Runs after every change of the items (display peers refresh from it).
    std::function<void(TStrings* Sender)> OnChange;

private:
    void Changed();
    void CheckIndex(int index) const;

    std::vector<std::string> FItems;
    int FUpdateCount = 0;
    bool FChangedDuringUpdate = false;
};

using TStringList = TStrings;

} // namespace vcl
