#pragma once

#include <string>

// A link at `link` to the folder `target`, removed again with the object (the link
// only, never what it leads to): an NTFS junction where the system makes one; under
// Wine, which cannot, a symbolic link of the host, which Wine reports as a reparse
// point.
class DirectoryLink {
public:
    DirectoryLink(const std::wstring& link, const std::wstring& target);
    ~DirectoryLink();
    DirectoryLink(const DirectoryLink&) = delete;
    DirectoryLink& operator=(const DirectoryLink&) = delete;

    bool IsMade() const { return made_; }

private:
    std::wstring link_;
    bool hostLink_ = false;  // a link of the host rather than a junction
    bool made_ = false;
};
